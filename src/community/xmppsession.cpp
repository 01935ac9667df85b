#include "xmppsession.h"

#include "glooxpayload.h"
#include "xmpptls.h"
#include "xmpptransport.h"

#include <QRandomGenerator>

#include <gloox/client.h>
#include <gloox/disco.h>
#include <gloox/error.h>
#include <gloox/event.h>
#include <gloox/iq.h>
#include <gloox/message.h>
#include <gloox/presence.h>
#include <gloox/tag.h>

namespace {

constexpr char mucUserNs[] = "http://jabber.org/protocol/muc#user";
constexpr char delayNs[] = "urn:xmpp:delay";
// Extension types of our own start here, above the library's.
constexpr int firstType = gloox::ExtUser + 100;
constexpr int mucUserType = firstType;
constexpr int delayType = firstType + 1;
constexpr int subjectType = firstType + 2;
constexpr int firstCapturedType = firstType + 3;

// Any element the session was asked for, kept as the library parsed it.
class CapturedElement : public gloox::StanzaExtension
{
public:
    CapturedElement(int type, std::string filter, const gloox::Tag *tag = nullptr)
        : gloox::StanzaExtension(type)
        , filter_(std::move(filter))
        , tag_(tag ? tag->clone() : nullptr)
    { }
    const std::string &filterString() const override { return filter_; }
    gloox::StanzaExtension *newInstance(const gloox::Tag *tag) const override
    {
        return new CapturedElement(extensionType(), filter_, tag);
    }
    gloox::Tag *tag() const override { return tag_ ? tag_->clone() : nullptr; }
    gloox::StanzaExtension *clone() const override
    {
        return new CapturedElement(extensionType(), filter_, tag_.get());
    }
    const gloox::Tag *element() const { return tag_.get(); }

    // An element to send.
    static CapturedElement *carrying(const XmlPayload &payload)
    {
        auto *element = new CapturedElement(gloox::ExtUser, {});
        element->tag_.reset(GlooxPayload::toTag(payload));
        return element;
    }

private:
    std::string filter_;
    std::unique_ptr<gloox::Tag> tag_;
};

// The library's client, telling the transport where each stanza ends.
class BoundedClient : public gloox::Client
{
public:
    using gloox::Client::Client;
    XmppTransport *transport = nullptr;
    void handleTag(gloox::Tag *tag) override
    {
        if (transport)
            transport->stanzaDone();
        gloox::Client::handleTag(tag);
    }
};

std::string filter(const char *stanza, const QString &name, const QString &ns)
{
    return "/" + std::string(stanza) + "/" + name.toStdString() + "[@xmlns='" + ns.toStdString() + "']";
}

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString conditionName(const gloox::Error *error)
{
    if (!error)
        return QStringLiteral("undefined-condition");
    switch (error->error()) {
    case gloox::StanzaErrorConflict:
        return QStringLiteral("conflict");
    case gloox::StanzaErrorForbidden:
        return QStringLiteral("forbidden");
    case gloox::StanzaErrorNotAuthorized:
        return QStringLiteral("not-authorized");
    case gloox::StanzaErrorRegistrationRequired:
        return QStringLiteral("registration-required");
    case gloox::StanzaErrorServiceUnavailable:
        return QStringLiteral("service-unavailable");
    case gloox::StanzaErrorItemNotFound:
        return QStringLiteral("item-not-found");
    case gloox::StanzaErrorNotAllowed:
        return QStringLiteral("not-allowed");
    case gloox::StanzaErrorJidMalformed:
        return QStringLiteral("jid-malformed");
    case gloox::StanzaErrorNotAcceptable:
        return QStringLiteral("not-acceptable");
    case gloox::StanzaErrorResourceConstraint:
        return QStringLiteral("resource-constraint");
    case gloox::StanzaErrorFeatureNotImplemented:
        return QStringLiteral("feature-not-implemented");
    case gloox::StanzaErrorRecipientUnavailable:
        return QStringLiteral("recipient-unavailable");
    default:
        return QStringLiteral("undefined-condition");
    }
}

} // namespace

