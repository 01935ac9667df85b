#include "fieldreader.h"

#include <limits>

FieldReader::FieldReader(QByteArray rest)
    : text_(std::move(rest))
{ }

QByteArray FieldReader::next()
{
    const qsizetype plus = text_.indexOf('+', pos_);
    if (plus < 0)
        return {};
    QByteArray field = text_.sliced(pos_, plus - pos_);
    pos_ = plus + 1;
    return field;
}

std::optional<int> FieldReader::nextInt()
{
    return toInt(next());
}

void FieldReader::beginList()
{
    QByteArray listed = rest();
    listed += "+@";
    text_ = std::move(listed);
    pos_ = 0;
}

bool FieldReader::atListEnd() const
{
    return text_.size() - pos_ == 1 && text_.at(pos_) == '@';
}

std::optional<int> FieldReader::toInt(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    const QByteArrayView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

std::pair<QByteArray, QByteArray> FieldReader::splitCommand(const QByteArray &message)
{
    const qsizetype plus = message.indexOf('+');
    if (plus < 0)
        return {};
    return {message.first(plus), message.sliced(plus + 1)};
}
