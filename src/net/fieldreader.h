#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <utility>

// Reads the fields of one message, front to back. Fields are separated by "+";
// there is no escaping, so a field that may hold "+" is always the last one and is
// read with rest().
//
// next() returns the text before the next "+" and removes it and the "+". When no
// "+" is left it returns an empty field and leaves the rest as it is.
//
// A list (the tiles of a claim, the records of a roster message) is read by calling
// beginList(), which appends "+@" as an end mark, and taking fields until
// atListEnd() (the rest is exactly "@"). The loop always ends: every next() on a
// rest that is not "@" removes at least one "+".
class FieldReader
{
public:
    explicit FieldReader(QByteArray rest);

    QByteArray next();
    // next() converted with toInt(); nullopt when the field is not a number, in
    // which case the caller abandons the message.
    std::optional<int> nextInt();
    QByteArray rest() const { return text_.sliced(pos_); }
    bool isEmpty() const { return pos_ >= text_.size(); }

    void beginList();
    bool atListEnd() const;

    // Strict decimal conversion: an optional "-", then 1 to 10 digits, nothing else
    // (no blanks, no "+", no hexadecimal), within the signed 32-bit range.
    static std::optional<int> toInt(QByteArrayView text);

    // Splits a message into its command word (the text before the first "+") and
    // the rest after that "+". A message without "+" has an empty command word.
    static std::pair<QByteArray, QByteArray> splitCommand(const QByteArray &message);

private:
    QByteArray text_;
    qsizetype pos_ = 0;
};
