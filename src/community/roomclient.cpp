#include "roomclient.h"

#include <QRandomGenerator>

namespace {

constexpr char mucNs[] = "http://jabber.org/protocol/muc";

QString joinSentence(const QString &error, const QString &room, const QString &server, const QString &nick)
{
    if (error == QLatin1String("not-authorized"))
        return QStringLiteral("The room %1 asks for a password.").arg(room);
    if (error == QLatin1String("forbidden"))
        return QStringLiteral("You are banned from the room %1.").arg(room);
    if (error == QLatin1String("registration-required"))
        return QStringLiteral("The room %1 lets in its members only.").arg(room);
    if (error == QLatin1String("service-unavailable"))
        return QStringLiteral("The room %1 is full.").arg(room);
    if (error == QLatin1String("item-not-found") || error == QLatin1String("not-allowed")
        || error == QLatin1String("remote-server-not-found"))
        return QStringLiteral("There is no room %1 on %2.").arg(room, server);
    if (error == QLatin1String("jid-malformed") || error == QLatin1String("not-acceptable"))
        return QStringLiteral(
            "The room refused the name \u201c%1\u201d: choose another in the internet settings.")
            .arg(nick);
    return QStringLiteral("The room %1 did not let you in (%2).").arg(room, error);
}

} // namespace

RoomClient::RoomClient(QObject *parent)
    : QObject(parent)
    , chatGate_(Rates().chat, maxOccupants)
    , directGate_(Rates().direct, maxOccupants)
    , presenceGate_(Rates().presence, maxOccupants)
{
    clock_.start();
    for (QTimer *timer : {&retryTimer_, &pongTimer_, &pendingTimer_})
        timer->setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &RoomClient::connectNow);
    connect(&pingTimer_, &QTimer::timeout, this, [this] {
        if (!session_ || pongTimer_.isActive())
            return;
        session_->ping();
        pongTimer_.start(timing_.pingTimeoutMs);
    });
    connect(&pongTimer_, &QTimer::timeout, this, [this] {
        lose(state_ == State::Joining
                ? QStringLiteral("The room %1 did not answer.").arg(account_.roomAddress())
                : QStringLiteral("The connection to %1 stopped answering.").arg(account_.domain),
            true);
    });
    connect(&pendingTimer_, &QTimer::timeout, this, &RoomClient::flushPending);
}

RoomClient::~RoomClient()
{
    if (session_)
        session_->disconnect(this);
    delete session_;
}

void RoomClient::setRates(const Rates &rates)
{
    chatGate_ = FloodGate(rates.chat, maxOccupants);
    directGate_ = FloodGate(rates.direct, maxOccupants);
    presenceGate_ = FloodGate(rates.presence, maxOccupants);
}

void RoomClient::capture(const QString &name, const QString &ns)
{
    const std::pair<QString, QString> key {name, ns};
    if (captured_.contains(key))
        return;
    captured_.append(key);
    if (session_)
        session_->capture(name, ns);
}

void RoomClient::start(const CommunityAccount &account)
{
    stop();
    account_ = account;
    nickAttempt_ = 1;
    nick_ = account_.nick;
    retryDelayMs_ = 0;
    connectNow();
}

void RoomClient::connectNow()
{
    retryTimer_.stop();
    XmppSession::Setup setup;
    setup.domain = account_.signInDomain();
    setup.account = account_.account;
    setup.password = account_.password;
    setup.host = account_.host;
    setup.port = account_.port;
    setup.authorities = account_.authorities;
    setup.connectTimeoutMs = timing_.connectTimeoutMs;
    session_ = new XmppSession(setup, this);
    for (const auto &[name, ns] : std::as_const(captured_))
        session_->capture(name, ns);
    connect(session_, &XmppSession::signedIn, this, &RoomClient::signedIn);
    connect(session_, &XmppSession::closed, this, &RoomClient::closed);
    connect(session_, &XmppSession::presenceReceived, this, &RoomClient::presence);
    connect(session_, &XmppSession::messageReceived, this, &RoomClient::message);
    connect(session_, &XmppSession::pong, &pongTimer_, &QTimer::stop);
    setState(State::Connecting);
    setStatus(QStringLiteral("Signing in to %1\u2026").arg(account_.domain), false);
    session_->open();
}

