#pragma once

#include "speaker.h"

#include <QStringList>

// A Speaker for tests: records the sentences, says nothing.
class RecordingSpeaker : public Speaker
{
public:
    void say(const QString &text) override { said.append(text); }

    QStringList said;
};
