#pragma once

#include "speaker.h"

#include <QObject>
#include <QStringList>

class QTextToSpeech;

// Speaks through Qt Text to Speech (speech-dispatcher on Linux). The engine is made
// on the first sentence, never at start-up; where no engine works, nothing is said.
// Chat lines that arrive while it speaks wait their turn (the newest few only).
class QtSpeaker : public QObject, public Speaker
{
    Q_OBJECT

public:
    static constexpr int maxWaitingLines = 3;

    explicit QtSpeaker(QObject *parent = nullptr);

    void say(const QString &text, Kind kind) override;

private:
    bool ready();
    void sayNextLine();

    QTextToSpeech *engine_ = nullptr;
    QStringList waiting_;
};
