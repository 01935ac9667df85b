#pragma once

#include <QString>

// Where spoken announcements go: a text-to-speech engine in the program, a recording
// fake in tests. Speaking never blocks; a new sentence may cut the one before it.
class Speaker
{
public:
    virtual ~Speaker() = default;
    virtual void say(const QString &text) = 0;
};
