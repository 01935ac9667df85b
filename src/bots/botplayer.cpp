#include "botplayer.h"

#include "fieldreader.h"
#include "lazywordtrie.h"

#include <QPointer>

#include <algorithm>

namespace {

// The longest a game's options can make a round or its minimum word; anything
// beyond is a host that is not playing fair, and is cut down to this.
constexpr int longestRoundSeconds = 3600;
constexpr int defaultRoundSeconds = 60;
constexpr int defaultMinLetters = 4;
// No board holds more words than a round can plan; a host that says otherwise is
// not believed past this.
constexpr qsizetype maxWordsFound = 4096;
// The socket reads at most this much ahead of the framing.
constexpr qint64 readBufferBytes = 256 * 1024;

bool validSlot(int slot)
{
    return slot >= 1 && slot <= Wire::slotCount;
}

// The next number field, which may also be the message's last (with no "+" after it).
std::optional<int> nextNumber(FieldReader &fields)
{
    if (!fields.rest().contains('+'))
        return FieldReader::toInt(fields.rest());
    return fields.nextInt();
}

} // namespace

BotPlayer::BotPlayer(
    const QString &name, BotStrength::Level level, LazyWordTrie &trie, quint32 seed, QObject *parent)
    : QObject(parent)
    , name_(name)
    , level_(level)
    , trie_(trie)
    , random_(seed)
    , brain_(BotStrength::of(level))
{
    socket_.setReadBufferSize(readBufferBytes);
    claimTimer_.setSingleShot(true);
    // A precise timer never fires early, so two claims keep their gap.
    claimTimer_.setTimerType(Qt::PreciseTimer);
    connect(&claimTimer_, &QTimer::timeout, this, &BotPlayer::claimNext);
    connect(&socket_, &QTcpSocket::readyRead, this, &BotPlayer::readSocket);
    connect(&socket_, &QTcpSocket::disconnected, this, &BotPlayer::socketGone);
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this] {
        if (socket_.state() != QAbstractSocket::ConnectedState)
            socketGone();
    });
}

BotPlayer::~BotPlayer()
{
    // The socket's own teardown must not call back into a half-destroyed player.
    socket_.disconnect(this);
    socket_.abort();
}

void BotPlayer::setSecondLength(int milliseconds)
{
    secondMs_ = std::max(1, milliseconds);
}

void BotPlayer::connectToHost(const QHostAddress &address, quint16 port)
{
    input_.clear();
    socket_.connectToHost(address, port);
}

void BotPlayer::leave()
{
    claimTimer_.stop();
    roundRunning_ = false;
    if (socket_.state() == QAbstractSocket::UnconnectedState) {
        socketGone();
        return;
    }
    socket_.disconnectFromHost();
}

QByteArray BotPlayer::goodGameMessage(int slot)
{
    // The ninth quick phrase as its button sends it, in the default chat colour.
    return Wire::ToHost::action(slot, QStringLiteral("says: Good Game Everyone!"), QStringLiteral("clBlack"));
}

void BotPlayer::readSocket()
{
    if (!input_.append(socket_.readAll())) {
        socket_.abort();
        socketGone();
        return;
    }
    const QPointer<BotPlayer> self(this);
    while (self && input_.hasMessage())
        handleMessage(input_.takeMessage());
}

void BotPlayer::socketGone()
{
    claimTimer_.stop();
    roundRunning_ = false;
    if (closedSent_)
        return;
    closedSent_ = true;
    emit closed();
}

void BotPlayer::send(const QByteArray &message)
{
    if (socket_.state() == QAbstractSocket::ConnectedState)
        socket_.write(message);
}

void BotPlayer::handleMessage(const QByteArray &message)
{
    const auto [command, rest] = FieldReader::splitCommand(message);
    FieldReader fields(rest);
    if (command == Wire::Cmd::sendlogininfo)
        sendlogininfo(fields);
    else if (command == Wire::Cmd::newplayerinfo)
        newplayerinfo(fields);
    else if (command == Wire::Cmd::startgame)
        startthegame(fields);
    else if (command == Wire::Cmd::loadboard)
        loadboard(fields);
    else if (command == Wire::Cmd::loadstats)
        loadstats(fields);
    else if (command == Wire::Cmd::nextplayer)
        nextplayer(fields);
    else if (command == Wire::Cmd::timeup)
        endRound();
    else if (command == Wire::Cmd::justwatching)
        justwatching(fields);
    else if (command == Wire::Cmd::notvalid)
        notvalid(fields);
    else if (command == Wire::Cmd::goodword)
        goodword(fields);
    else if (command == Wire::Cmd::winner)
        winner();
}

void BotPlayer::sendlogininfo(FieldReader &fields)
{
    const auto slot = nextNumber(fields);
    if (myslot_ != 0 || !slot || !validSlot(*slot))
        return;
    myslot_ = *slot;
    send(Wire::ToHost::logininfo(myslot_, QString::fromLatin1(wendlewickVersion), name_));
}

void BotPlayer::newplayerinfo(FieldReader &fields)
{
    const auto slot = fields.nextInt();
    if (admitted_ || !slot || *slot != myslot_ || myslot_ == 0)
        return;
    admitted_ = true;
    emit joined(myslot_);
}