void RoomClient::signedIn()
{
    historyOpen_ = true;
    setState(State::Joining);
    setStatus(QStringLiteral("Joining the room %1\u2026").arg(account_.roomAddress()), false);
    pingTimer_.start(timing_.pingIntervalMs);
    // The room must answer the join as soon as the server would a ping.
    pongTimer_.start(timing_.connectTimeoutMs);
    joinRoom();
}

void RoomClient::joinRoom()
{
    nick_ = nickAttempt_ > 1 ? QStringLiteral("%1 (%2)").arg(account_.nick).arg(nickAttempt_) : account_.nick;
    sendOwnPresence(true);
}

void RoomClient::sendOwnPresence(bool join)
{
    if (!session_)
        return;
    QList<XmlPayload> payloads = ownPayloads_;
    if (join) {
        XmlPayload history {QStringLiteral("history"), {},
            {{QStringLiteral("maxstanzas"), QString::number(historyLines)}}, {}, {}};
        payloads.prepend(XmlPayload {QStringLiteral("x"), QString::fromLatin1(mucNs), {}, {}, {history}});
    }
    session_->sendPresence(account_.roomAddress() + QLatin1Char('/') + nick_, true, payloads);
}

void RoomClient::setPresencePayload(const XmlPayload &payload)
{
    ownPayloads_.removeIf(
        [&payload](const XmlPayload &p) { return p.name == payload.name && p.ns == payload.ns; });
    ownPayloads_.append(payload);
    if (state_ == State::InRoom)
        sendOwnPresence(false);
}

void RoomClient::clearPresencePayload(const QString &name, const QString &ns)
{
    if (ownPayloads_.removeIf([&](const XmlPayload &p) { return p.name == name && p.ns == ns; }) > 0
        && state_ == State::InRoom)
        sendOwnPresence(false);
}

bool RoomClient::sendRoomMessage(const QString &text)
{
    const QString line = text.trimmed().left(maxTextChars);
    if (state_ != State::InRoom || line.isEmpty())
        return false;
    session_->sendMessage(account_.roomAddress(), XmppSession::Message::GroupChat, line, {});
    return true;
}

bool RoomClient::sendDirect(const QString &nick, const QString &text, const QList<XmlPayload> &payloads)
{
    if (state_ != State::InRoom || !occupants_.contains(nick))
        return false;
    session_->sendMessage(account_.roomAddress() + QLatin1Char('/') + nick, XmppSession::Message::Chat,
        text.left(maxTextChars), payloads);
    return true;
}

void RoomClient::query(const XmlPayload &request, XmppSession::QueryDone done, bool toDomain)
{
    if (!session_ || !session_->isSignedIn()) {
        done(std::nullopt, QStringLiteral("not signed in"));
        return;
    }
    session_->query(toDomain ? account_.signInDomain() : QString(), false, request, std::move(done));
}

QHostAddress RoomClient::serverAddress() const
{
    return session_ ? session_->serverAddress() : QHostAddress();
}

QString RoomClient::nickOf(const QString &from) const
{
    const qsizetype slash = from.indexOf(QLatin1Char('/'));
    const QString bare = slash < 0 ? from : from.left(slash);
    if (bare.compare(account_.roomAddress(), Qt::CaseInsensitive) != 0)
        return QStringLiteral("/"); // not the room's: no nick can be "/"
    return slash < 0 ? QString() : from.mid(slash + 1);
}

