#include "discoverywire.h"

#include <QtEndian>

#include <algorithm>

namespace DiscoveryWire {

namespace {

constexpr char magic[4] = {'W', 'W', 'D', 'G'};
constexpr quint8 runningFlag = 0x01;

bool isPrintable(char c)
{
    return c >= 0x21 && c <= 0x7E;
}

bool validSizeCode(int code)
{
    return code >= 4 && code <= 11;
}

bool validMinLetters(int letters)
{
    return letters >= 3 && letters <= 12;
}

class Writer
{
public:
    explicit Writer(QByteArray &out)
        : out_(out)
    { }
    void u8(quint8 v) { out_.append(char(v)); }
    void u16(quint16 v)
    {
        u8(quint8(v >> 8));
        u8(quint8(v));
    }
    void u32(quint32 v)
    {
        u16(quint16(v >> 16));
        u16(quint16(v));
    }
    void u64(quint64 v)
    {
        u32(quint32(v >> 32));
        u32(quint32(v));
    }
    void text(QByteArrayView bytes)
    {
        u8(quint8(bytes.size()));
        out_.append(bytes.data(), bytes.size());
    }

private:
    QByteArray &out_;
};

// Reads fields in order; every read past the end fails, and so does every later one.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : bytes_(bytes)
    { }
    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && at_ == bytes_.size(); }
    const uchar *take(qsizetype n)
    {
        if (!ok_ || n > bytes_.size() - at_) {
            ok_ = false;
            return nullptr;
        }
        const auto *p = reinterpret_cast<const uchar *>(bytes_.data() + at_);
        at_ += n;
        return p;
    }
    quint8 u8()
    {
        const uchar *p = take(1);
        return p ? *p : 0;
    }
    quint16 u16()
    {
        const uchar *p = take(2);
        return p ? qFromBigEndian<quint16>(p) : 0;
    }
    quint32 u32()
    {
        const uchar *p = take(4);
        return p ? qFromBigEndian<quint32>(p) : 0;
    }
    quint64 u64()
    {
        const uchar *p = take(8);
        return p ? qFromBigEndian<quint64>(p) : 0;
    }
    // A length byte, then that many bytes; fails above `limit`.
    QByteArray text(int limit)
    {
        const int n = u8();
        if (n > limit)
            ok_ = false;
        const uchar *p = take(n);
        return p ? QByteArray(reinterpret_cast<const char *>(p), n) : QByteArray();
    }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

void writeHeader(Writer &w, Kind kind, quint32 nonce)
{
    for (char c : magic)
        w.u8(quint8(c));
    w.u8(formatVersion);
    w.u8(quint8(kind));
    w.u16(0);
    w.u32(nonce);
}

} // namespace

QByteArray encodeQuery(quint32 nonce)
{
    QByteArray out;
    out.reserve(queryBytes);
    Writer w(out);
    writeHeader(w, Kind::Query, nonce);
    out.append(queryBytes - headerBytes, '\0');
    return out;
}

QByteArray encodeGame(const Game &game)
{
    if (game.port == 0 || game.kind == Kind::Query)
        return {};
    QByteArray version = game.version.first(std::min<qsizetype>(game.version.size(), maxVersionBytes));
    if (const auto bad = std::find_if_not(version.begin(), version.end(), isPrintable); bad != version.end())
        version.truncate(bad - version.begin());
    const quint8 capacity = std::clamp<quint8>(game.capacity, 1, maxCapacity);
    const quint8 players = std::min(game.players, capacity);
    const quint8 watchers = std::min<quint8>(game.watchers, capacity - players);

    QByteArray out;
    out.reserve(maxGameBytes);
    Writer w(out);
    writeHeader(w, game.kind, game.nonce);
    w.u64(game.instance);
    w.u16(game.port);
    w.u8(players);
    w.u8(watchers);
    w.u8(capacity);
    w.u8(game.running ? runningFlag : 0);
    w.u8(validSizeCode(game.sizeCode) ? game.sizeCode : 0);
    w.u8(validMinLetters(game.minLetters) ? game.minLetters : 0);
    w.u16(game.target);
    w.u16(game.roundSeconds);
    w.text(version);
    w.text(game.hostName.first(std::min<qsizetype>(game.hostName.size(), maxNameBytes)));
    return out;
}

std::optional<Datagram> decode(QByteArrayView bytes)
{
    if (bytes.size() < headerBytes || bytes.size() > maxDatagramBytes)
        return std::nullopt;
    Reader r(bytes);
    for (char c : magic)
        if (r.u8() != quint8(c))
            return std::nullopt;
    if (r.u8() != formatVersion)
        return std::nullopt;
    const quint8 kind = r.u8();
    r.u16();
    Datagram d;
    d.nonce = r.u32();
    switch (kind) {
    case quint8(Kind::Query):
        if (bytes.size() != queryBytes)
            return std::nullopt;
        d.kind = Kind::Query;
        return d;
    case quint8(Kind::Reply):
    case quint8(Kind::Hello):
    case quint8(Kind::Goodbye):
        d.kind = Kind(kind);
        break;
    default:
        return std::nullopt;
    }

    Game g;
    g.kind = d.kind;
    g.nonce = d.nonce;
    g.instance = r.u64();
    g.port = r.u16();
    g.players = r.u8();
    g.watchers = r.u8();
    g.capacity = r.u8();
    g.running = r.u8() & runningFlag;
    g.sizeCode = r.u8();
    g.minLetters = r.u8();
    g.target = r.u16();
    g.roundSeconds = r.u16();
    g.version = r.text(maxVersionBytes);
    g.hostName = r.text(maxNameBytes);
    if (!r.atEnd() || g.port == 0 || g.capacity < 1 || g.capacity > maxCapacity
        || g.players + g.watchers > g.capacity || (g.sizeCode != 0 && !validSizeCode(g.sizeCode))
        || (g.minLetters != 0 && !validMinLetters(g.minLetters))
        || !std::all_of(g.version.begin(), g.version.end(), isPrintable))
        return std::nullopt;
    d.game = std::move(g);
    return d;
}

} // namespace DiscoveryWire
