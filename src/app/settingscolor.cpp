#include "settingscolor.h"

#include <array>

namespace SettingsColor {

namespace {

struct NamedColor
{
    const char *name;
    quint32 value; // 0x00BBGGRR
};

// The sixteen names written by toText(), in their canonical spelling.
constexpr std::array<NamedColor, 16> standardColors {{
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

// Further names accepted on reading only.
constexpr std::array<NamedColor, 6> otherColors {{
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clDkGray", 0x808080},
    {"clLtGray", 0xC0C0C0},
}};

quint32 toValue(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}

QColor fromValue(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::optional<QColor> named(QStringView text)
{
    for (const auto *table : {standardColors.data(), otherColors.data()}) {
        const std::size_t count = table == standardColors.data() ? standardColors.size() : otherColors.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (text.compare(QLatin1StringView(table[i].name), Qt::CaseInsensitive) == 0)
                return fromValue(table[i].value);
        }
    }
    return std::nullopt;
}

} // namespace

QString toText(const QColor &color)
{
    const quint32 value = toValue(color);
    for (const NamedColor &entry : standardColors) {
        if (entry.value == value)
            return QString::fromLatin1(entry.name);
    }
    return u'$' + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<QColor> fromText(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 32)
        return std::nullopt;
    if (auto color = named(text))
        return color;

    bool ok = false;
    qulonglong value = 0;
    if (text.startsWith(u'$'))
        value = text.sliced(1).toULongLong(&ok, 16);
    else if (text.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive))
        value = text.sliced(2).toULongLong(&ok, 16);
    else if (text.front().isDigit())
        value = text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFF)
        return std::nullopt;
    return fromValue(quint32(value));
}

} // namespace SettingsColor
