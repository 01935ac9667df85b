#include "chattersounds.h"

#include <array>

namespace {

constexpr std::array<const char *, ChatterSounds::count + 1> captions {"<Cancel>", "Doh", "Cough", "Hello",
    "Thank You", "Where have you been?", "Snoring", "Sneezing", "Sorry", "Welcome", "Yeehaa", "Yippee",
    "Oh No", "Applause", "Honk", "Oooh", "Razzberry", "Cheer", "Woman Laughing", "Man Laughing", "Crying"};

} // namespace

QString ChatterSounds::caption(int tag)
{
    if (tag < 0 || tag > count)
        return {};
    return QString::fromLatin1(captions[std::size_t(tag)]);
}

std::optional<QString> ChatterSounds::captionOfSound(const QString &soundName)
{
    if (!soundName.startsWith(QLatin1String("wave"), Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = QStringView(soundName).mid(4);
    if (digits.isEmpty() || digits.size() > 2 || digits.startsWith(QLatin1Char('0')))
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int tag = digits.toInt();
    if (tag < 1 || tag > count)
        return std::nullopt;
    return caption(tag);
}

std::optional<OutgoingMessage> ChatterSounds::wave14Click(
    int tag, int myslot, bool isconnected, int maxplayers)
{
    if (tag < 1 || tag > count || myslot > maxplayers || !isconnected)
        return std::nullopt;
    return OutgoingMessage {QStringLiteral("CMD_playasound"),
        {QString::number(myslot), QStringLiteral("wave") + QString::number(tag), QString()}};
}
