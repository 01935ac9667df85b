#include "wire.h"

#include "fieldreader.h"

namespace Wire {

QByteArray toWire(const QString &text)
{
    // One "?" per character, a character outside the Basic Multilingual Plane included.
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out += c < 0xFF ? char(c) : '?';
    return out;
}

QString fromWire(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray sanitized(QByteArrayView bytes)
{
    QByteArray out = bytes.toByteArray();
    out.replace(terminator, '?');
    return out;
}

QString printable(QString text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        // Joiners stay: scripts and emoji need them; other format characters (direction
        // overrides, invisible marks) could make a name or a link look like another.
        const bool format = c.category() == QChar::Other_Format && u != 0x200C && u != 0x200D;
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || format || u == 0x2028 || u == 0x2029)
            c = QLatin1Char('?');
    }
    return text;
}

QByteArray tokenText(const RejoinToken &token)
{
    return QByteArray(reinterpret_cast<const char *>(token.data()), qsizetype(token.size())).toHex();
}

std::optional<RejoinToken> tokenFromText(QByteArrayView text)
{
    if (text.size() != rejoinTokenDigits)
        return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    RejoinToken token {};
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]);
        const int low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        token[size_t(i / 2)] = quint8(high * 16 + low);
    }
    return token;
}

namespace {

// Builds one message: the command word, "+"-joined pieces, the terminator.
class Builder
{
public:
    explicit Builder(QByteArrayView command, qsizetype reserve = 64)
    {
        out_.reserve(reserve);
        out_ += command;
    }
    Builder &plus()
    {
        out_ += '+';
        return *this;
    }
    Builder &num(int n)
    {
        out_ += QByteArray::number(n);
        return *this;
    }
    Builder &text(QByteArrayView t)
    {
        const qsizetype at = out_.size();
        out_ += t;
        for (qsizetype i = at; i < out_.size(); ++i) {
            const char c = out_.at(i);
            if (c == terminator)
                out_[i] = '?';
            else if (c == '\r' || c == '\n')
                out_[i] = ' ';
        }
        return *this;
    }
    QByteArray done()
    {
        out_ += terminator;
        return std::move(out_);
    }

private:
    QByteArray out_;
};

QByteArray chatLine(QByteArrayView command, int slot, const QString &text, const QString &colour)
{
    return Builder(command).plus().num(slot).plus().text(toWire(text)).text("|").text(toWire(colour)).done();
}

} // namespace

namespace ToHost {

QByteArray logininfo(int slot, const QString &version, const QString &name)
{
    return Builder(Cmd::logininfo)
        .plus()
        .num(slot)
        .plus()
        .text(toWire(version))
        .plus()
        .text(toWire(name))
        .done();
}

QByteArray startgame(const QString &starter, int target, int seconds, int boardCode, int minLetters)
{
    return Builder(Cmd::startgame)
        .plus()
        .text(toWire(starter))
        .plus()
        .num(target)
        .plus()
        .num(seconds)
        .plus()
        .num(boardCode)
        .plus()
        .num(minLetters)
        .plus()
        .text("0")
        .plus()
        .done();
}

QByteArray playerdone(int slot, std::span<const Tile> tiles)
{
    Builder b(Cmd::playerdone);
    b.plus().num(slot);
    int k = 0;
    for (const Tile &t : tiles)
        b.plus().num(++k).plus().num(t.row).plus().num(t.col);
    return b.done();
}

QByteArray chat(int slot, const QString &text, const QString &colour)
{
    return chatLine(Cmd::chat, slot, text, colour);
}

QByteArray action(int slot, const QString &text, const QString &colour)
{
    return chatLine(Cmd::action, slot, text, colour);
}

QByteArray playasound(int slot, int number)
{
    return Builder(Cmd::playasound).plus().num(slot).plus().text("wave").num(number).plus().done();
}

QByteArray justwatch(int slot, WatchMode mode)
{
    return justwatch(slot, int(mode));
}

QByteArray justwatch(int slot, int mode)
{
    return Builder(Cmd::justwatch).plus().num(slot).plus().num(mode).done();
}

QByteArray kickhim(int requester, int target)
{
    return Builder(Cmd::kickhim).plus().num(requester).plus().num(target).plus().done();
}

QByteArray stillhere(int slot)
{
    return Builder(Cmd::stillhere).plus().num(slot).plus().done();
}

QByteArray canrejoin(int slot)
{
    return Builder(Cmd::canrejoin).plus().num(slot).plus().num(rejoinVersion).plus().done();
}

QByteArray rejoin(const RejoinToken &token)
{
    return Builder(Cmd::rejoin).plus().text(tokenText(token)).plus().done();
}

QByteArray leaving(int slot)
{
    return Builder(Cmd::leaving).plus().num(slot).plus().done();
}

} // namespace ToHost

