#include "tunnelcodec.h"

namespace {

QByteArray header(TunnelCodec::Kind kind, qsizetype length)
{
    QByteArray h(TunnelCodec::headerBytes, Qt::Uninitialized);
    h[0] = char(kind);
    h[1] = char((length >> 8) & 0xff);
    h[2] = char(length & 0xff);
    return h;
}

} // namespace

QByteArray TunnelCodec::data(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + (bytes.size() / maxDataBytes + 1) * headerBytes);
    for (qsizetype at = 0; at < bytes.size(); at += maxDataBytes) {
        const QByteArrayView piece = bytes.sliced(at, std::min<qsizetype>(maxDataBytes, bytes.size() - at));
        out += header(Kind::Data, piece.size());
        out += piece;
    }
    return out;
}

QByteArray TunnelCodec::alive()
{
    return header(Kind::Alive, 0);
}

QByteArray TunnelCodec::close()
{
    return header(Kind::Close, 0);
}

bool TunnelCodec::feed(QByteArrayView bytes, QList<Frame> &frames)
{
    if (broken_)
        return false;
    qsizetype at = 0;
    while (at < bytes.size()) {
        // Complete the header first, then the body, never holding more than one frame.
        if (partial_.size() < headerBytes) {
            const qsizetype take = std::min(headerBytes - partial_.size(), bytes.size() - at);
            partial_.append(bytes.sliced(at, take));
            at += take;
            if (partial_.size() < headerBytes)
                break;
            const quint8 kind = quint8(partial_[0]);
            const int length = (quint8(partial_[1]) << 8) | quint8(partial_[2]);
            const bool valid = (kind == quint8(Kind::Data) && length >= 1 && length <= maxDataBytes)
                || ((kind == quint8(Kind::Alive) || kind == quint8(Kind::Close)) && length == 0);
            if (!valid) {
                broken_ = true;
                partial_.clear();
                return false;
            }
        }
        const int length = (quint8(partial_[1]) << 8) | quint8(partial_[2]);
        const qsizetype missing = headerBytes + length - partial_.size();
        const qsizetype take = std::min(missing, bytes.size() - at);
        partial_.append(bytes.sliced(at, take));
        at += take;
        if (take < missing)
            break;
        frames.append({Kind(quint8(partial_[0])), partial_.mid(headerBytes)});
        partial_.clear();
    }
    return true;
}