bool RoomClient::acceptableNick(const QString &nick)
{
    if (nick.isEmpty() || nick.size() > maxNickChars)
        return false;
    return std::none_of(
        nick.begin(), nick.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

void RoomClient::presence(const XmppSession::Presence &p)
{
    const QString nick = nickOf(p.from);
    if (nick == QLatin1String("/") || nick.isEmpty())
        return;
    const bool self = nick == nick_ || p.statusCodes.contains(110);

    if (!p.error.isEmpty()) {
        if (!self || state_ != State::Joining)
            return;
        if (p.error == QLatin1String("conflict") && nickAttempt_ < 9) {
            ++nickAttempt_;
            joinRoom();
            return;
        }
        const bool retry = p.error == QLatin1String("service-unavailable");
        lose(p.error == QLatin1String("conflict")
                ? QStringLiteral(
                    "The name \u201c%1\u201d is taken in the room: choose another in the internet "
                    "settings.")
                      .arg(account_.nick)
                : joinSentence(p.error, account_.roomAddress(), account_.domain, nick_),
            retry);
        return;
    }

    if (!p.available) {
        if (p.statusCodes.contains(303) && acceptableNick(p.newNick)) {
            for (FloodGate *gate : {&chatGate_, &directGate_, &presenceGate_})
                gate->rename(nick, p.newNick);
            occupantGone(nick);
            if (self)
                nick_ = p.newNick;
            return;
        }
        if (self && state_ == State::InRoom) {
            if (p.statusCodes.contains(307))
                lose(QStringLiteral("A moderator removed you from the room."), false);
            else if (p.statusCodes.contains(301))
                lose(QStringLiteral("A moderator banned you from the room."), false);
            else if (p.statusCodes.contains(321) || p.statusCodes.contains(322))
                lose(QStringLiteral("The room now lets in its members only."), false);
            else if (p.roomDestroyed)
                lose(QStringLiteral("The room %1 was closed.").arg(account_.roomAddress()), true);
            else
                lose(QStringLiteral("The room %1 let you go.").arg(account_.roomAddress()), true);
            return;
        }
        occupantGone(nick);
        return;
    }

    if (!acceptableNick(nick))
        return;
    Occupant occupant {nick, p.payloads};
    const bool known = occupants_.contains(nick);
    if (self) {
        if (state_ == State::Joining) {
            nick_ = nick;
            pongTimer_.stop();
            inRoomSince_ = clock_.elapsed();
            setState(State::InRoom);
            setStatus(QStringLiteral("In the room %1 as \u201c%2\u201d.").arg(account_.roomAddress(), nick_),
                false);
        }
    } else if (!known && occupants_.size() >= maxOccupants) {
        return;
    } else if (!presenceGate_.allow(nick, clock_.elapsed())) {
        // The last word of a flood stands; the words before it are dropped.
        if (!known)
            return;
        ++dropped_;
        pending_.insert(nick, occupant);
        if (!pendingTimer_.isActive())
            pendingTimer_.start(int(presenceGate_.waitFor(nick, clock_.elapsed())));
        return;
    }
    pending_.remove(nick);
    occupants_.insert(nick, occupant);
    Q_EMIT occupantUpdated(occupant);
}

void RoomClient::flushPending()
{
    const qint64 now = clock_.elapsed();
    qint64 nextWait = -1;
    for (auto it = pending_.begin(); it != pending_.end();) {
        const qint64 wait = presenceGate_.waitFor(it.key(), now);
        if (wait > 0) {
            nextWait = nextWait < 0 ? wait : std::min(nextWait, wait);
            ++it;
            continue;
        }
        presenceGate_.allow(it.key(), now);
        const Occupant occupant = it.value();
        it = pending_.erase(it);
        occupants_.insert(occupant.nick, occupant);
        Q_EMIT occupantUpdated(occupant);
    }
    if (nextWait > 0)
        pendingTimer_.start(int(nextWait));
}

void RoomClient::occupantGone(const QString &nick)
{
    pending_.remove(nick);
    // Gates remember a leaver that has not refilled: leaving and coming back (or
    // taking another name) gains no words.
    const qint64 now = clock_.elapsed();
    for (FloodGate *gate : {&chatGate_, &directGate_, &presenceGate_})
        gate->forget(nick, now);
    if (occupants_.remove(nick))
        Q_EMIT occupantLeft(nick);
}

void RoomClient::message(const XmppSession::Message &m)
{
    const QString nick = nickOf(m.from);
    if (nick == QLatin1String("/"))
        return;
    switch (m.kind) {
    case XmppSession::Message::GroupChat: {
        if (m.hasSubject) {
            // The room sends its history after our own presence and before the subject.
            historyOpen_ = false;
            Q_EMIT subjectChanged(m.subject.left(maxTextChars));
        }
        if (nick.isEmpty() || m.body.isEmpty() || !acceptableNick(nick))
            return;
        const bool history
            = historyOpen_ && m.delayedBy.contains(account_.roomAddress(), Qt::CaseInsensitive);
        if (!history && nick != nick_ && !chatGate_.allow(nick, clock_.elapsed())) {
            ++dropped_;
            return;
        }
        Q_EMIT roomMessage(nick, m.body.left(maxTextChars), history);
        return;
    }
    case XmppSession::Message::Chat:
    case XmppSession::Message::Normal:
        if (!occupants_.contains(nick) || nick == nick_)
            return;
        if (!directGate_.allow(nick, clock_.elapsed())) {
            ++dropped_;
            return;
        }
        Q_EMIT directMessage(nick, m.body.left(maxTextChars), m.payloads);
        return;
    case XmppSession::Message::Error:
        return;
    }
}

void RoomClient::closed(const QString &reason, bool retry)
{
    const bool refused = session_ && session_->credentialsRefused();
    lose(reason, retry);
    if (refused)
        Q_EMIT credentialsRefused();
}

void RoomClient::lose(const QString &reason, bool retry)
{
    if (XmppSession *session = session_.data()) {
        session_ = nullptr;
        session->disconnect(this);
        if (session->isSignedIn())
            session->close();
        session->deleteLater();
    }
    pingTimer_.stop();
    pongTimer_.stop();
    pendingTimer_.stop();
    pending_.clear();
    historyOpen_ = false;
    const QStringList nicks = occupants_.keys();
    for (const QString &nick : nicks)
        occupantGone(nick);
    chatGate_.clear();
    directGate_.clear();
    presenceGate_.clear();
    if (state_ == State::Off)
        return;
    if (!retry) {
        setState(State::Off);
        setStatus(reason, !reason.isEmpty());
        return;
    }
    // A seat that held for a minute starts again from the shortest wait.
    if (inRoomSince_ >= 0 && clock_.elapsed() - inRoomSince_ > 60000)
        retryDelayMs_ = 0;
    inRoomSince_ = -1;
    retryDelayMs_ = retryDelayMs_ ? std::min(retryDelayMs_ * 2, timing_.retryMaxMs) : timing_.retryFirstMs;
    const int wait = int(retryDelayMs_ * (0.75 + 0.5 * QRandomGenerator::global()->generateDouble()));
    nickAttempt_ = 1;
    setState(State::Waiting);
    const int seconds = std::max(1, (wait + 500) / 1000);
    setStatus(seconds == 1 ? QStringLiteral("%1 Trying again in a second.").arg(reason)
                           : QStringLiteral("%1 Trying again in %2 seconds.").arg(reason).arg(seconds),
        true);
    retryTimer_.start(wait);
}

void RoomClient::stop()
{
    retryTimer_.stop();
    if (state_ == State::Off)
        return;
    if (session_ && state_ == State::InRoom)
        session_->sendPresence(account_.roomAddress() + QLatin1Char('/') + nick_, false, {});
    setState(State::Off);
    lose(QString(), false);
    setStatus(QStringLiteral("Signed out."), false);
}

void RoomClient::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    Q_EMIT stateChanged(state);
}

void RoomClient::setStatus(const QString &text, bool problem)
{
    status_ = text;
    Q_EMIT statusChanged(text, problem);
}