namespace ToPlayer {

QByteArray sendlogininfo(int slot)
{
    return Builder(Cmd::sendlogininfo).plus().num(slot).done();
}

QByteArray full()
{
    return Builder(Cmd::full).plus().done();
}

QByteArray newplayerinfo(int slot, QByteArrayView name)
{
    return Builder(Cmd::newplayerinfo).plus().num(slot).plus().text(name).plus().text("0").done();
}

QByteArray existingplayers(std::span<const RosterEntry> players)
{
    Builder b(Cmd::existingplayers, 128);
    for (const RosterEntry &p : players)
        b.plus().num(p.slot).plus().text(p.name).plus().text(p.watching ? "1" : "0");
    return b.done();
}

QByteArray havewrongversion(QByteArrayView name)
{
    return Builder(Cmd::havewrongversion).plus().text(name).done();
}

QByteArray wrongversion()
{
    return Builder(Cmd::wrongversion).plus().done();
}

QByteArray loadboard(const BoardCells &board)
{
    Builder b(Cmd::loadboard, 720);
    for (int row = 0; row < boardSize; ++row)
        for (int col = 0; col < boardSize; ++col)
            b.plus().num(row).plus().num(col).plus().num(board[row][col]);
    return b.done();
}

QByteArray loadstats(int slot, int target, int seconds, int boardCode, int minLetters, int left, int phase,
    const std::array<int, slotCount> &scores)
{
    Builder b(Cmd::loadstats, 128);
    b.plus().num(slot).plus().num(target).plus().num(seconds).plus().num(boardCode).plus().num(minLetters);
    b.plus().num(left).plus().num(phase);
    for (int s = 1; s <= slotCount; ++s)
        b.plus().num(s).plus().num(scores[size_t(s - 1)]);
    return b.done();
}

QByteArray playerdisconnected(int slot, QByteArrayView name)
{
    return Builder(Cmd::playerdisconnected).plus().num(slot).plus().text(name).done();
}

QByteArray justwatching(int slot, WatchMode mode)
{
    return justwatching(slot, int(mode));
}

QByteArray justwatching(int slot, int mode)
{
    return Builder(Cmd::justwatching).plus().num(slot).plus().num(mode).done();
}

QByteArray chat(int slot, QByteArrayView name, QByteArrayView rest)
{
    return Builder(Cmd::chat).plus().num(slot).plus().text(name).text(" chats: ").text(rest).done();
}

QByteArray action(int slot, QByteArrayView name, QByteArrayView rest)
{
    return Builder(Cmd::action).plus().num(slot).plus().text(name).text(" ").text(rest).done();
}

QByteArray playasound(int slot, QByteArrayView rest)
{
    return Builder(Cmd::playasound).plus().num(slot).plus().text(rest).done();
}

QByteArray startgame(const std::array<QByteArray, 6> &fields)
{
    Builder b(Cmd::startgame);
    for (const QByteArray &f : fields)
        b.plus().text(f);
    return b.plus().done();
}

QByteArray nextplayer(int slot)
{
    return Builder(Cmd::nextplayer).plus().num(slot).plus().done();
}

QByteArray notvalid(int slot, RejectReason reason, QByteArrayView word)
{
    return notvalid(slot, int(reason), word);
}

QByteArray notvalid(int slot, int reason, QByteArrayView word)
{
    return Builder(Cmd::notvalid).plus().num(slot).plus().num(reason).plus().text(word).plus().done();
}

QByteArray addscore(int slot, int points, int total)
{
    return Builder(Cmd::addscore).plus().num(slot).plus().num(points).plus().num(total).plus().done();
}

QByteArray goodword(int slot, int points, QByteArrayView word, int tiles, Finder first)
{
    return goodword(slot, points, word, tiles, int(first));
}

QByteArray goodword(int slot, int points, QByteArrayView word, int tiles, int first)
{
    return Builder(Cmd::goodword)
        .plus()
        .num(slot)
        .plus()
        .num(points)
        .plus()
        .text(word)
        .plus()
        .num(tiles)
        .plus()
        .num(first)
        .plus()
        .done();
}

QByteArray timeup(const std::array<int, slotCount> &roundScores, const std::array<int, slotCount> &gameScores)
{
    Builder b(Cmd::timeup, 160);
    for (int s = 1; s <= slotCount; ++s)
        b.plus().num(s).plus().num(roundScores[size_t(s - 1)]).plus().num(gameScores[size_t(s - 1)]);
    return b.done();
}

QByteArray mainlist(int slot, const QList<QByteArray> &words)
{
    Builder b(Cmd::mainlist, 32 + words.size() * 8);
    b.plus().num(slot);
    if (words.isEmpty())
        b.plus().text("No Words");
    for (const QByteArray &w : words)
        b.plus().text(w);
    return b.done();
}

QByteArray winner(QByteArrayView name)
{
    return Builder(Cmd::winner).plus().text(name).plus().done();
}

namespace {

QByteArray ticket(QByteArrayView command, int slot, const RejoinToken &token, int graceSeconds)
{
    return Builder(command)
        .plus()
        .num(slot)
        .plus()
        .text(tokenText(token))
        .plus()
        .num(graceSeconds)
        .plus()
        .done();
}

} // namespace

QByteArray rejointoken(int slot, const RejoinToken &token, int graceSeconds)
{
    return ticket(Cmd::rejointoken, slot, token, graceSeconds);
}

QByteArray welcomeback(int slot, const RejoinToken &token, int graceSeconds)
{
    return ticket(Cmd::welcomeback, slot, token, graceSeconds);
}

QByteArray rejoinrefused()
{
    return Builder(Cmd::rejoinrefused).plus().done();
}

QByteArray stillhere(int slot)
{
    return ToHost::stillhere(slot);
}

QByteArray playeraway(int slot)
{
    return Builder(Cmd::playeraway).plus().num(slot).plus().done();
}

QByteArray playerback(int slot)
{
    return Builder(Cmd::playerback).plus().num(slot).plus().done();
}

QByteArray seats(std::span<const Seat> taken)
{
    Builder b(Cmd::seats, 160);
    for (const Seat &seat : taken)
        b.plus()
            .num(seat.slot)
            .plus()
            .text(seat.name)
            .plus()
            .text(seat.watching ? "1" : "0")
            .plus()
            .text(seat.away ? "1" : "0");
    return b.done();
}

QByteArray foundwords(int slot, std::span<const FoundWord> words)
{
    Builder b(Cmd::foundwords, 32 + qsizetype(words.size()) * 20);
    b.plus().num(slot);
    for (const FoundWord &w : words)
        b.plus().text(w.word).plus().num(w.points).plus().num(int(w.finder));
    return b.done();
}

QByteArray hostclosing()
{
    return Builder(Cmd::hostclosing).plus().done();
}

} // namespace ToPlayer

