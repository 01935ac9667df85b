#pragma once

#include "acceptedword.h"
#include "verdictmark.h"
#include "wire.h"

#include <QByteArrayView>
#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class TallyList;

// The fate of this player's words during a round: the host's answers "CMD_goodword"
// and "CMD_notvalid", the lines of the words panel and the count of accepted words.
// It shows and plays nothing itself: the words panel follows lineAdded(), cleared()
// and countChanged(); the main window shows statusChanged() in label_status, plays
// soundRequested() and empties the word in progress on clearWordRequested().
class WordResults : public QObject
{
    Q_OBJECT

public:
    // The round review keeps at most this many accepted words (a host that floods).
    static constexpr int maxAccepted = 5000;
    // A word longer than this is shown cut, with "…" (no word has more than 12 letters).
    static constexpr int maxShownChars = 24;
    // Accepted words of this many letters raise the "12 Letters Words" tally.
    static constexpr int longWordLetters = 12;

    explicit WordResults(QObject *parent = nullptr);

    // The player's own slot; answers for other slots are ignored.
    void setMyslot(int slot) { myslot_ = slot; }
    int myslot() const { return myslot_; }
    // The tally that counts long words; none by default.
    void setTally(TallyList *tally) { tally_ = tally; }

    // Words accepted this round (the tag of richedit_words) and its caption for
    // label_found: "Count: " and the number.
    int count() const { return count_; }
    QString countText() const { return countText(count_); }
    static QString countText(int count) { return QStringLiteral("Count: ") + QString::number(count); }
    // This round's accepted words, in the order they came.
    const QList<AcceptedWord> &acceptedWords() const { return accepted_; }

    // Appends one line to the words panel. The colour is a verdict's (its mark goes
    // with it) or any other (no mark).
    void addword(const QString &text, const QColor &colour);
    // The fields of "CMD_goodword" after the command word: slot, points, word, tiles,
    // first flag. A number field that does not convert stops the handling.
    void goodword(QByteArrayView data);
    // The fields of "CMD_notvalid" after the command word: slot, reason, word.
    void notvalid(QByteArrayView data);
    // The host accepted this player's `word` for `points`; `first` when nobody found it
    // before in the round.
    void accept(const QString &word, int points, bool first);
    // The host refused this player's `word`: a status for the reasons it gives, the
    // word in its colour, "invalid" and an empty word in progress.
    void refuse(Wire::RejectReason reason, const QString &word);
    // A word the host had accepted in the round, shown again for a player who came
    // back after a drop: its line and its count, once, without a status or a sound.
    // False, showing nothing, for a word a claim cannot make, one shown already, or one
    // past the most the panel keeps.
    bool restore(const QString &word, int points, bool first);
    // The status text of a host's refusal ("Invalid Word." ...).
    static QString reasonText(Wire::RejectReason reason);
    // The round starts: the panel empties and the count returns to 0.
    void startRound();

    // A host's word made fit for one line: control characters become "?", and a word
    // longer than maxShownChars is cut with "…".
    static QString shownWord(const QString &word);
    // 3 to 12 letters A to Z: a word a claim can make.
    static bool isGameWord(const QString &word);

Q_SIGNALS:
    void lineAdded(const QString &text, const QColor &colour, VerdictMark::Kind mark);
    void cleared();
    void countChanged(int count);
    void statusChanged(const QString &text);
    void soundRequested(const QString &name);
    void clearWordRequested();

private:
    int myslot_ = 0;
    int count_ = 0;
    TallyList *tally_ = nullptr;
    QList<AcceptedWord> accepted_;
    QHash<QString, qsizetype> acceptedIndex_;
};
