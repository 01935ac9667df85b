#pragma once

#include "speaker.h"

#include <QList>
#include <QStringList>

// A Speaker for tests: records the sentences and their kinds, says nothing.
class RecordingSpeaker : public Speaker
{
public:
    void say(const QString &text, Kind kind) override
    {
        said.append(text);
        kinds.append(kind);
    }

    QStringList said;
    QList<Kind> kinds;
};
