#include "quickphrases.h"

#include "chatcommands.h"
#include "colortext.h"

namespace {

constexpr std::array<const char *, QuickPhrases::count> builtinPhrases {"Way To Go!", "Good One!",
    "Nice Try!", "Excellent!", "Brilliant!", "Wow, WTG!", "Thanks!", "Way To Go Teamie!",
    "Good Game Everyone!"};

} // namespace

QString QuickPhrases::settingsKey(int k)
{
    return QStringLiteral("Phrase") + QString::number(k);
}

QString QuickPhrases::builtinPhrase(int k)
{
    if (k < 1 || k > count)
        return {};
    return QString::fromLatin1(builtinPhrases[std::size_t(k - 1)]);
}

QuickPhrases::QuickPhrases()
{
    for (int k = 1; k <= count; ++k)
        phrases_[std::size_t(k - 1)] = builtinPhrase(k);
}

QString QuickPhrases::phrase(int k) const
{
    if (k < 1 || k > count)
        return {};
    return phrases_[std::size_t(k - 1)];
}

void QuickPhrases::setPhrase(int k, const QString &text)
{
    if (k >= 1 && k <= count)
        phrases_[std::size_t(k - 1)] = text.left(longestPhrase);
}

void QuickPhrases::loadPhrase(int k, const QString &value)
{
    if (!value.isEmpty())
        setPhrase(k, value);
}

std::optional<OutgoingMessage> QuickPhrases::b_phrase1Click(int k, int myslot, const QColor &colour)
{
    if (k < 1 || k > count || !phraseready_)
        return std::nullopt;
    const QString text = phrase(k);
    const QString body
        = text.startsWith(QLatin1String("/me ")) ? text.mid(4) : QStringLiteral("says: ") + text;
    phraseready_ = false;
    return OutgoingMessage {QStringLiteral("CMD_action"),
        {QString::number(myslot),
            ChatCommands::wireText(body) + QLatin1Char('|') + ColorText::toText(colour)}};
}

void QuickPhrases::tick()
{
    if (!phraseready_)
        ++phraseticks_;
    if (phraseticks_ >= ticksToRelease) {
        phraseready_ = true;
        phraseticks_ = 0;
    }
}
