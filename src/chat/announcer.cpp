#include "announcer.h"

#include "codedline.h"

#include <QElapsedTimer>

Announcer::Announcer(QObject *parent)
    : Announcer(
        [] {
            static const QElapsedTimer started = [] {
                QElapsedTimer t;
                t.start();
                return t;
            }();
            return started.elapsed();
        },
        parent)
{ }

Announcer::Announcer(Clock clock, QObject *parent)
    : QObject(parent)
    , clock_(std::move(clock))
{ }

void Announcer::tell(const QString &sentence, Speaker::Kind kind)
{
    if (sentence.isEmpty())
        return;
    // The same sentence again and again (a drag over tiles that do not join) is told
    // once, until it has been quiet for a while.
    const qint64 now = clock_();
    const bool repeat = sentence == last_ && lastAt_ && now - *lastAt_ < repeatMs;
    lastAt_ = now;
    if (repeat)
        return;
    last_ = sentence;
    Q_EMIT announced(sentence);
    if (speaks_ && speaker_)
        speaker_->say(sentence, kind);
}

QString Announcer::acceptedText(const QString &word, int points, bool first)
{
    QString text = word.toUpper() + QStringLiteral(", ") + QString::number(points)
        + (points == 1 ? QStringLiteral(" point") : QStringLiteral(" points"));
    if (first)
        text += QStringLiteral(", first");
    return text;
}

QString Announcer::refusedText(const QString &word, const QString &reason)
{
    if (word.isEmpty())
        return reason;
    return word.toUpper() + QStringLiteral(" refused: ") + reason;
}

QString Announcer::roundStartText(bool playing, int seconds)
{
    const QString length
        = QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return playing ? QStringLiteral("Round starts, %1 to play. Type or walk the board.").arg(length)
                   : QStringLiteral("Round starts, %1. You are watching.").arg(length);
}

QString Announcer::roundEndText()
{
    return QStringLiteral("Round over.");
}

QString Announcer::chatText(const QString &codedLine)
{
    const auto line = CodedLine::parse(codedLine);
    if (!line)
        return {};
    QString text = line->head;
    for (const ChatItem &item : line->items) {
        if (item.kind != ChatItem::Smiley)
            text += item.text;
    }
    text = text.simplified();
    // Other players wrote it: no control character reaches the reader.
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u' ';
    }
    if (text.size() > maxChatChars)
        text = text.left(maxChatChars - 1) + QChar(0x2026);
    return text;
}

void Announcer::wordAccepted(const QString &word, int points, bool first)
{
    tell(acceptedText(word, points, first));
}

void Announcer::wordRefused(const QString &word, const QString &reason)
{
    tell(refusedText(word, reason));
}

void Announcer::roundStarted(bool playing, int seconds)
{
    tell(roundStartText(playing, seconds));
}

void Announcer::roundEnded()
{
    tell(roundEndText());
}

void Announcer::gameWon(const QString &text)
{
    tell(text);
}

void Announcer::chatLine(const QString &codedLine)
{
    tell(chatText(codedLine), Speaker::Kind::Chat);
}
