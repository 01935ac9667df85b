#pragma once

#include "speaker.h"

#include <QObject>

class QTextToSpeech;

// Speaks through Qt Text to Speech (speech-dispatcher on Linux). The engine is made
// on the first sentence, never at start-up; where no engine works, nothing is said.
class QtSpeaker : public QObject, public Speaker
{
    Q_OBJECT

public:
    explicit QtSpeaker(QObject *parent = nullptr);

    void say(const QString &text) override;

private:
    QTextToSpeech *engine_ = nullptr;
};
