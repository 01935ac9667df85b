#include "inputbuffer.h"

#include <algorithm>

#include "wire.h"

InputBuffer::InputBuffer()
    : InputBuffer(Limits {})
{ }

InputBuffer::InputBuffer(Limits limits)
    : limits_(limits)
{ }

bool InputBuffer::append(QByteArrayView bytes)
{
    if (overflowed_)
        return false;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf(Wire::terminator);
        if (end < 0) {
            if (partial_.size() + bytes.size() > limits_.maxPartialBytes) {
                overflow();
                return false;
            }
            partial_ += bytes;
            return true;
        }
        if (partial_.size() + end > limits_.maxPartialBytes) {
            overflow();
            return false;
        }
        if (partial_.isEmpty()) {
            queue(bytes.first(end));
        } else {
            partial_ += bytes.first(end);
            queue(partial_);
            partial_.clear();
        }
        if (overflowed_)
            return false;
        bytes = bytes.sliced(end + 1);
    }
    return true;
}

void InputBuffer::queue(QByteArrayView message)
{
    if (message.isEmpty())
        return;
    if (qsizetype(queue_.size()) >= limits_.maxQueuedMessages
        || queuedBytes_ + message.size() > limits_.maxQueuedBytes) {
        overflow();
        return;
    }
    queue_.emplace_back(message.toByteArray());
    queuedBytes_ += message.size();
}

QByteArray InputBuffer::takeMessage()
{
    if (queue_.empty())
        return {};
    QByteArray message = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= message.size();
    return message;
}

void InputBuffer::overflow()
{
    overflowed_ = true;
    partial_.clear();
    partial_.squeeze();
    queue_.clear();
    queuedBytes_ = 0;
}

void InputBuffer::clear()
{
    overflowed_ = false;
    partial_.clear();
    queue_.clear();
    queuedBytes_ = 0;
}

bool InputBuffer::holds(QByteArrayView message) const
{
    return std::any_of(queue_.begin(), queue_.end(), [message](const QByteArray &m) { return m == message; });
}
