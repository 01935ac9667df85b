#pragma once

#include "speaker.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// What happens in the game, told in one sentence for players who do not see the
// board: this player's verdicts, refusals and their reasons, a round's start and end,
// the winner and the chat's lines. Every sentence comes out of announced() for the
// line assistive technology follows, and is also spoken when speech is switched on
// (off by default) and a speaker is set; chat lines are spoken as chat, which never
// cuts off the news. A sentence repeated within repeatMs is dropped.
class Announcer : public QObject
{
    Q_OBJECT

public:
    // A chat line longer than this is cut with "…" before it is told.
    static constexpr int maxChatChars = 200;

    // A sentence told again within this many milliseconds of the last time it came is
    // dropped.
    static constexpr qint64 repeatMs = 1000;
    // Milliseconds on a steady clock.
    using Clock = std::function<qint64()>;

    explicit Announcer(QObject *parent = nullptr);
    Announcer(Clock clock, QObject *parent = nullptr);

    void setSpeaker(Speaker *speaker) { speaker_ = speaker; }
    bool speaks() const { return speaks_; }
    void setSpeaks(bool on) { speaks_ = on; }
    QString last() const { return last_; }

    // The events, each told at once.
    void wordAccepted(const QString &word, int points, bool first);
    // `word` may be empty (a tile that could not join the word).
    void wordRefused(const QString &word, const QString &reason);
    void roundStarted(bool playing, int seconds);
    void roundEnded();
    // The winner banner's text ("Ann has Won the Game!").
    void gameWon(const QString &text);
    // A coded chat line as the chat view takes it ("3+Ann chats: hi :)#12").
    void chatLine(const QString &codedLine);

    // The sentences.
    static QString acceptedText(const QString &word, int points, bool first);
    static QString refusedText(const QString &word, const QString &reason);
    static QString roundStartText(bool playing, int seconds);
    static QString roundEndText();
    // A chat line without its code and smilies, made fit for one line; empty for a
    // line the chat view would not show.
    static QString chatText(const QString &codedLine);

Q_SIGNALS:
    void announced(const QString &sentence);

private:
    void tell(const QString &sentence, Speaker::Kind kind = Speaker::Kind::News);

    Clock clock_;
    Speaker *speaker_ = nullptr;
    bool speaks_ = false;
    QString last_;
    std::optional<qint64> lastAt_; // when last_ last came, told or not
};
