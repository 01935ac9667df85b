#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class RoomClient;
class StunProbe;

// Finds the address at which players on the internet reach this computer, asking
// nobody but the community's own server: first what the server sees (XEP-0279, server
// IP check), else what a STUN server that it lists sees (XEP-0215, external service
// discovery). An address that no player could reach (GameLink::addressProblem) is not
// taken; loopback only while the server itself is on loopback.
class AddressFinder : public QObject
{
    Q_OBJECT

public:
    static inline const QString ipCheckNs = QStringLiteral("urn:xmpp:sic:1");

    // Names the reply elements to `client` (call before it signs in).
    explicit AddressFinder(RoomClient &client, QObject *parent = nullptr);
    ~AddressFinder() override;

    // Asks (the client must be signed in); found() or failed() follows.
    void find();
    bool isFinding() const { return finding_; }

Q_SIGNALS:
    // `how` says where it came from, for the log and the status line.
    void found(const QString &address, const QString &how);
    void failed(const QString &reason);

private:
    void askServices();
    void take(const QString &address, const QString &how, const QString &otherwise);
    void fail(const QString &reason);

    QPointer<RoomClient> client_;
    StunProbe *stun_ = nullptr;
    QString stunServer_;
    bool finding_ = false;
};
