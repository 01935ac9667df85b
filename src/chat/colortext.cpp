#include "colortext.h"

#include <array>
#include <cctype>

namespace {

struct NamedColour
{
    const char *name;
    quint32 value; // 0x00BBGGRR
};

// The names written on output, in the order they are tried.
constexpr std::array<NamedColour, 16> standardColours {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// Further names other copies of the program may write; accepted on input only.
constexpr std::array<NamedColour, 4> extraColours {{
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
}};

// System colours: value 0xFF0000nn, shown in their classic defaults.
constexpr std::array<NamedColour, 25> systemColours {{
    {"clScrollBar", 0xC8C8C8},
    {"clBackground", 0x000000},
    {"clActiveCaption", 0xD1B499},
    {"clInactiveCaption", 0xDBCDBF},
    {"clMenu", 0xF0F0F0},
    {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x646464},
    {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},
    {"clCaptionText", 0x000000},
    {"clActiveBorder", 0xB4B4B4},
    {"clInactiveBorder", 0xFCF7F4},
    {"clAppWorkSpace", 0xABABAB},
    {"clHighlight", 0xFF9933},
    {"clHighlightText", 0xFFFFFF},
    {"clBtnFace", 0xF0F0F0},
    {"clBtnShadow", 0xA0A0A0},
    {"clGrayText", 0x6D6D6D},
    {"clBtnText", 0x000000},
    {"clInactiveCaptionText", 0x000000},
    {"clBtnHighlight", 0xFFFFFF},
    {"cl3DDkShadow", 0x696969},
    {"cl3DLight", 0xE3E3E3},
    {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},
}};

bool allDigits(QStringView digits, int base)
{
    if (digits.isEmpty() || digits.size() > (base == 16 ? 8 : 10))
        return false;
    for (const QChar ch : digits) {
        const char c = ch.toLatin1();
        const bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(c))
                                   : std::isdigit(static_cast<unsigned char>(c));
        if (!ok)
            return false;
    }
    return true;
}

// "$1A2B", "0x1a2b", "255" or "-16777211"; the value must fit in 32 bits.
std::optional<quint32> parseInteger(QStringView t)
{
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QStringView digits = t.mid(t.startsWith(QLatin1Char('$')) ? 1 : 2);
        if (!allDigits(digits, 16))
            return std::nullopt;
        return quint32(digits.toULongLong(nullptr, 16));
    }
    const bool negative = t.startsWith(QLatin1Char('-'));
    const QStringView digits = t.mid(negative || t.startsWith(QLatin1Char('+')) ? 1 : 0);
    if (!allDigits(digits, 10))
        return std::nullopt;
    const qint64 v = negative ? -digits.toLongLong() : digits.toLongLong();
    if (v < -0x80000000LL || v > 0xFFFFFFFFLL)
        return std::nullopt;
    return quint32(v);
}

} // namespace

namespace ColorText {

quint32 toValue(const QColor &colour)
{
    const QColor c = colour.toRgb();
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QColor fromValue(quint32 value)
{
    if ((value >> 24) == 0xFF) {
        const quint32 index = value & 0xFF;
        value = index < systemColours.size() ? systemColours[index].value : 0;
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString toText(const QColor &colour)
{
    const quint32 value = toValue(colour);
    for (const NamedColour &c : standardColours) {
        if (c.value == value)
            return QLatin1String(c.name);
    }
    return QLatin1Char('$') + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

std::optional<QColor> fromText(const QString &text)
{
    if (text.size() > 64)
        return std::nullopt;
    const QString t = text.trimmed();
    for (const NamedColour &c : standardColours) {
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return fromValue(c.value);
    }
    for (const NamedColour &c : extraColours) {
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return fromValue(c.value);
    }
    for (std::size_t i = 0; i < systemColours.size(); ++i) {
        if (t.compare(QLatin1String(systemColours[i].name), Qt::CaseInsensitive) == 0)
            return fromValue(systemColours[i].value);
    }
    if (const auto v = parseInteger(t))
        return fromValue(*v);
    return std::nullopt;
}

} // namespace ColorText
