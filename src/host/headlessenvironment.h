#pragma once

#include "hostenvironment.h"

#include <QTemporaryDir>

#include <memory>

class TDictn;

// The windowless host's environment: the built-in word list, written into a private
// temporary folder (so that a player's program started in the same folder keeps its
// own "English"), and the pause and automatic restart from the command line.
class HeadlessEnvironment : public HostEnvironment
{
public:
    HeadlessEnvironment(int pauseSeconds, bool autoStart);
    ~HeadlessEnvironment() override;

    // False when the word list could not be written or opened.
    bool isReady() const;
    // The word list (only when isReady()); the computer players read it too.
    const TDictn &dictionary() const { return *spell_; }

    bool isword(QByteArrayView word) const override;
    int pauseBetweenRounds() const override { return pause_; }
    bool autoStartNextGame() const override { return autoStart_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TDictn> spell_;
    int pause_;
    bool autoStart_;
};