XmppSession::XmppSession(const Setup &setup, QObject *parent)
    : QObject(parent)
    , setup_(setup)
    , nextType_(firstCapturedType)
{
    gloox::JID jid;
    if (setup_.account.isEmpty()) {
        jid.setServer(setup_.domain.toStdString());
    } else {
        jid.setJID(setup_.account.toStdString());
        jid.setResource(
            "wendlewick-" + QString::number(QRandomGenerator::global()->generate(), 16).toStdString());
    }
    auto *client = new BoundedClient(jid, setup_.password.toStdString());
    client_.reset(client);
    transport_ = new XmppTransport(client,
        {setup_.host.isEmpty() ? setup_.domain : setup_.host, setup_.port, setup_.domain, setup_.authorities,
            setup_.connectTimeoutMs});
    client->transport = transport_;
    client_->setServer(setup_.domain.toStdString());
    client_->setConnectionImpl(transport_);
    client_->setEncryptionImpl(new XmppTls(client, transport_, setup_.domain.toStdString()));
    client_->setTls(gloox::TLSRequired);
    client_->setCompression(false);
    client_->disableRoster();
    client_->disco()->setVersion(setup_.clientName.toStdString(), "");
    client_->disco()->setIdentity("client", "pc", setup_.clientName.toStdString());
    client_->registerConnectionListener(this);
    client_->registerPresenceHandler(this);
    client_->registerMessageHandler(this);
    client_->registerStanzaExtension(
        new CapturedElement(mucUserType, "/presence/x[@xmlns='" + std::string(mucUserNs) + "']"));
    client_->registerStanzaExtension(
        new CapturedElement(delayType, "/message/delay[@xmlns='" + std::string(delayNs) + "']"));
    client_->registerStanzaExtension(new CapturedElement(subjectType, "/message/subject"));
}

XmppSession::~XmppSession()
{
    closing_ = true;
    for (const Query &q : std::as_const(queries_))
        delete q.timer;
    if (client_)
        client_->disconnect();
}

void XmppSession::capture(const QString &name, const QString &ns)
{
    const QString key = ns + QLatin1Char(' ') + name;
    if (capturedKeys_.contains(key))
        return;
    const int type = nextType_;
    nextType_ += 3;
    capturedKeys_.insert(key, type);
    captured_ << type << type + 1 << type + 2;
    client_->registerStanzaExtension(new CapturedElement(type, filter("presence", name, ns)));
    client_->registerStanzaExtension(new CapturedElement(type + 1, filter("message", name, ns)));
    client_->registerStanzaExtension(new CapturedElement(type + 2, filter("iq", name, ns)));
}

void XmppSession::open()
{
    reported_ = false;
    client_->connect(false);
}

void XmppSession::close()
{
    client_->disconnect();
}

QHostAddress XmppSession::serverAddress() const
{
    return transport_ ? transport_->peerAddress() : QHostAddress();
}

QString XmppSession::boundAddress() const
{
    return fromUtf8(client_->jid().full());
}

void XmppSession::sendPresence(const QString &to, bool available, const QList<XmlPayload> &payloads)
{
    if (!signedIn_)
        return;
    gloox::Presence presence(
        available ? gloox::Presence::Available : gloox::Presence::Unavailable, gloox::JID(to.toStdString()));
    for (const XmlPayload &payload : payloads)
        presence.addExtension(CapturedElement::carrying(payload));
    client_->send(presence);
}

void XmppSession::sendMessage(
    const QString &to, Message::Kind kind, const QString &body, const QList<XmlPayload> &payloads)
{
    if (!signedIn_)
        return;
    const gloox::Message::MessageType type = kind == Message::GroupChat ? gloox::Message::Groupchat
        : kind == Message::Normal                                       ? gloox::Message::Normal
                                                                        : gloox::Message::Chat;
    gloox::Message message(type, gloox::JID(to.toStdString()), body.toStdString());
    for (const XmlPayload &payload : payloads)
        message.addExtension(CapturedElement::carrying(payload));
    client_->send(message);
}

void XmppSession::query(const QString &to, bool set, const XmlPayload &request, QueryDone done, int timeoutMs)
{
    if (!signedIn_) {
        done(std::nullopt, QStringLiteral("not signed in"));
        return;
    }
    const int context = nextContext_++;
    gloox::IQ iq(set ? gloox::IQ::Set : gloox::IQ::Get, gloox::JID(to.toStdString()), client_->getID());
    iq.addExtension(CapturedElement::carrying(request));
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this,
        [this, context] { finishQuery(context, std::nullopt, QStringLiteral("no answer")); });
    queries_.insert(context, {std::move(done), timer});
    timer->start(timeoutMs);
    client_->send(iq, this, context);
}

