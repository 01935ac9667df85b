#include "qtspeaker.h"

#include <QLoggingCategory>
#include <QTextToSpeech>

Q_LOGGING_CATEGORY(lcSpeech, "wendlewick.speech", QtWarningMsg)

QtSpeaker::QtSpeaker(QObject *parent)
    : QObject(parent)
{ }

void QtSpeaker::say(const QString &text)
{
    if (!engine_) {
        engine_ = new QTextToSpeech(this);
        if (engine_->state() == QTextToSpeech::Error)
            qCWarning(lcSpeech) << "no speech:" << engine_->errorString();
    }
    if (engine_->state() == QTextToSpeech::Error)
        return;
    // The newest news counts: a sentence still being spoken gives way.
    engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
    engine_->say(text);
}
