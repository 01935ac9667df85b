#pragma once

#include <QString>

#include <stdexcept>

// A failed socket operation ("Send - Socket Not Connected", "Listen - Error Binding
// Socket", ...). what() and text() carry the same message.
class ESockException : public std::runtime_error
{
public:
    explicit ESockException(const QString &text)
        : std::runtime_error(text.toStdString())
        , text_(text)
    { }

    QString text() const { return text_; }

private:
    QString text_;
};
