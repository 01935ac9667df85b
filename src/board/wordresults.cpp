#include "wordresults.h"

#include "fieldreader.h"
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
    FieldReader fields {data.toByteArray()};
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    const auto points = fields.nextInt();
    if (!points)
        return;
    const QString word = Wire::fromWire(fields.next());
    const auto tiles = fields.nextInt();
    if (!tiles)
        return;
    const auto first = fields.nextInt();
    if (!first)
        return;
    if (myslot_ < 1 || *slot != myslot_)
        return;

    const QString shown = shownWord(word);
    const QString pointsText = QString::number(*points);
    Q_EMIT statusChanged(QStringLiteral("You made ") + shown + QStringLiteral(" for ") + pointsText
        + QStringLiteral(" points!"));
    if (count_ < std::numeric_limits<int>::max())
        ++count_;
    Q_EMIT countChanged(count_);
    // Only a word a claim can make counts: no word has more than 12 letters.
    if (tally_ && isGameWord(word) && word.size() >= longWordLetters)
        tally_->addtomineincrease(TallyList::longWords);
    addword(pointsText + QStringLiteral(" : ") + shown,
        *first == 1 ? VerdictMark::lightYellow : VerdictMark::white);
    Q_EMIT wordAccepted(shown, *points, *first == 1);

    const QString key = word.toUpper();
    if (isGameWord(key) && accepted_.size() < maxAccepted && !acceptedIndex_.contains(key)) {
        acceptedIndex_.insert(key, accepted_.size());
        accepted_.append({key, *points, *first == 1});
    }
}

void WordResults::notvalid(QByteArrayView data)
{
    FieldReader fields {data.toByteArray()};
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    const auto reason = fields.nextInt();
    if (!reason)
        return;
    const QString word = shownWord(Wire::fromWire(fields.next()));
    if (myslot_ < 1 || *slot != myslot_)
        return;

    QString status;
    QColor colour;
    switch (*reason) {
    case 1:
        status = Verdict::invalidWord;
        colour = VerdictMark::black;
        break;
    case 2:
        status = Verdict::alreadyFound;
        colour = VerdictMark::maroon;
        break;
    case 3:
        status = Verdict::notEnoughLetters;
        colour = VerdictMark::orange;
        break;
    default:
        break;
    }
    if (!status.isEmpty()) {
        Q_EMIT statusChanged(status);
        if (!word.isEmpty())
            addword(word, colour);
        Q_EMIT wordRefused(word, status);
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
