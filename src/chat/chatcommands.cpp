#include "chatcommands.h"

#include "colortext.h"

ChatCommands::SendResult ChatCommands::sendit(
    const QString &text, bool isconnected, int myslot, const QColor &colour)
{
    SendResult result;
    if (!isconnected)
        return result;
    result.clearInput = true;
    if (text.isEmpty())
        return result;

    const QString slot = QString::number(myslot);
    const QString colourText = ColorText::toText(colour);
    if (!text.startsWith(QLatin1Char('/'))) {
        result.message = OutgoingMessage {
            QStringLiteral("CMD_chat"), {slot, wireText(text) + QLatin1Char('|') + colourText}};
    } else if (text.startsWith(QLatin1String("/me"))) {
        // Four characters go: "/me waves" sends "waves", and "/mewave" sends "ave".
        result.message = OutgoingMessage {
            QStringLiteral("CMD_action"), {slot, wireText(text.mid(4)) + QLatin1Char('|') + colourText}};
    } else {
        result.systemLine = unknownCommandLine(text);
    }
    return result;
}

ChatCommands::ReceivedLine ChatCommands::chatrecieved(const QString &data)
{
    const QColor red(255, 0, 0);
    // Cut at the first "|", as every copy of the game reads it: a "|" typed into the
    // line leaves the rest unreadable as a colour, and the line shows in red.
    const qsizetype bar = data.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {data, red};
    const auto colour = ColorText::fromText(data.mid(bar + 1));
    return {data.left(bar), colour ? *colour : red};
}

QString ChatCommands::wireText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (auto it = text.cbegin(); it != text.cend(); ++it) {
        const char16_t c = it->unicode();
        if (QChar::isHighSurrogate(c) && it + 1 != text.cend() && (it + 1)->isLowSurrogate())
            ++it;
        out += (c < 0xFF) ? QChar(c) : QChar(u'?');
    }
    return out;
}

QString ChatCommands::unknownCommandLine(const QString &text)
{
    const QString command = text.section(QLatin1Char(' '), 0, 0).left(20);
    return QStringLiteral("0+") + command
        + QStringLiteral(" is not a chat command. Type /me and an action, such as: /me waves");
}
