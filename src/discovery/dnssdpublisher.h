#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// Publishes one game as the DNS-SD service `_wendlewick._tcp` where the Avahi daemon
// runs, so that the desktop's standard tools list it. Without the daemon, or in a
// build without Avahi, it does nothing and says nothing: the lobby finds games by its
// own discovery datagrams.
class DnsSdPublisher : public QObject
{
    Q_OBJECT

public:
    static inline const char serviceType[] = "_wendlewick._tcp";

    explicit DnsSdPublisher(QObject *parent = nullptr);
    ~DnsSdPublisher() override;

    // Whether this build can publish at all.
    static bool isBuiltIn();

    // Publishes the service `name` on `port` with the TXT entries ("key=value"); a
    // later call with the same name and port only replaces the TXT entries. A name
    // taken by another service is replaced by the next alternative ("name #2").
    void publish(const QString &name, quint16 port, const QList<QByteArray> &txt);
    // Takes the service off the network.
    void withdraw();
    // True once the daemon confirmed the service.
    bool isPublished() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