void BotPlayer::startthegame(FieldReader &fields)
{
    // Starter, target, seconds, board code, minimum letters, "0".
    fields.next();
    fields.next();
    const auto seconds = FieldReader::toInt(fields.next());
    fields.next();
    const auto minLetters = FieldReader::toInt(fields.next());
    roundSeconds_ = std::clamp(seconds.value_or(defaultRoundSeconds), 1, longestRoundSeconds);
    minLetters_ = std::clamp(
        minLetters.value_or(defaultMinLetters), int(WordTrie::minLetters), int(WordTrie::maxLetters) + 1);
    // A new game clears every watching mark on the host.
    watching_ = false;
    endRound();
}

void BotPlayer::loadboard(FieldReader &fields)
{
    endRound();
    boardValid_ = false;
    for (auto &row : board_)
        row.fill(Wire::noTile);
    fields.beginList();
    int cells = 0;
    while (!fields.atListEnd()) {
        const auto row = fields.nextInt();
        const auto col = fields.nextInt();
        const auto code = fields.nextInt();
        if (!row || !col || !code || *row < 0 || *row >= Wire::boardSize || *col < 0
            || *col >= Wire::boardSize || ++cells > Wire::boardSize * Wire::boardSize)
            return;
        board_[std::size_t(*row)][std::size_t(*col)] = *code;
    }
    boardValid_ = cells > 0;
}

void BotPlayer::loadstats(FieldReader &fields)
{
    // Own slot, target, seconds, board code, minimum letters, seconds left, phase.
    const auto slot = fields.nextInt();
    if (!slot || *slot != myslot_ || myslot_ == 0)
        return;
    fields.next();
    const auto seconds = fields.nextInt();
    fields.next();
    const auto minLetters = fields.nextInt();
    const auto left = fields.nextInt();
    const auto phase = nextNumber(fields);
    if (!seconds || !minLetters || !left || !phase)
        return;
    roundSeconds_ = std::clamp(*seconds, 1, longestRoundSeconds);
    minLetters_ = std::clamp(*minLetters, int(WordTrie::minLetters), int(WordTrie::maxLetters) + 1);
    // Joined during a round: play what is left of it, starting from nothing.
    if (*phase == 1 && *left > 0)
        startRound(std::min(*left, roundSeconds_));
}

void BotPlayer::nextplayer(FieldReader &fields)
{
    const auto slot = fields.nextInt();
    if (slot && *slot == myslot_ && myslot_ != 0)
        startRound(roundSeconds_);
}

void BotPlayer::justwatching(FieldReader &fields)
{
    const auto slot = fields.nextInt();
    if (!slot || *slot != myslot_ || myslot_ == 0)
        return;
    const QByteArray mode = fields.rest();
    if (mode == "1") {
        watching_ = true;
        endRound();
    } else if (mode == "2") {
        // Back from watching: it plays again from the next round on.
        watching_ = false;
    }
}

void BotPlayer::notvalid(FieldReader &fields)
{
    const auto slot = fields.nextInt();
    const auto reason = fields.nextInt();
    if (slot && reason && *slot == myslot_)
        emit wordRejected(Wire::fromWire(fields.next()), *reason);
}

void BotPlayer::goodword(FieldReader &fields)
{
    const auto slot = fields.nextInt();
    const auto points = fields.nextInt();
    const QByteArray word = fields.next();
    fields.next();
    const auto first = fields.nextInt();
    if (!slot || !points || !first || *slot != myslot_ || myslot_ == 0)
        return;
    const QString text = Wire::fromWire(word);
    if (wordsFound_.size() < maxWordsFound && !wordsFound_.contains(text))
        wordsFound_.append(text);
    emit wordAccepted(text, *points, *first == 1);
}

void BotPlayer::winner()
{
    endRound();
    if (validSlot(myslot_))
        send(goodGameMessage(myslot_));
}

void BotPlayer::startRound(int seconds)
{
    endRound();
    if (!boardValid_ || watching_ || !validSlot(myslot_))
        return;
    roundRunning_ = true;
    roundClockMs_ = 0;
    wordsFound_.clear();
    BoardSolver solver(trie_.trie());
    brain_.planRound(solver.solve(board_), minLetters_, qint64(seconds) * 1000, random_);
    scheduleClaim();
}

void BotPlayer::endRound()
{
    claimTimer_.stop();
    roundRunning_ = false;
    brain_.clear();
}

void BotPlayer::scheduleClaim()
{
    const auto due = brain_.nextClaimAt();
    if (!due)
        return;
    const qint64 gameMs = std::max<qint64>(0, *due - roundClockMs_);
    claimTimer_.start(int((gameMs * secondMs_ + 999) / 1000));
}

void BotPlayer::claimNext()
{
    const auto due = brain_.nextClaimAt();
    if (!roundRunning_ || !due)
        return;
    const auto word = brain_.takeClaim(*due);
    roundClockMs_ = *due;
    if (word && !wordsFound_.contains(word->word)) {
        QList<Wire::Tile> tiles;
        for (const BoardCell &cell : word->path)
            tiles.append({cell.row, cell.col});
        send(Wire::ToHost::playerdone(myslot_, tiles));
        ++claimsSent_;
        emit claimed(word->word, tiles);
    }
    scheduleClaim();
}
