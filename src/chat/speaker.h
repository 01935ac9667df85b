#pragma once

#include <QString>

// Where spoken announcements go: a text-to-speech engine in the program, a recording
// fake in tests. Speaking never blocks. Game news cuts short whatever is being said;
// a chat line waits until the speaker is quiet, so it never cuts off the news.
class Speaker
{
public:
    enum class Kind { News, Chat };

    virtual ~Speaker() = default;
    virtual void say(const QString &text, Kind kind) = 0;
};