void XmppSession::ping()
{
    if (signedIn_)
        client_->xmppPing(gloox::JID(setup_.domain.toStdString()), this);
}

void XmppSession::finishQuery(int context, const std::optional<XmlPayload> &reply, const QString &error)
{
    const auto it = queries_.find(context);
    if (it == queries_.end())
        return;
    Query q = it.value();
    queries_.erase(it);
    q.timer->deleteLater();
    q.done(reply, error);
}

void XmppSession::onConnect()
{
    transport_->signInDone();
    signedIn_ = true;
    Q_EMIT signedIn();
}

void XmppSession::onDisconnect(gloox::ConnectionError e)
{
    signedIn_ = false;
    if (closing_ || reported_)
        return;
    reported_ = true;
    for (auto it = queries_.begin(); it != queries_.end(); it = queries_.begin())
        finishQuery(it.key(), std::nullopt, QStringLiteral("the connection closed"));
    bool retry = false;
    const QString reason = closingReason(e, &retry);
    credentialsRefused_ = e == gloox::ConnAuthenticationFailed && !setup_.account.isEmpty();
    Q_EMIT closed(reason, retry);
}

QString XmppSession::closingReason(gloox::ConnectionError e, bool *retry) const
{
    const QString server = setup_.host.isEmpty() ? setup_.domain : setup_.host;
    *retry = true;
    switch (e) {
    case gloox::ConnUserDisconnected:
        *retry = false;
        return {};
    case gloox::ConnConnectionRefused:
        return QStringLiteral("%1 refused the connection: the server may be down, or the port wrong.")
            .arg(server);
    case gloox::ConnDnsError:
        return QStringLiteral("%1 could not be found on the internet.").arg(server);
    case gloox::ConnTlsFailed:
        *retry = false;
        return transport_->certificateProblem().isEmpty()
            ? QStringLiteral("No secure connection could be made with %1.").arg(server)
            : QStringLiteral("%1 could not prove it is the server it claims to be: its certificate %2.")
                  .arg(server, transport_->certificateProblem());
    case gloox::ConnTlsNotAvailable:
        *retry = false;
        return QStringLiteral(
            "%1 does not offer an encrypted connection, so the lobby does not sign in there.")
            .arg(server);
    case gloox::ConnAuthenticationFailed:
        *retry = false;
        return setup_.account.isEmpty()
            ? QStringLiteral("%1 does not let guests sign in: give an account in the internet settings.")
                  .arg(setup_.domain)
            : QStringLiteral("%1 refused the account %2: check the name and the password.")
                  .arg(setup_.domain, setup_.account);
    case gloox::ConnNoSupportedAuth:
        *retry = false;
        return setup_.account.isEmpty()
            ? QStringLiteral("%1 does not let guests sign in: give an account in the internet settings.")
                  .arg(setup_.domain)
            : QStringLiteral("%1 offers no way of signing in that the lobby knows.").arg(setup_.domain);
    case gloox::ConnParseError:
    case gloox::ConnStreamVersionError:
        return QStringLiteral("%1 sent something that is not XMPP; the connection was closed.").arg(server);
    case gloox::ConnStreamError:
        switch (client_->streamError()) {
        case gloox::StreamErrorHostUnknown:
            *retry = false;
            return QStringLiteral("%1 does not serve the domain %2.").arg(server, setup_.domain);
        case gloox::StreamErrorSystemShutdown:
            return QStringLiteral("%1 is shutting down.").arg(server);
        case gloox::StreamErrorConflict:
            return QStringLiteral("The same account signed in somewhere else.");
        case gloox::StreamErrorPolicyViolation:
            return QStringLiteral("%1 closed the connection: too much was sent too fast.").arg(server);
        case gloox::StreamErrorConnectionTimeout:
            return QStringLiteral("%1 closed the connection after a long silence.").arg(server);
        default: {
            const QString text = fromUtf8(client_->streamErrorText()).left(200);
            return text.isEmpty() ? QStringLiteral("%1 closed the connection.").arg(server)
                                  : QStringLiteral("%1 closed the connection: %2").arg(server, text);
        }
        }
    case gloox::ConnStreamClosed:
        return QStringLiteral("%1 closed the connection.").arg(server);
    default:
        if (transport_ && transport_->timedOut())
            return QStringLiteral("%1 did not answer.").arg(server);
        if (transport_ && transport_->tooLarge())
            return QStringLiteral("%1 sent more than the lobby takes at once; the connection was closed.")
                .arg(server);
        return signedIn_ || e == gloox::ConnIoError
            ? QStringLiteral("The connection to %1 was lost.").arg(server)
            : QStringLiteral("%1 did not answer.").arg(server);
    }
}

