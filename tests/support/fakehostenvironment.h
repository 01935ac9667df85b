#pragma once

#include "boarddealer.h"
#include "hostenvironment.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <memory>
#include <random>

// The host's environment for tests: a small word list and settable options.
class FakeHostEnvironment : public HostEnvironment
{
public:
    QSet<QByteArray> words;
    int pause = 10;
    bool autoStart = false;
    QString version = QStringLiteral("1.0.7");

    bool isword(QByteArrayView word) const override { return words.contains(word.toByteArray()); }
    int pauseBetweenRounds() const override { return pause; }
    bool autoStartNextGame() const override { return autoStart; }
    QString versionText() const override { return version; }
};

// A draw that deals chosen boards: scripted letters, one per cell in dealing order
// (row by row), repeated when the script runs out. Draws for the board size (code 8)
// take `sizeDraw`.
class ScriptedDraw
{
public:
    explicit ScriptedDraw(QByteArray letters = "abcd");
    void setLetters(const QByteArray &letters);
    // What draws of other bounds return (modulo the bound).
    void setSizeDraw(int value) { state_->sizeDraw = value; }
    UniformDraw draw();

private:
    struct State
    {
        QByteArray letters;
        qsizetype next = 0;
        int sizeDraw = 0;
    };
    std::shared_ptr<State> state_;
};

// A uniform draw from a seeded generator.
UniformDraw seededDraw(quint32 seed);