namespace FromHost {

namespace {

// The first field: the text before the first "+", or all of it.
QByteArrayView firstField(QByteArrayView rest)
{
    const qsizetype plus = rest.indexOf('+');
    return plus < 0 ? rest : rest.first(plus);
}

// The next N fields as numbers; nothing when one of them is no number.
template<std::size_t N>
std::optional<std::array<int, N>> nextInts(FieldReader &fields)
{
    std::array<int, N> numbers {};
    for (int &number : numbers) {
        const auto value = fields.nextInt();
        if (!value)
            return std::nullopt;
        number = *value;
    }
    return numbers;
}

} // namespace

std::optional<int> sendlogininfo(QByteArrayView rest)
{
    const auto slot = FieldReader::toInt(firstField(rest));
    if (!slot || *slot < 1)
        return std::nullopt;
    return slot;
}

PlayerRecords newplayerinfo(QByteArrayView rest)
{
    PlayerRecords records;
    FieldReader fields(rest.toByteArray());
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto slot = fields.nextInt();
        if (!slot) {
            records.complete = false;
            break;
        }
        const QString name = fromWire(fields.next());
        records.players.append({*slot, name, fields.next() == "1"});
    }
    return records;
}

std::optional<PlayerLeft> playerdisconnected(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto slot = fields.nextInt();
    if (!slot)
        return std::nullopt;
    return PlayerLeft {*slot, fromWire(fields.rest())};
}

std::optional<JustWatching> justwatching(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto slot = fields.nextInt();
    if (!slot)
        return std::nullopt;
    return JustWatching {*slot, fields.rest() == "1" ? WatchMode::Watch : WatchMode::PlayAgain};
}

std::optional<AddScore> addscore(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto scored = nextInts<2>(fields);
    if (!scored)
        return std::nullopt;
    return AddScore {(*scored)[0], (*scored)[1], fields.nextInt()};
}

std::optional<LoadStats> loadstats(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto slot = fields.nextInt();
    if (!slot)
        return std::nullopt;
    LoadStats stats {*slot, std::nullopt};
    const auto target = fields.nextInt();
    const auto seconds = FieldReader::toInt(fields.next());
    // The board-size code, the minimum word length, the seconds left and the phase.
    const auto game = nextInts<4>(fields);
    if (!target || !game)
        return stats;
    const auto [code, minimum, left, phase] = *game;
    GameUnderWay underWay {*target, seconds, code, minimum, left, HostPhase(phase), {}, true};
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto pair = nextInts<2>(fields);
        if (!pair) {
            underWay.complete = false;
            break;
        }
        underWay.scores.append({(*pair)[0], (*pair)[1]});
    }
    stats.game = std::move(underWay);
    return stats;
}

