#include "companionwire.h"

#include <algorithm>
#include <array>
#include <utility>

namespace CompanionWire {

namespace {

constexpr QByteArrayView endedVerb = "ended";
constexpr QByteArrayView rejoinField = "rejoin";

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
    if (message.ending == Ending::Lost && message.rejoinSeconds > 0)
        line += ' ' + rejoinField.toByteArray() + ' '
            + QByteArray::number(std::min(message.rejoinSeconds, maxRejoinSeconds));
    return line + '\n';
}

std::optional<Message> decode(QByteArrayView line)
{
    if (line.size() >= maxLineBytes || !printable(line) || field(line, 0) != QByteArrayView(formatTag)
        || field(line, 1) != endedVerb)
        return std::nullopt;
    const QByteArrayView reason = field(line, 2);
    for (const auto &[ending, name] : reasons) {
        if (reason != name)
            continue;
        Message message {ending, 0};
        // Anything else after the reason is a later program's, and ignored.
        if (ending == Ending::Lost && field(line, 3) == rejoinField) {
            const QByteArrayView seconds = field(line, 4);
            const bool digits = !seconds.isEmpty() && seconds.size() <= 5
                && std::all_of(seconds.begin(), seconds.end(), [](char c) { return c >= '0' && c <= '9'; });
            const int value = digits ? seconds.toInt() : 0;
            if (value >= 1 && value <= maxRejoinSeconds)
                message.rejoinSeconds = value;
        }
        return message;
    }
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
