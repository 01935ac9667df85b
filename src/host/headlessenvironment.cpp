#include "headlessenvironment.h"

#include "tdictn.h"

HeadlessEnvironment::HeadlessEnvironment(int pauseSeconds, bool autoStart)
    : pause_(pauseSeconds)
    , autoStart_(autoStart)
{
    if (folder_.isValid())
        spell_ = std::make_unique<TDictn>(folder_.path(), TDictn::builtinResource);
}

HeadlessEnvironment::~HeadlessEnvironment() = default;

bool HeadlessEnvironment::isReady() const
{
    return spell_ && spell_->isOpen() && spell_->recordCount() > 0;
}

bool HeadlessEnvironment::isword(QByteArrayView word) const
{
    return spell_ && spell_->isword(word);
}
