#include "wordresults.h"

#include "tallylist.h"
#include "verdict.h"
#include "wire.h"

#include <limits>

WordResults::WordResults(QObject *parent)
    : QObject(parent)
{ }

void WordResults::addword(const QString &text, const QColor &colour)
{
    Q_EMIT lineAdded(text, colour, VerdictMark::forColour(colour));
}

void WordResults::goodword(QByteArrayView data)
{
    const auto word = Wire::FromHost::goodword(data);
    if (word && myslot_ >= 1 && word->slot == myslot_)
        accept(word->word, word->points, word->finder == Wire::Finder::First);
}

void WordResults::notvalid(QByteArrayView data)
{
    const auto refusal = Wire::FromHost::notvalid(data);
    if (refusal && myslot_ >= 1 && refusal->slot == myslot_)
        refuse(refusal->reason, refusal->word);
}

void WordResults::accept(const QString &word, int points, bool first)
{
    const QString shown = shownWord(word);
    const QString pointsText = QString::number(points);
    Q_EMIT statusChanged(QStringLiteral("You made ") + shown + QStringLiteral(" for ") + pointsText
        + QStringLiteral(" points!"));
    if (count_ < std::numeric_limits<int>::max())
        ++count_;
    Q_EMIT countChanged(count_);
    // Only a word a claim can make counts: no word has more than 12 letters.
    if (tally_ && isGameWord(word) && word.size() >= longWordLetters)
        tally_->addtomineincrease(TallyList::longWords);
    addword(
        pointsText + QStringLiteral(" : ") + shown, first ? VerdictMark::lightYellow : VerdictMark::white);

    const QString key = word.toUpper();
    if (isGameWord(key) && accepted_.size() < maxAccepted && !acceptedIndex_.contains(key)) {
        acceptedIndex_.insert(key, accepted_.size());
        accepted_.append({key, points, first});
    }
}

bool WordResults::restore(const QString &word, int points, bool first)
{
    const QString key = word.toUpper();
    if (!isGameWord(key) || acceptedIndex_.contains(key) || accepted_.size() >= maxAccepted)
        return false;
    acceptedIndex_.insert(key, accepted_.size());
    accepted_.append({key, points, first});
    if (count_ < std::numeric_limits<int>::max())
        ++count_;
    Q_EMIT countChanged(count_);
    addword(QString::number(points) + QStringLiteral(" : ") + shownWord(key),
        first ? VerdictMark::lightYellow : VerdictMark::white);
    return true;
}

QString WordResults::reasonText(Wire::RejectReason reason)
{
    switch (reason) {
    case Wire::RejectReason::NotAWord:
        return Verdict::invalidWord;
    case Wire::RejectReason::AlreadyFound:
        return Verdict::alreadyFound;
    case Wire::RejectReason::TooShort:
        return Verdict::notEnoughLetters;
    }
    return {};
}

void WordResults::refuse(Wire::RejectReason reason, const QString &word)
{
    const QString shown = shownWord(word);
    const QString status = reasonText(reason);
    QColor colour;
    switch (reason) {
    case Wire::RejectReason::NotAWord:
        colour = VerdictMark::black;
        break;
    case Wire::RejectReason::AlreadyFound:
        colour = VerdictMark::maroon;
        break;
    case Wire::RejectReason::TooShort:
        colour = VerdictMark::orange;
        break;
    }
    if (!status.isEmpty()) {
        Q_EMIT statusChanged(status);
        if (!shown.isEmpty())
            addword(shown, colour);
    }
    Q_EMIT soundRequested(QStringLiteral("invalid"));
    Q_EMIT clearWordRequested();
}

void WordResults::startRound()
{
    count_ = 0;
    accepted_.clear();
    acceptedIndex_.clear();
    Q_EMIT cleared();
    Q_EMIT countChanged(count_);
}

QString WordResults::shownWord(const QString &word)
{
    QString shown = word.size() > maxShownChars ? word.left(maxShownChars - 1) + QChar(0x2026) : word;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u'?';
    }
    return shown;
}

bool WordResults::isGameWord(const QString &word)
{
    if (word.size() < 3 || word.size() > 12)
        return false;
    for (const QChar c : word) {
        const char16_t u = c.unicode() | 0x20;
        if (u < u'a' || u > u'z')
            return false;
    }
    return true;
}