std::optional<MainList> mainlist(QByteArrayView rest)
{
    const QByteArrayView slotField = firstField(rest);
    const auto slot = FieldReader::toInt(slotField);
    if (!slot)
        return std::nullopt;
    MainList list {*slot, {}};
    if (slotField.size() < rest.size()) {
        for (const QByteArray &word : rest.sliced(slotField.size() + 1).toByteArray().split('+')) {
            if (!word.isEmpty())
                list.words.append(fromWire(word));
        }
    }
    if (list.words == QStringList {QStringLiteral("No Words")})
        list.words.clear();
    return list;
}

StartGame startgame(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    StartGame start;
    start.starter = fromWire(fields.next());
    start.target = fromWire(fields.next());
    start.roundSeconds = FieldReader::toInt(fields.next());
    const QByteArray code = fields.next();
    start.minLetters = FieldReader::toInt(fields.next());
    if (start.minLetters)
        start.boardCode = FieldReader::toInt(code);
    return start;
}

std::optional<int> nextplayer(QByteArrayView rest)
{
    return FieldReader(rest.toByteArray()).nextInt();
}

TimeUp timeup(QByteArrayView rest)
{
    TimeUp scores;
    FieldReader fields(rest.toByteArray());
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto record = nextInts<3>(fields);
        if (!record) {
            scores.complete = false;
            break;
        }
        scores.scores.append({(*record)[0], (*record)[1], (*record)[2]});
    }
    return scores;
}

QString winner(QByteArrayView rest)
{
    return fromWire(FieldReader(rest.toByteArray()).next());
}

QList<BoardCell> loadboard(QByteArrayView rest)
{
    QList<BoardCell> cells;
    FieldReader fields(rest.toByteArray());
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto cell = nextInts<3>(fields);
        if (!cell)
            break;
        cells.append({(*cell)[0], (*cell)[1], (*cell)[2]});
    }
    return cells;
}

std::optional<GoodWord> goodword(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto scored = nextInts<2>(fields);
    const QString word = fromWire(fields.next());
    const auto tilesAndFirst = nextInts<2>(fields);
    if (!scored || !tilesAndFirst)
        return std::nullopt;
    const auto [tiles, first] = *tilesAndFirst;
    return GoodWord {(*scored)[0], (*scored)[1], word, tiles, first == 1 ? Finder::First : Finder::Later};
}

std::optional<NotValid> notvalid(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto head = nextInts<2>(fields);
    if (!head)
        return std::nullopt;
    return NotValid {(*head)[0], RejectReason((*head)[1]), fromWire(fields.next())};
}

QString text(QByteArrayView rest)
{
    return fromWire(rest);
}

std::optional<RejoinTicket> rejointoken(QByteArrayView rest)
{
    FieldReader fields(rest.toByteArray());
    const auto slot = fields.nextInt();
    const auto token = tokenFromText(fields.next());
    const auto grace = fields.nextInt();
    if (!slot || *slot < 1 || !token || !grace || *grace < 1 || *grace > maxGraceSeconds)
        return std::nullopt;
    return RejoinTicket {*slot, *token, *grace};
}

std::optional<int> slotOf(QByteArrayView rest)
{
    return FieldReader(rest.toByteArray()).nextInt();
}

Seats seats(QByteArrayView rest)
{
    Seats taken;
    FieldReader fields(rest.toByteArray());
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto slot = fields.nextInt();
        if (!slot) {
            taken.complete = false;
            break;
        }
        const QString name = fromWire(fields.next());
        const bool watching = fields.next() == "1";
        taken.seats.append({*slot, name, watching, fields.next() == "1"});
    }
    return taken;
}

std::optional<FoundWords> foundwords(QByteArrayView rest)
{
    // The slot may be the whole message: a round without words.
    const QByteArrayView slotField = firstField(rest);
    const auto slot = FieldReader::toInt(slotField);
    if (!slot)
        return std::nullopt;
    FoundWords found {*slot, {}, true};
    if (slotField.size() == rest.size())
        return found;
    FieldReader fields(rest.sliced(slotField.size() + 1).toByteArray());
    fields.beginList();
    while (!fields.atListEnd()) {
        const QString word = fromWire(fields.next());
        const auto numbers = nextInts<2>(fields);
        if (!numbers || found.words.size() >= maxFoundWords) {
            found.complete = false;
            break;
        }
        found.words.append({word, (*numbers)[0], (*numbers)[1] == int(Finder::First)});
    }
    return found;
}

} // namespace FromHost

} // namespace Wire
