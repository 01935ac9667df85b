#include "companionwire.h"

#include <array>
#include <utility>

namespace CompanionWire {

namespace {

constexpr QByteArrayView endedVerb = "ended";

constexpr std::array<std::pair<Ending, QByteArrayView>, 4> reasons {{
    {Ending::HostClosed, "host-closed"},
    {Ending::Removed, "removed"},
    {Ending::Full, "full"},
    {Ending::Lost, "lost"},
}};

bool printable(QByteArrayView line)
{
    for (const char c : line)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

// The field at `index` (blank-separated, counted from 0); empty past the last.
QByteArrayView field(QByteArrayView line, int index)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype blank = line.indexOf(' ', start);
        if (blank < 0)
            return {};
        start = blank + 1;
    }
    const qsizetype end = line.indexOf(' ', start);
    return line.sliced(start, (end < 0 ? line.size() : end) - start);
}

} // namespace

QByteArray encode(const Message &message)
{
    QByteArray line = QByteArray(formatTag) + ' ' + endedVerb.toByteArray() + ' ';
    for (const auto &[ending, name] : reasons)
        if (ending == message.ending)
            line += name.toByteArray();
    return line + '\n';
}

std::optional<Message> decode(QByteArrayView line)
{
    if (line.size() >= maxLineBytes || !printable(line) || field(line, 0) != QByteArrayView(formatTag)
        || field(line, 1) != endedVerb)
        return std::nullopt;
    const QByteArrayView reason = field(line, 2);
    for (const auto &[ending, name] : reasons)
        if (reason == name)
            return Message {ending};
    return std::nullopt;
}

QList<Message> Reader::append(QByteArrayView bytes)
{
    QList<Message> messages;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        if (!skipping_) {
            if (partial_.size() + piece.size() >= maxLineBytes) {
                partial_.clear();
                skipping_ = true;
            } else {
                partial_ += piece;
            }
        }
        if (end < 0)
            break;
        if (!skipping_) {
            if (const auto message = decode(partial_))
                messages << *message;
        }
        partial_.clear();
        skipping_ = false;
        bytes = bytes.sliced(end + 1);
    }
    return messages;
}

} // namespace CompanionWire