bool XmppSession::onTLSConnect(const gloox::CertInfo &info)
{
    // The socket has checked the certificate already.
    return info.status == gloox::CertOk;
}

QList<XmlPayload> XmppSession::payloadsOf(const gloox::Stanza &stanza) const
{
    QList<XmlPayload> payloads;
    QList<int> seen;
    for (const gloox::StanzaExtension *extension : stanza.extensions()) {
        if (seen.size() >= maxPayloads)
            break;
        if (!captured_.contains(extension->extensionType()) || seen.contains(extension->extensionType()))
            continue;
        seen.append(extension->extensionType());
        const auto *element = static_cast<const CapturedElement *>(extension)->element();
        if (std::optional<XmlPayload> payload = GlooxPayload::fromTag(element))
            payloads.append(std::move(*payload));
    }
    return payloads;
}

void XmppSession::handlePresence(const gloox::Presence &presence)
{
    Presence p;
    p.from = fromUtf8(presence.from().full());
    p.available
        = presence.subtype() != gloox::Presence::Unavailable && presence.subtype() != gloox::Presence::Error;
    if (presence.subtype() == gloox::Presence::Error)
        p.error = conditionName(presence.error());
    if (const auto *x = presence.findExtension<CapturedElement>(mucUserType); x && x->element()) {
        int seen = 0;
        for (const gloox::Tag *child : x->element()->children()) {
            if (++seen > 32)
                break;
            if (child->name() == "status") {
                bool ok = false;
                const int code = fromUtf8(child->findAttribute("code")).toInt(&ok);
                if (ok)
                    p.statusCodes.append(code);
            } else if (child->name() == "item") {
                p.newNick = fromUtf8(child->findAttribute("nick")).left(1024);
            } else if (child->name() == "destroy") {
                p.roomDestroyed = true;
            }
        }
    }
    p.payloads = payloadsOf(presence);
    Q_EMIT presenceReceived(p);
}

void XmppSession::handleMessage(const gloox::Message &message, gloox::MessageSession *)
{
    Message m;
    m.from = fromUtf8(message.from().full());
    switch (message.subtype()) {
    case gloox::Message::Groupchat:
        m.kind = Message::GroupChat;
        break;
    case gloox::Message::Error:
        m.kind = Message::Error;
        m.error = conditionName(message.error());
        break;
    case gloox::Message::Normal:
        m.kind = Message::Normal;
        break;
    default:
        m.kind = Message::Chat;
        break;
    }
    m.body = fromUtf8(message.body());
    m.subject = fromUtf8(message.subject());
    m.hasSubject = message.findExtension(subjectType) != nullptr;
    for (const gloox::StanzaExtension *extension : message.extensions()) {
        if (extension->extensionType() != delayType || m.delayedBy.size() >= 4)
            continue;
        if (const gloox::Tag *delay = static_cast<const CapturedElement *>(extension)->element())
            m.delayedBy.append(fromUtf8(delay->findAttribute("from")).left(1024));
    }
    m.payloads = payloadsOf(message);
    Q_EMIT messageReceived(m);
}

void XmppSession::handleEvent(const gloox::Event &event)
{
    if (event.eventType() == gloox::Event::PingPong || event.eventType() == gloox::Event::PingError)
        Q_EMIT pong();
}

bool XmppSession::handleIq(const gloox::IQ &)
{
    return false;
}

void XmppSession::handleIqID(const gloox::IQ &iq, int context)
{
    if (iq.subtype() == gloox::IQ::Error) {
        finishQuery(context, std::nullopt, conditionName(iq.error()));
        return;
    }
    const QList<XmlPayload> payloads = payloadsOf(iq);
    finishQuery(context, payloads.isEmpty() ? std::nullopt : std::optional<XmlPayload>(payloads.first()),
        payloads.isEmpty() ? QStringLiteral("an empty answer") : QString());
}
