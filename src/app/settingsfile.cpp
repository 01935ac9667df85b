#include "settingsfile.h"

#include "colortext.h"
#include "programfolders.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// A whole number as the settings file holds it: decimal, "$"- or "0x"-hexadecimal.
std::optional<int> toInt(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (t.startsWith(u'$'))
        value = t.sliced(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive))
        value = t.sliced(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// A choice stored as the name suffix of one of the options dialog's pictures:
// only the exact text of an existing option selects it.
int choice(const QString &text, int first, int last, int fallback)
{
    for (int value = first; value <= last; ++value) {
        if (text == QString::number(value))
            return value;
    }
    return fallback;
}

QString boolText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

const QString absent = QStringLiteral("\x01absent");

constexpr int placeLimit = 100000;

} // namespace

SettingsFile::SettingsFile(const QString &path)
    : file_(path)
{ }

QString SettingsFile::defaultPath()
{
    return ProgramFolders::settingsFilePath();
}

QString SettingsFile::read(const QString &key, const QString &fallback) const
{
    return file_.readString(section, key, fallback);
}

int SettingsFile::readInt(const QString &key, int fallback) const
{
    return toInt(read(key, QString::number(fallback))).value_or(fallback);
}

SettingsValues SettingsFile::load(const SettingsValues &current)
{
    if (!file_.isReadable())
        return current;
    read_ = true;

    // Window places no desktop reaches, which would also overflow the window
    // system's own sums, give the default place.
    const auto place = [this](const QString &key, int fallback) {
        const int p = readInt(key, fallback);
        return p > -placeLimit && p < placeLimit ? p : fallback;
    };

    SettingsValues v = current;
    v.wordsListTop = place(QStringLiteral("Wordslisttop"), SettingsValues::wordsListTopDefault);
    v.wordsListLeft = place(QStringLiteral("Wordslistleft"), SettingsValues::wordsListLeftDefault);

    v.textSize = readInt(QStringLiteral("Textsize"), SettingsValues::textSizeDefault);
    if (v.textSize < SettingsValues::textSizeMin || v.textSize > SettingsValues::textSizeMax)
        v.textSize = SettingsValues::textSizeDefault;

    const int top = place(QStringLiteral("Top"), SettingsValues::defaultTop);
    const int left = place(QStringLiteral("Left"), SettingsValues::defaultLeft);
    int width = readInt(QStringLiteral("Width"), SettingsValues::defaultWidth);
    int height = readInt(QStringLiteral("Height"), SettingsValues::defaultHeight);
    // A size no screen can show is as good as no size at all.
    if (width <= 0 || width > 16384)
        width = SettingsValues::defaultWidth;
    if (height <= 0 || height > 16384)
        height = SettingsValues::defaultHeight;
    v.window = QRect(left, top, width, height);

    v.textColor = ColorText::fromText(read(QStringLiteral("Textcolor"), QStringLiteral("clBlack")))
                      .value_or(QColor(0, 0, 0));

    if (const auto score
        = toInt(read(QStringLiteral("Playtoscore"), QString::number(SettingsValues::playToScoreDefault))))
        v.playToScore = std::clamp(*score, SettingsValues::playToScoreMin, SettingsValues::playToScoreMax);
    v.boardSize = choice(read(QStringLiteral("Boardsize"), QString::number(SettingsValues::boardSizeDefault)),
        4, 11, SettingsValues::boardSizeFallback);
    v.minLetters
        = choice(read(QStringLiteral("Minletters"), QString::number(SettingsValues::minLettersDefault)), 3, 7,
            SettingsValues::minLettersFallback);
    if (const auto seconds
        = toInt(read(QStringLiteral("Timeperturn"), QString::number(SettingsValues::timePerTurnDefault))))
        v.timePerTurn = std::clamp(*seconds, SettingsValues::timePerTurnMin, SettingsValues::timePerTurnMax);

    switch (readInt(QStringLiteral("Timebetweenrounds"), SettingsValues::timeBetweenRoundsDefault)) {
    case 15:
        v.timeBetweenRounds = 15;
        break;
    case 5:
        v.timeBetweenRounds = 5;
        break;
    case 60:
        v.timeBetweenRounds = 60;
        break;
    default:
        v.timeBetweenRounds = 10;
    }

    v.turnSound = read(QStringLiteral("Turnsound"), QStringLiteral("0")) == u"1" ? 1 : 0;
    v.clickLetters = read(QStringLiteral("Clickletters"), QStringLiteral("1")) == u"1" ? 1 : 0;
    v.disableTyping = read(QStringLiteral("Disabletyping"), QStringLiteral("1")) == u"1" ? 1 : 0;

    for (int k = 0; k < SettingsValues::phraseCount; ++k) {
        const QString phrase = read(QStringLiteral("Phrase") + QString::number(k + 1), QString());
        if (!phrase.isEmpty())
            v.phrases[k] = phrase.left(SettingsValues::phraseMaxLength);
    }

    v.playSounds = read(QStringLiteral("Playsounds"), QStringLiteral("true")) != u"false";
    v.chatterSounds = read(QStringLiteral("ChatterSounds"), QStringLiteral("true")) != u"false";
    v.tiles = read(QStringLiteral("Tiles"), QString());
    const QString speak = read(QStringLiteral("Speakannouncements"), QString());
    speakKeyKept_ = !speak.isEmpty();
    v.speakAnnouncements = speak == u"true";
    return v;
}

bool SettingsFile::save(const SettingsValues &v)
{
    if (!read_)
        return false;
    QList<std::pair<QString, QString>> entries;
    const auto add = [&entries](const char *key, const QString &value) {
        entries.append({QString::fromLatin1(key), value});
    };
    add("Textsize", QString::number(v.textSize));
    add("Top", QString::number(v.window.top()));
    add("Left", QString::number(v.window.left()));
    add("Width", QString::number(v.window.width()));
    add("Height", QString::number(v.window.height()));
    add("Textcolor", ColorText::toText(v.textColor));
    add("Playtoscore", QString::number(v.playToScore));
    add("Timeperturn", QString::number(v.timePerTurn));
    add("Boardsize", QString::number(v.boardSize));
    add("Minletters", QString::number(v.minLetters));
    add("Timebetweenrounds", QString::number(v.timeBetweenRounds));
    add("Wordslisttop", QString::number(v.wordsListTop));
    add("Wordslistleft", QString::number(v.wordsListLeft));
    add("Turnsound", QString::number(v.turnSound));
    add("Clickletters", QString::number(v.clickLetters));
    add("Disabletyping", QString::number(v.disableTyping));
    add("Tiles", v.tiles);
    add("Playsounds", boolText(v.playSounds));
    add("ChatterSounds", boolText(v.chatterSounds));
    speakKeyKept_ = speakKeyKept_ || v.speakAnnouncements;
    if (speakKeyKept_)
        add("Speakannouncements", boolText(v.speakAnnouncements));
    return file_.writeStrings(section, entries);
}

bool SettingsFile::savePhrases(const SettingsValues &v)
{
    QList<std::pair<QString, QString>> entries;
    for (int k = 0; k < SettingsValues::phraseCount; ++k)
        entries.append({QStringLiteral("Phrase") + QString::number(k + 1), v.phrases[k]});
    return file_.writeStrings(section, entries);
}

QString SettingsFile::tileGroupToLoad(const QString &stored)
{
    const QString name = stored.trimmed();
    if (name.isEmpty() || name.compare(QLatin1StringView("classic"), Qt::CaseInsensitive) == 0)
        return QString();
    if (name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.') || name.size() > 100)
        return QString();
    return name;
}
