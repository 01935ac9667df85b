#include "roomchattext.h"

#include "wire.h"

#include <QRegularExpression>

namespace RoomChatText {

namespace {

const QRegularExpression &linkPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("\\b(?:https?|wendlewick)://[^\\s<>\"]+"), QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The link without what ends a sentence around it.
QString trimmed(QString link)
{
    static const QString trailing = QStringLiteral(".,;:!?)]}'");
    while (!link.isEmpty() && trailing.contains(link.back()))
        link.chop(1);
    return link;
}

} // namespace

QString toHtml(const QString &text)
{
    const QString plain = Wire::printable(text);
    QString html;
    qsizetype at = 0;
    QRegularExpressionMatchIterator it = linkPattern().globalMatch(plain);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString link = trimmed(match.captured());
        html += plain.mid(at, match.capturedStart() - at).toHtmlEscaped();
        const QString escaped = link.toHtmlEscaped();
        html += QStringLiteral("<a href=\"%1\">%1</a>").arg(escaped);
        at = match.capturedStart() + link.size();
    }
    html += plain.mid(at).toHtmlEscaped();
    return html;
}

QString firstGameLink(const QString &text)
{
    QRegularExpressionMatchIterator it = linkPattern().globalMatch(text);
    while (it.hasNext()) {
        const QString link = trimmed(it.next().captured());
        if (link.startsWith(QLatin1String("wendlewick://"), Qt::CaseInsensitive))
            return link;
    }
    return {};
}

} // namespace RoomChatText
