#pragma once

#include "xmlpayload.h"

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <gloox/connectionlistener.h>
#include <gloox/eventhandler.h>
#include <gloox/iqhandler.h>
#include <gloox/messagehandler.h>
#include <gloox/presencehandler.h>

#include <functional>
#include <memory>
#include <optional>

namespace gloox {
class Client;
}
class XmppTransport;

// One XMPP connection, signed in with an account or as a guest (SASL ANONYMOUS),
// always encrypted (TLS, the server's certificate checked against the given
// authorities). Presences and messages come out as plain structures carrying only
// the elements asked for with capture(); everything runs on Qt's event loop.
//
// Delete it with deleteLater() when it has closed: the library may still be on the
// stack when closed() is emitted.
class XmppSession : public QObject,
                    private gloox::ConnectionListener,
                    private gloox::PresenceHandler,
                    private gloox::MessageHandler,
                    private gloox::EventHandler,
                    private gloox::IqHandler
{
    Q_OBJECT

public:
    struct Setup
    {
        QString domain; // signed in at (a guest's domain, or the account's)
        QString account; // "name@domain"; empty: a guest
        QString password;
        QString host; // connected to; empty: the domain
        quint16 port = 0; // 0: the domain's SRV record, else 5222
        QList<QSslCertificate> authorities; // trusted for the server's certificate; empty: the system's
        int connectTimeoutMs = 20000;
        QString clientName = QStringLiteral("Wendlewick");
    };

    struct Presence
    {
        QString from; // full address: room@service/nick
        bool available = true;
        // Set on an error presence: the condition's name ("conflict", "forbidden"...).
        QString error;
        // Multi-user chat status codes (110 this is you, 303 new nick, 307 kicked...).
        QList<int> statusCodes;
        QString newNick; // with 303
        bool roomDestroyed = false;
        QList<XmlPayload> payloads;
    };

    struct Message
    {
        enum Kind { Chat, GroupChat, Normal, Error };
        QString from;
        Kind kind = Chat;
        QString body;
        QString subject;
        bool hasSubject = false; // a subject element, even an empty one
        // Who each delay element (XEP-0203) claims delayed the message, the first few.
        // A sender may add its own: only the room's, before its subject, marks history.
        QStringList delayedBy;
        QString error;
        QList<XmlPayload> payloads;
    };

    // Gets the reply element, or an error sentence.
    using QueryDone = std::function<void(const std::optional<XmlPayload> &reply, const QString &error)>;

    explicit XmppSession(const Setup &setup, QObject *parent = nullptr);
    ~XmppSession() override;

    // A stanza keeps at most this many captured elements, the first of each kind.
    static constexpr int maxPayloads = 4;

    // Incoming presences, messages and query results keep elements `name` in `ns`
    // (the first of its kind in each).
    void capture(const QString &name, const QString &ns);
    void open();
    // Ends the stream; closed() follows with an empty reason.
    void close();
    bool isSignedIn() const { return signedIn_; }
    // After closed(): whether the server refused the account or its password.
    bool credentialsRefused() const { return credentialsRefused_; }
    QHostAddress serverAddress() const;
    // Our own address as the server gave it (name@domain/resource).
    QString boundAddress() const;

    void sendPresence(const QString &to, bool available, const QList<XmlPayload> &payloads);
    void sendMessage(
        const QString &to, Message::Kind kind, const QString &body, const QList<XmlPayload> &payloads);
    // Sends `request` in an IQ of type get (or set) to `to`; `done` gets the reply's
    // element named as captured, or an error once the server refused or timeoutMs passed.
    void query(const QString &to, bool set, const XmlPayload &request, QueryDone done, int timeoutMs = 10000);
    // An XMPP ping to the server; pong() follows while it answers.
    void ping();

Q_SIGNALS:
    void signedIn();
    // The connection is over: `reason` says why in a sentence (empty when close() asked),
    // `retry` whether trying again later may help.
    void closed(const QString &reason, bool retry);
    void presenceReceived(const XmppSession::Presence &presence);
    void messageReceived(const XmppSession::Message &message);
    void pong();

private:
    void onConnect() override;
    void onDisconnect(gloox::ConnectionError e) override;
    bool onTLSConnect(const gloox::CertInfo &info) override;
    void handlePresence(const gloox::Presence &presence) override;
    void handleMessage(const gloox::Message &message, gloox::MessageSession *session) override;
    void handleEvent(const gloox::Event &event) override;
    bool handleIq(const gloox::IQ &iq) override;
    void handleIqID(const gloox::IQ &iq, int context) override;

    QList<XmlPayload> payloadsOf(const gloox::Stanza &stanza) const;
    QString closingReason(gloox::ConnectionError e, bool *retry) const;
    void finishQuery(int context, const std::optional<XmlPayload> &reply, const QString &error);

    struct Query
    {
        QueryDone done;
        QTimer *timer;
    };

    Setup setup_;
    std::unique_ptr<gloox::Client> client_;
    XmppTransport *transport_ = nullptr; // owned by client_
    QList<int> captured_; // extension types of the captured elements
    QHash<QString, int> capturedKeys_; // "ns name" -> type
    int nextType_;
    QHash<int, Query> queries_;
    int nextContext_ = 1;
    bool signedIn_ = false;
    bool credentialsRefused_ = false;
    bool closing_ = false;
    bool reported_ = false;
};

Q_DECLARE_METATYPE(XmppSession::Presence)
Q_DECLARE_METATYPE(XmppSession::Message)
