#include "tserver.h"

#include "boardsolver.h"
#include "fieldreader.h"
#include "hostenvironment.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>

namespace {

const QString socketClosed = QStringLiteral("Socket Closed");

bool adjacent(const Wire::Tile &a, const Wire::Tile &b)
{
    const int dr = std::abs(a.row - b.row);
    const int dc = std::abs(a.col - b.col);
    return dr <= 1 && dc <= 1 && (dr | dc) != 0;
}

// Countdowns stay far from the ends of int, so that "countdown - 5" and the like
// never overflow whatever the options say.
int clampSeconds(qint64 seconds)
{
    return int(std::clamp<qint64>(seconds, 0, 100'000'000));
}

// Milliseconds for a QTimer: `seconds` host seconds, within what a timer takes.
int timerMs(qint64 seconds, int secondMs)
{
    return int(std::clamp<qint64>(seconds * secondMs, 0, std::numeric_limits<int>::max()));
}

// Equal tokens, compared in a time that does not depend on where they differ.
bool sameToken(const Wire::RejoinToken &a, const Wire::RejoinToken &b)
{
    quint8 difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= quint8(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

TServer::TServer(HostEnvironment &environment, UniformDraw draw, QObject *parent)
    : QObject(parent)
    , env_(environment)
    , draw_(std::move(draw))
{
    const char *spare[] = {"Klot", "Klock", "Kling", "Klick", "Krazy"};
    for (int s = 2; s <= 6; ++s)
        slotRef(s).spareName = spare[s - 2];
    for (int s = 1; s <= Wire::slotCount; ++s) {
        TPlayerSlot &p = slotRef(s);
        p.loginTimer = new QTimer(this);
        p.loginTimer->setSingleShot(true);
        connect(p.loginTimer, &QTimer::timeout, this, [this, s] {
            // A return whose login does not come counts as another drop.
            if (slotRef(s).inUse && slotRef(s).returning)
                disconnectsock(s, true);
            else if (slotRef(s).inUse && !slotRef(s).loggedIn)
                disconnectsock(s);
        });
        p.graceTimer = new QTimer(this);
        p.graceTimer->setSingleShot(true);
        connect(p.graceTimer, &QTimer::timeout, this, [this, s] { graceOver(s); });
    }
    tokens_ = [] {
        Wire::RejoinToken token;
        QRandomGenerator::system()->generate(token.begin(), token.end());
        return token;
    };
    socktimer.setSingleShot(true);
    socktimer.setTimerType(Qt::PreciseTimer);
    connect(&socktimer, &QTimer::timeout, this, &TServer::socktimerTimer);
    timer1.setInterval(secondMs_);
    connect(&timer1, &QTimer::timeout, this, &TServer::timer1Timer);
    heartbeatTimer_.setInterval(heartbeat_.intervalMs);
    connect(&heartbeatTimer_, &QTimer::timeout, this, &TServer::heartbeatTimer);
    connect(this, &TServer::playerAdmitted, this, &TServer::summaryChanged);
    connect(this, &TServer::playerLeft, this, &TServer::summaryChanged);
    connect(this, &TServer::gameStarted, this, &TServer::summaryChanged);
    connect(this, &TServer::winnerDeclared, this, &TServer::summaryChanged);
}

TServer::~TServer()
{
    timer1.stop();
    socktimer.stop();
    // Whoever is still connected is told not to come back; their connections close
    // with this object, after what was sent has gone out. Nobody hears of it.
    const QSignalBlocker quiet(this);
    if (!std::exchange(closing_, true))
        sendToAll(Wire::ToPlayer::hostclosing());
}

void TServer::setSecondLength(int milliseconds)
{
    secondMs_ = std::max(1, milliseconds);
    timer1.setInterval(secondMs_);
}

void TServer::setDispatchInterval(int milliseconds)
{
    dispatchMs_ = std::max(0, milliseconds);
}

void TServer::setInputLimits(const InputBuffer::Limits &limits)
{
    inputLimits_ = limits;
}

void TServer::setGraceSeconds(int seconds)
{
    graceSeconds_ = std::clamp(seconds, 0, maxGraceSeconds);
}

void TServer::setHeartbeat(const Heartbeat &heartbeat)
{
    heartbeat_ = heartbeat;
    heartbeat_.intervalMs = std::max(1, heartbeat_.intervalMs);
    heartbeatTimer_.setInterval(heartbeat_.intervalMs);
}

void TServer::heartbeatTimer()
{
    // Runs only while some connection beats: a host of older copies, or of nobody, idles.
    bool anyBeats = false;
    for (int s = 1; s <= highest_; ++s) {
        TPlayerSlot &p = slotRef(s);
        if (!p.inUse || !p.socket || !p.beats)
            continue;
        anyBeats = true;
        // Silence during a game: the network went away without a word.
        if (gameRunning_ && p.heard.isValid() && p.heard.elapsed() > heartbeat_.silenceMs) {
            disconnectsock(s, true);
            continue;
        }
        sendTo(s, Wire::ToPlayer::stillhere(s));
    }
    if (!anyBeats)
        heartbeatTimer_.stop();
}

void TServer::listen(quint16 port, const QHostAddress &address)
{
    if (Sock1 && Sock1->Listen())
        return;
    auto *sock = new TSock(this);
    sock->setPortName(QString::number(port));
    sock->setBindAddress(address);
    connect(sock, &TSock::OnAccept, this, &TServer::Sock1Accept);
    try {
        sock->setListen(true);
    } catch (...) {
        delete sock;
        throw;
    }
    delete Sock1;
    Sock1 = sock;
}

quint16 TServer::port() const
{
    return Sock1 ? Sock1->localPort() : 0;
}

void TServer::shutdown()
{
    timer1.stop();
    socktimer.stop();
    closing_ = true;
    sendToAll(Wire::ToPlayer::hostclosing());
    for (int s = 1; s <= Wire::slotCount; ++s) {
        TPlayerSlot &p = slotRef(s);
        detach(s);
        p.inUse = false;
        p.away = false;
        p.token.reset();
        p.previousToken.reset();
        p.graceTimer->stop();
    }
    while (!knocks_.empty())
        dropKnock(knocks_.front().sock, true);
    arrivals_.clear();
    if (Sock1)
        Sock1->setListen(false);
}

// --- Connections -------------------------------------------------------------

void TServer::Sock1Accept()
{
    int chosen = 0;
    for (int s = 1; s <= highest_ && !chosen; ++s)
        if (!slotRef(s).inUse)
            chosen = s;
    if (!chosen && highest_ < Wire::slotCount)
        chosen = highest_ + 1;

    if (!chosen) {
        TSock *refused = Sock1->Accept(this);
        if (!refused)
            return;
        try {
            refused->Send(Wire::ToPlayer::full());
        } catch (const ESockException &) { }
        // Every connection that finds the game full is told so at once and waits the
        // same, held seats or not: a returning player's token comes right after.
        if (int(knocks_.size()) >= maxKnocks || closing_) {
            refused->Close();
            refused->deleteLater();
            Q_EMIT connectionRefused();
            return;
        }
        Knock knock;
        knock.sock = refused;
        knock.input = InputBuffer({256, 4, 1024});
        knock.timer = new QTimer(this);
        knock.timer->setSingleShot(true);
        connect(knock.timer, &QTimer::timeout, this, [this, refused] {
            dropKnock(refused, true);
            Q_EMIT connectionRefused();
        });
        knock.timer->start(knockMs);
        connect(refused, &TSock::OnRead, this, &TServer::knockRead);
        connect(refused, &TSock::OnInfo, this, [this](TSock *sock, TSocketInfo kind, const QString &text) {
            if (kind == TSocketInfo::siClose && text == socketClosed)
                dropKnock(sock, false);
        });
        knocks_.push_back(std::move(knock));
        return;
    }

    TSock *sock = Sock1->Accept(this);
    if (!sock)
        return;
    highest_ = std::max(highest_, chosen);
    TPlayerSlot &p = slotRef(chosen);
    attach(chosen, sock);
    p.loggedIn = false;
    p.loginTimer->start(timerMs(loginTimeoutSeconds, secondMs_));
    sendTo(chosen, Wire::ToPlayer::sendlogininfo(chosen));
}

void TServer::attach(int slot, TSock *sock)
{
    TPlayerSlot &p = slotRef(slot);
    p.socket = sock;
    p.inUse = true;
    p.input = InputBuffer(inputLimits_);
    p.beats = false;
    p.heard.start();
    sock->setKeepAlive(keepAlive_);
    sock->setTag(slot);
    sock->disconnect(this);
    connect(sock, &TSock::OnRead, this, &TServer::Sock1Read);
    connect(sock, &TSock::OnDisconnect, this, &TServer::tempsockDisconnect);
    connect(sock, &TSock::OnInfo, this, &TServer::tempsockInfo);
}

TSock *TServer::detach(int slot, bool keep)
{
    TPlayerSlot &p = slotRef(slot);
    // Its queued messages go with it: the seat may get another connection next.
    p.input.clear();
    std::erase(arrivals_, slot);
    p.loginTimer->stop();
    TSock *sock = std::exchange(p.socket, nullptr);
    if (sock) {
        sock->disconnect(this);
        if (!keep) {
            sock->Close();
            sock->deleteLater();
        }
    }
    return sock;
}

void TServer::Sock1Read(TSock *sock)
{
    QByteArray bytes;
    try {
        bytes = sock->Receive();
    } catch (const ESockException &) {
        return;
    }
    const int s = sock->Tag();
    // A closed connection's late data never reaches the slot's next owner.
    if (!validSlot(s) || slotRef(s).socket != sock)
        return;
    receiveBytes(s, bytes);
}

void TServer::receiveBytes(int slot, QByteArrayView bytes)
{
    if (!validSlot(slot) || !slotRef(slot).inUse || slotRef(slot).away)
        return;
    TPlayerSlot &p = slotRef(slot);
    p.heard.start();
    const qsizetype before = p.input.queuedMessages();
    if (!p.input.append(bytes)) {
        disconnectsock(slot);
        return;
    }
    for (qsizetype n = p.input.queuedMessages() - before; n > 0; --n)
        arrivals_.push_back(slot);
    if (p.input.hasMessage())
        scheduleDispatch();
}

void TServer::tempsockDisconnect(TSock *sock)
{
    const int s = sock->Tag();
    if (validSlot(s) && slotRef(s).inUse && slotRef(s).socket == sock)
        sock->Close();
}

void TServer::tempsockInfo(TSock *sock, TSocketInfo kind, const QString &text)
{
    if (kind != TSocketInfo::siClose || text != socketClosed)
        return;
    const int s = sock->Tag();
    if (validSlot(s) && slotRef(s).inUse && slotRef(s).socket == sock)
        connectionLost(s);
}

void TServer::disconnectsock(int slot, bool mayHoldSeat)
{
    if (!validSlot(slot) || !slotRef(slot).inUse)
        return;
    if (mayHoldSeat && slotRef(slot).socket)
        connectionLost(slot);
    else
        releaseSlot(slot);
}

void TServer::connectionLost(int slot)
{
    TPlayerSlot &p = slotRef(slot);
    // A window that closes says so right before its close, which may come in the same
    // read: the word counts although it was not handled yet.
    if (p.input.holds(Wire::ToHost::leaving(slot).chopped(1)))
        p.leaving = true;
    if (mayHold(p))
        holdSlot(slot);
    else
        releaseSlot(slot);
}

bool TServer::mayHold(const TPlayerSlot &p) const
{
    return graceSeconds_ > 0 && !closing_ && p.canRejoin && p.token && p.loggedIn && !p.leaving
        && gameRunning_;
}

void TServer::holdSlot(int slot)
{
    TPlayerSlot &p = slotRef(slot);
    detach(slot);
    p.away = true;
    // A return that dropped again before its login: the others still see the player away.
    const bool announce = !p.awayAnnounced;
    p.returning = false;
    p.awayAnnounced = true;
    p.graceTimer->start(timerMs(graceSeconds_, secondMs_));
    if (announce)
        tellOthers(slot, Wire::ToPlayer::playeraway(slot), Wire::ToPlayer::playerdisconnected(slot, p.name));
    Q_EMIT playerAway(slot, Wire::fromWire(p.name), graceSeconds_);
    Q_EMIT summaryChanged();
}

void TServer::graceOver(int slot)
{
    if (validSlot(slot) && slotRef(slot).inUse && slotRef(slot).away)
        releaseSlot(slot);
}

void TServer::releaseSlot(int slot)
{
    TPlayerSlot &p = slotRef(slot);
    if (!p.inUse)
        return;
    const QByteArray name = p.name;
    // Players that cannot come back saw this one leave when its connection dropped.
    const bool toldAlready = p.awayAnnounced;
    detach(slot);
    p.inUse = false;
    p.name.clear();
    p.watching = false;
    p.loggedIn = false;
    p.canRejoin = false;
    p.token.reset();
    p.previousToken.reset();
    p.away = false;
    p.awayAnnounced = false;
    p.returning = false;
    p.leaving = false;
    p.graceTimer->stop();
    const QByteArray notice = Wire::ToPlayer::playerdisconnected(slot, name);
    tellOthers(slot, notice, toldAlready ? QByteArray() : notice);
    Q_EMIT playerLeft(slot, Wire::fromWire(name));
}

void TServer::tellOthers(int except, const QByteArray &toRejoiners, const QByteArray &toOthers)
{
    for (int s = 1; s <= highest_; ++s) {
        if (s == except || !slotRef(s).inUse)
            continue;
        const QByteArray &message = slotRef(s).canRejoin ? toRejoiners : toOthers;
        if (!message.isEmpty())
            sendTo(s, message);
    }
}

void TServer::sendTo(int slot, const QByteArray &message)
{
    TPlayerSlot &p = slotRef(slot);
    TSock *sock = p.socket;
    if (!p.inUse || !sock || !sock->connected())
        return;
    try {
        sock->Send(message);
    } catch (const ESockException &) {
        // Closed meanwhile: its close notice releases the slot.
        return;
    }
    // A peer that stops reading may be one whose network went away.
    if (p.socket == sock && sock->pendingOutput() > maxUnsentBytes)
        disconnectsock(slot, true);
}

void TServer::sendToAll(const QByteArray &message)
{
    for (int s = 1; s <= highest_; ++s)
        if (slotRef(s).inUse)
            sendTo(s, message);
}

void TServer::relay(const QByteArray &message)
{
    if (message.size() - 1 <= maxRelayBytes)
        sendToAll(message);
}

// --- Dispatch ----------------------------------------------------------------

void TServer::scheduleDispatch()
{
    if (socktimer.isActive())
        return;
    qint64 wait = 0;
    // 1.0.7 hosts handle at most one message per tick, so a message that finds the
    // host idle waits for what is left of the tick since the last one.
    if (order_ == DispatchOrder::InTurn && sinceDispatch_.isValid())
        wait = std::max<qint64>(0, dispatchMs_ - sinceDispatch_.elapsed());
    socktimer.start(int(wait));
}

bool TServer::takeArrival(int &sender, QByteArray &message)
{
    while (!arrivals_.empty()) {
        const int s = arrivals_.front();
        arrivals_.pop_front();
        TPlayerSlot &p = slotRef(s);
        if (p.inUse && p.input.hasMessage()) {
            sender = s;
            message = p.input.takeMessage();
            return true;
        }
    }
    return false;
}

bool TServer::takeInTurn(int &sender, QByteArray &message)
{
    for (int i = 0; i < Wire::slotCount; ++i) {
        const int s = (nextTurn_ - 1 + i) % Wire::slotCount + 1;
        TPlayerSlot &p = slotRef(s);
        if (p.inUse && p.input.hasMessage()) {
            nextTurn_ = s % Wire::slotCount + 1;
            sender = s;
            message = p.input.takeMessage();
            if (const auto entry = std::find(arrivals_.begin(), arrivals_.end(), s); entry != arrivals_.end())
                arrivals_.erase(entry);
            return true;
        }
    }
    return false;
}

void TServer::socktimerTimer()
{
    sinceDispatch_.restart();
    int sender = 0;
    QByteArray message;
    if (order_ == DispatchOrder::InTurn) {
        if (takeInTurn(sender, message))
            dispatch(sender, message);
    } else {
        while (takeArrival(sender, message)) {
            dispatch(sender, message);
            if (sinceDispatch_.nsecsElapsed() >= tickBudgetNs)
                break;
        }
    }
    // What is left waits for the next tick, counted from this one's start.
    if (!arrivals_.empty() && !socktimer.isActive())
        socktimer.start(int(std::max<qint64>(0, dispatchMs_ - sinceDispatch_.elapsed())));
}

void TServer::dispatch(int sender, const QByteArray &message)
{
    const auto [command, rest] = FieldReader::splitCommand(message);
    if (command.isEmpty())
        return;
    TPlayerSlot &p = slotRef(sender);
    if (command == Wire::Cmd::stillhere) {
        // Only a player that can come back is answered: others would not know it. The
        // first is answered at once, so that silence tells from then on.
        if (!p.canRejoin)
            return;
        if (!std::exchange(p.beats, true))
            sendTo(sender, Wire::ToPlayer::stillhere(sender));
        if (!heartbeatTimer_.isActive())
            heartbeatTimer_.start();
        return;
    }
    if (command == Wire::Cmd::logininfo) {
        receivedlogininfo(sender, rest);
        return;
    }
    // Before the login: a player that can come back says so, a returning one shows its
    // token instead of logging in.
    if (!p.loggedIn) {
        if (command == Wire::Cmd::canrejoin)
            canrejoin(sender, rest);
        else if (command == Wire::Cmd::rejoin)
            rejoin(sender, rest);
        return;
    }
    if (p.returning)
        return;
    if (command == Wire::Cmd::kickhim)
        kickhim(sender, rest);
    else if (command == Wire::Cmd::chat)
        chat(sender, rest);
    else if (command == Wire::Cmd::action)
        action(sender, rest);
    else if (command == Wire::Cmd::startgame) {
        if (sender == 1)
            startgame(rest);
    } else if (command == Wire::Cmd::justwatch)
        justwatch(sender, rest);
    else if (command == Wire::Cmd::playerdone)
        playerdone(sender, rest);
    else if (command == Wire::Cmd::playasound)
        playasound(sender, rest);
    else if (command == Wire::Cmd::leaving)
        leaving(sender, rest);
}

void TServer::receivedlogininfo(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (!slot || *slot != sender)
        return;
    const QByteArray version = f.next();
    if (slotRef(sender).returning) {
        readmit(sender);
        return;
    }
    // A "+" in a name would shift every later field of the roster messages.
    const QByteArray name
        = Wire::sanitized(f.rest().first(std::min(f.rest().size(), maxNameBytes))).replace('+', '-');
    TPlayerSlot &p = slotRef(sender);
    p.name = name;
    p.loggedIn = true;
    p.loginTimer->stop();
    // Everyone is told the newcomer plays ("+0"); a watch request that reached the
    // slot before its player arrived must not silently drop that player's claims.
    p.watching = false;
    // The token first: a connection that drops during the rest of the login can come back.
    if (p.canRejoin && graceSeconds_ > 0) {
        p.token = newToken();
        sendTo(sender, Wire::ToPlayer::rejointoken(sender, *p.token, graceSeconds_));
    }

    sendToAll(Wire::ToPlayer::newplayerinfo(sender, name));

    // A newcomer that cannot come back itself is not told of seats held for players
    // away, as older hosts would not: it hears of them when they come back.
    QList<Wire::ToPlayer::RosterEntry> others;
    for (int s = 1; s <= highest_; ++s)
        if (s != sender && slotRef(s).inUse && (p.canRejoin || !slotRef(s).awayAnnounced))
            others.append({s, slotRef(s).name, slotRef(s).watching});
    if (!others.isEmpty())
        sendTo(sender, Wire::ToPlayer::existingplayers(others));

    if (Wire::fromWire(version) != env_.versionText()) {
        sendTo(1, Wire::ToPlayer::havewrongversion(name));
        sendTo(sender, Wire::ToPlayer::wrongversion());
    }

    if (gameRunning_) {
        sendTo(sender, Wire::ToPlayer::loadboard(board_));
        std::array<int, Wire::slotCount> scores {};
        for (int s = 1; s <= Wire::slotCount; ++s)
            scores[size_t(s - 1)] = slotRef(s).gameScore;
        sendTo(sender,
            Wire::ToPlayer::loadstats(
                sender, target_, roundSeconds_, sizeCode_, minLetters_, countdown_ - 5, phase_, scores));
    }
    if (p.canRejoin && p.inUse) {
        for (int s = 1; s <= highest_; ++s)
            if (s != sender && slotRef(s).inUse && slotRef(s).awayAnnounced)
                sendTo(sender, Wire::ToPlayer::playeraway(s));
    }
    if (slotRef(sender).inUse)
        Q_EMIT playerAdmitted(sender, Wire::fromWire(name));
}

void TServer::kickhim(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto requester = f.nextInt();
    if (sender != 1 || !requester || *requester != sender)
        return;
    const auto target = f.nextInt();
    if (!target || !validSlot(*target))
        return;
    // The removed player hears it first, in the words the others hear it in, so its
    // window can tell why the game ended; a window that does not know this reads the
    // notice as any departure.
    if (slotRef(*target).inUse)
        sendTo(*target, Wire::ToPlayer::playerdisconnected(*target, slotRef(*target).name));
    disconnectsock(*target);
}

void TServer::chat(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (slot && *slot == sender)
        relay(Wire::ToPlayer::chat(sender, slotRef(sender).name, f.rest()));
}

void TServer::action(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (slot && *slot == sender)
        relay(Wire::ToPlayer::action(sender, slotRef(sender).name, f.rest()));
}

void TServer::playasound(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (slot && *slot == sender)
        relay(Wire::ToPlayer::playasound(sender, f.rest()));
}

void TServer::justwatch(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (!slot || !validSlot(*slot))
        return;
    // A player changes its own mode; only the host player changes another's.
    if (*slot != sender && sender != 1)
        return;
    const QByteArray mode = f.rest();
    // Players that saw an away player leave are not told about its seat.
    const auto tell = [this, slot = *slot](Wire::WatchMode watchMode) {
        const QByteArray notice = Wire::ToPlayer::justwatching(slot, watchMode);
        tellOthers(0, notice, slotRef(slot).awayAnnounced ? QByteArray() : notice);
    };
    if (mode == QByteArray::number(int(Wire::WatchMode::PlayAgain))) {
        slotRef(*slot).watching = false;
        tell(Wire::WatchMode::PlayAgain);
    } else if (mode == QByteArray::number(int(Wire::WatchMode::Watch)) && gameRunning_) {
        slotRef(*slot).watching = true;
        tell(Wire::WatchMode::Watch);
    }
    Q_EMIT summaryChanged();
}

// --- Coming back -------------------------------------------------------------

void TServer::canrejoin(int sender, const QByteArray &rest)
{
    FieldReader f(rest);
    const auto slot = f.nextInt();
    const auto version = f.nextInt();
    if (slot && *slot == sender && version && *version >= 1)
        slotRef(sender).canRejoin = true;
}

void TServer::leaving(int sender, const QByteArray &rest)
{
    const auto slot = FieldReader(rest).nextInt();
    if (slot && *slot == sender)
        slotRef(sender).leaving = true;
}

void TServer::rejoin(int sender, const QByteArray &rest)
{
    const QByteArray text = FieldReader(rest).next();
    // The connection leaves the seat it was given on arrival without a word to anyone:
    // nobody was told of it.
    TSock *sock = detach(sender, true);
    TPlayerSlot &p = slotRef(sender);
    p.inUse = false;
    p.canRejoin = false;
    if (sock)
        admitReturn(sock, text);
}

Wire::RejoinToken TServer::newToken()
{
    return tokens_();
}

int TServer::seatOfToken(QByteArrayView text, std::optional<Wire::RejoinToken> *presented) const
{
    *presented = Wire::tokenFromText(text);
    const Wire::RejoinToken probe = presented->value_or(Wire::RejoinToken {});
    // Every seat is looked at, held or not, and every comparison runs whole.
    int seat = 0;
    for (int s = 1; s <= Wire::slotCount; ++s) {
        const TPlayerSlot &p = slot(s);
        const bool current = sameToken(probe, p.token.value_or(Wire::RejoinToken {})) & p.token.has_value();
        const bool previous = sameToken(probe, p.previousToken.value_or(Wire::RejoinToken {}))
            & p.previousToken.has_value() & p.away;
        const bool fits = (current | previous) & p.inUse & p.canRejoin & presented->has_value();
        seat = fits ? s : seat;
    }
    return seat;
}

void TServer::admitReturn(TSock *sock, QByteArrayView text)
{
    std::optional<Wire::RejoinToken> presented;
    const int seat = seatOfToken(text, &presented);
    if (!seat || closing_) {
        refuseReturn(sock);
        return;
    }
    TPlayerSlot &p = slotRef(seat);
    // A seat whose old connection the host still thinks alive (it may have gone without
    // a word) is taken over: that connection is closed without a notice.
    detach(seat);
    p.graceTimer->stop();
    p.away = false;
    p.returning = true;
    p.previousToken = presented;
    p.token = newToken();
    // The player showed it says it is there: its return is judged by silence at once.
    const bool beats = p.beats;
    attach(seat, sock);
    p.beats = beats;
    p.loginTimer->start(timerMs(loginTimeoutSeconds, secondMs_));
    sendTo(seat, Wire::ToPlayer::welcomeback(seat, *p.token, graceSeconds_));
}

void TServer::refuseReturn(TSock *sock)
{
    sock->disconnect(this);
    try {
        sock->Send(Wire::ToPlayer::rejoinrefused());
    } catch (const ESockException &) { }
    sock->Close();
    sock->deleteLater();
    Q_EMIT returnRefused();
}

void TServer::readmit(int slot)
{
    TPlayerSlot &p = slotRef(slot);
    p.returning = false;
    p.previousToken.reset();
    p.loginTimer->stop();
    // A send may find the peer gone again and hold the seat anew: then the return is
    // over, the others still see the player away, and nobody is told it came back.
    TSock *const sock = p.socket;
    const auto send = [this, slot, sock, &p](const QByteArray &message) {
        sendTo(slot, message);
        return p.inUse && p.socket == sock && sock;
    };

    QList<Wire::ToPlayer::Seat> taken;
    for (int s = 1; s <= highest_; ++s) {
        const TPlayerSlot &q = slotRef(s);
        if (q.inUse && q.loggedIn)
            taken.append({s, q.name, q.watching, q.away});
    }
    if (!send(Wire::ToPlayer::seats(taken)))
        return;
    if (gameRunning_) {
        std::array<int, Wire::slotCount> scores {};
        for (int s = 1; s <= Wire::slotCount; ++s)
            scores[size_t(s - 1)] = slotRef(s).gameScore;
        if (!send(Wire::ToPlayer::loadboard(board_))
            || !send(Wire::ToPlayer::loadstats(
                slot, target_, roundSeconds_, sizeCode_, minLetters_, countdown_ - 5, phase_, scores)))
            return;
    }
    if (!send(Wire::ToPlayer::foundwords(
            slot, phase_ == RoundRunning ? p.roundWords : QList<Wire::FoundWord> {})))
        return;
    // The end of the round, or of the game, that happened while the player was away
    // (both are forgotten when the next round starts).
    if (!lastTimeup_.isEmpty() && (!send(lastTimeup_) || !send(Wire::ToPlayer::mainlist(slot, lastWords_))))
        return;
    if (!lastWinner_.isEmpty() && !send(lastWinner_))
        return;

    if (std::exchange(p.awayAnnounced, false)) {
        for (int s = 1; s <= highest_; ++s) {
            if (s == slot || !slotRef(s).inUse)
                continue;
            if (slotRef(s).canRejoin) {
                sendTo(s, Wire::ToPlayer::playerback(slot));
            } else {
                sendTo(s, Wire::ToPlayer::newplayerinfo(slot, p.name));
                if (p.watching)
                    sendTo(s, Wire::ToPlayer::justwatching(slot, Wire::WatchMode::Watch));
            }
        }
    }
    Q_EMIT playerReturned(slot, Wire::fromWire(p.name));
    Q_EMIT summaryChanged();
}

std::list<TServer::Knock>::iterator TServer::findKnock(TSock *sock)
{
    return std::find_if(knocks_.begin(), knocks_.end(), [sock](const Knock &k) { return k.sock == sock; });
}

void TServer::knockRead(TSock *sock)
{
    const auto knock = findKnock(sock);
    if (knock == knocks_.end())
        return;
    QByteArray bytes;
    try {
        bytes = sock->Receive();
    } catch (const ESockException &) {
        return;
    }
    if (!knock->input.append(bytes)) {
        dropKnock(sock, true);
        Q_EMIT connectionRefused();
        return;
    }
    // Like every message, handled once the read notification is over.
    if (knock->input.hasMessage())
        QTimer::singleShot(0, this, [this, sock] { handleKnock(sock); });
}

void TServer::handleKnock(TSock *sock)
{
    const auto knock = findKnock(sock);
    if (knock == knocks_.end() || !knock->input.hasMessage())
        return;
    const auto [command, rest] = FieldReader::splitCommand(knock->input.takeMessage());
    dropKnock(sock, false);
    if (command == Wire::Cmd::rejoin) {
        admitReturn(sock, FieldReader(rest).next());
        return;
    }
    sock->disconnect(this);
    sock->Close();
    sock->deleteLater();
    Q_EMIT connectionRefused();
}

void TServer::dropKnock(TSock *sock, bool close)
{
    const auto knock = findKnock(sock);
    if (knock == knocks_.end())
        return;
    knock->timer->stop();
    knock->timer->deleteLater();
    knocks_.erase(knock);
    sock->disconnect(this);
    if (close) {
        sock->Close();
        sock->deleteLater();
    } else if (!sock->connected()) {
        sock->deleteLater();
    }
}

// --- Judging -----------------------------------------------------------------

void TServer::playerdone(int sender, const QByteArray &rest)
{
    if (phase_ != RoundRunning)
        return;
    FieldReader f(rest);
    const auto slot = f.nextInt();
    if (!slot || *slot != sender)
        return;
    TPlayerSlot &p = slotRef(sender);
    p.claimPath.fill(Wire::Tile {});
    // Watching is the player's own choice to sit out, not a bar: a claim that a
    // watching player still sends is judged like any other.
    if (f.isEmpty())
        return;

    // Tiles come numbered 1, 2, 3 ... in reading order; anything else (a number out
    // of order or out of range, a thirteenth tile, a cell off the board, a tile used
    // twice, a tile not next to the one before) drops the claim without a reply.
    QByteArray word;
    int n = 0;
    f.beginList();
    while (!f.atListEnd()) {
        ++n;
        const auto k = f.nextInt();
        const auto row = f.nextInt();
        const auto col = f.nextInt();
        if (n > Wire::maxTiles || !k || !row || !col || *k != n)
            return;
        if (*row < 0 || *row >= Wire::boardSize || *col < 0 || *col >= Wire::boardSize)
            return;
        const Wire::Tile tile {*row, *col};
        for (int i = 0; i < n - 1; ++i)
            if (p.claimPath[size_t(i)] == tile)
                return;
        if (n >= 2 && !adjacent(p.claimPath[size_t(n - 2)], tile))
            return;
        p.claimPath[size_t(n - 1)] = tile;
        word += char(std::toupper(uchar(convertoletter(board_[size_t(*row)][size_t(*col)]))));
    }

    std::optional<Wire::RejectReason> reason;
    if (!env_.isword(word))
        reason = Wire::RejectReason::NotAWord;
    else if (std::any_of(p.roundWords.cbegin(), p.roundWords.cend(),
                 [&word](const Wire::FoundWord &found) { return found.word == word; }))
        reason = Wire::RejectReason::AlreadyFound;
    else if (n < minLetters_)
        reason = Wire::RejectReason::TooShort;
    if (reason) {
        sendTo(sender, Wire::ToPlayer::notvalid(sender, *reason, word));
        return;
    }

    int points = BoardSolver::basePoints(n);
    Wire::Finder first = Wire::Finder::Later;
    if (listbox_words.insert(word).second) {
        points += 1;
        first = Wire::Finder::First;
    }
    p.roundWords.append({word, points, first});
    p.roundScore += points;
    p.gameScore += points;
    sendToAll(Wire::ToPlayer::addscore(sender, points, p.gameScore));
    sendTo(sender, Wire::ToPlayer::goodword(sender, points, word, n, first));
}

// --- The game ----------------------------------------------------------------

void TServer::startgame(const QByteArray &rest)
{
    FieldReader f(rest);
    std::array<QByteArray, 6> fields;
    for (QByteArray &field : fields)
        field = f.next();
    const QByteArray announcement = Wire::ToPlayer::startgame(fields);
    // A start no window could take in is not a start.
    if (announcement.size() - 1 > maxRelayBytes)
        return;
    savedOptions_ = rest;
    gameRunning_ = true;
    target_ = FieldReader::toInt(fields[1]).value_or(100);
    roundSeconds_ = FieldReader::toInt(fields[2]).value_or(60);
    sizeCode_ = FieldReader::toInt(fields[3]).value_or(8);
    minLetters_ = FieldReader::toInt(fields[4]).value_or(4);
    sendToAll(announcement);
    for (int s = 1; s <= Wire::slotCount; ++s) {
        TPlayerSlot &p = slotRef(s);
        p.gameScore = 0;
        p.watching = false;
        p.roundScore = 0;
        p.roundWords.clear();
    }
    roundNumber_ = 0;
    Q_EMIT gameStarted(Wire::fromWire(fields[0]), target_, roundSeconds_, sizeCode_, minLetters_);
    startround();
}

void TServer::startround()
{
    listbox_words.clear();
    lastTimeup_.clear();
    lastWords_.clear();
    lastWinner_.clear();
    for (int s = 1; s <= Wire::slotCount; ++s) {
        slotRef(s).roundScore = 0;
        slotRef(s).roundWords.clear();
    }
    ++roundNumber_;
    createboard();
    findplayer();
}

void TServer::createboard()
{
    board_ = BoardDealer::deal(sizeCode_, draw_);
    sendToAll(Wire::ToPlayer::loadboard(board_));
}

void TServer::findplayer()
{
    for (int s = 1; s <= highest_; ++s)
        if (slotRef(s).inUse)
            sendTo(s, Wire::ToPlayer::nextplayer(s));
    // Four seconds more than the players' clocks: they start a little later.
    startCountdown(qint64(roundSeconds_) + 4, RoundRunning);
}

void TServer::startCountdown(qint64 seconds, Phase phase)
{
    timer1.stop();
    countdown_ = clampSeconds(seconds);
    phase_ = phase;
    timer1.start(secondMs_);
}

void TServer::timer1Timer()
{
    if (!timer1.isActive())
        return;
    if (--countdown_ >= 1)
        return;
    timer1.stop();
    switch (phase_) {
    case RoundRunning:
        outoftime();
        break;
    case Pause:
        startround();
        break;
    case RestartWait:
        startgame(savedOptions_);
        break;
    default:
        break;
    }
}

void TServer::outoftime()
{
    timer1.stop();
    phase_ = Pause;
    std::array<int, Wire::slotCount> round {}, total {};
    for (int s = 1; s <= Wire::slotCount; ++s) {
        round[size_t(s - 1)] = slotRef(s).roundScore;
        total[size_t(s - 1)] = slotRef(s).gameScore;
    }
    lastTimeup_ = Wire::ToPlayer::timeup(round, total);
    lastWords_ = QList<QByteArray>(listbox_words.begin(), listbox_words.end());
    sendToAll(lastTimeup_);
    for (int s = 1; s <= highest_; ++s)
        if (slotRef(s).inUse)
            sendTo(s, Wire::ToPlayer::mainlist(s, lastWords_));
    Q_EMIT roundEnded(roundNumber_);
    if (!checkforwin())
        startCountdown(env_.pauseBetweenRounds(), Pause);
}

bool TServer::checkforwin()
{
    // Every slot handed out counts, in use or not: a player who left keeps a score.
    int leader = 0;
    bool reached = false;
    for (int s = 1; s <= highest_; ++s) {
        const int score = slotRef(s).gameScore;
        reached = reached || score >= target_;
        if (!leader || score > slotRef(leader).gameScore)
            leader = s;
    }
    if (!reached || !leader)
        return false;
    for (int s = 1; s <= highest_; ++s)
        if (s != leader && slotRef(s).gameScore == slotRef(leader).gameScore)
            return false;
    const TPlayerSlot &w = slotRef(leader);
    const QByteArray name = w.name.isEmpty() ? w.spareName : w.name;
    lastWinner_ = Wire::ToPlayer::winner(name);
    sendToAll(lastWinner_);
    gameRunning_ = false;
    Q_EMIT winnerDeclared(Wire::fromWire(name));
    if (env_.autoStartNextGame())
        startCountdown(restartSeconds, RestartWait);
    return true;
}

TServer::Summary TServer::summary() const
{
    Summary s;
    if (slot(1).inUse && slot(1).loggedIn)
        s.hostName = slot(1).name;
    for (int n = 1; n <= highest_; ++n) {
        const TPlayerSlot &p = slot(n);
        if (p.inUse && p.loggedIn)
            ++(p.watching ? s.watchers : s.players);
    }
    s.running = gameRunning_;
    if (roundNumber_ > 0) {
        s.sizeCode = sizeCode_;
        s.minLetters = minLetters_;
        s.target = target_;
        s.roundSeconds = roundSeconds_;
    }
    return s;
}
