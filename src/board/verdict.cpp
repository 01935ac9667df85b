#include "verdict.h"

Verdict Verdict::judge(
    const QString &word, int letters, int minletters, bool alreadyTried, bool isWord, bool connected)
{
    Verdict v;
    v.word = word;
    if (letters <= 0)
        return v;
    if (letters <= 2) {
        v.row = Row::TooFewLetters;
        v.status = notEnoughLetters;
        v.sound = QStringLiteral("invalid");
    } else if (letters < minletters) {
        v.row = Row::BelowMinimum;
        v.status = notEnoughLetters;
        v.panelColour = orange;
        v.sound = QStringLiteral("invalid");
    } else if (alreadyTried) {
        v.row = Row::AlreadyFound;
        v.status = alreadyFound;
        v.panelColour = maroon;
        v.sound = QStringLiteral("invalid");
    } else if (!isWord) {
        v.row = Row::NotAWord;
        v.status = invalidWord;
        v.panelColour = black;
        v.sound = QStringLiteral("invalid");
    } else {
        v.row = Row::Passed;
        v.send = connected;
        if (connected)
            v.sound = QStringLiteral("sendword");
    }
    return v;
}
