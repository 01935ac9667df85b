#include "qtspeaker.h"

#include <QLoggingCategory>
#include <QTextToSpeech>

Q_LOGGING_CATEGORY(lcSpeech, "wendlewick.speech", QtWarningMsg)

QtSpeaker::QtSpeaker(QObject *parent)
    : QObject(parent)
{ }

bool QtSpeaker::ready()
{
    if (!engine_) {
        engine_ = new QTextToSpeech(this);
        if (engine_->state() == QTextToSpeech::Error)
            qCWarning(lcSpeech) << "no speech:" << engine_->errorString();
        connect(engine_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Ready)
                sayNextLine();
        });
    }
    return engine_->state() != QTextToSpeech::Error;
}

void QtSpeaker::say(const QString &text, Kind kind)
{
    if (!ready())
        return;
    if (kind == Kind::Chat) {
        waiting_.append(text);
        while (waiting_.size() > maxWaitingLines)
            waiting_.removeFirst();
        sayNextLine();
        return;
    }
    // The newest news counts: a sentence still being spoken gives way.
    engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
    engine_->say(text);
}

void QtSpeaker::sayNextLine()
{
    // The engine tells its states late: news said since then is still to be heard.
    if (!waiting_.isEmpty() && engine_->state() == QTextToSpeech::Ready)
        engine_->say(waiting_.takeFirst());
}
