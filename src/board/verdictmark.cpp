#include "verdictmark.h"

VerdictMark::Kind VerdictMark::forColour(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    if (rgb == lightYellow.rgb())
        return Kind::FirstFinder;
    if (rgb == white.rgb())
        return Kind::Accepted;
    if (rgb == orange.rgb())
        return Kind::TooShort;
    if (rgb == maroon.rgb())
        return Kind::AlreadyFound;
    if (rgb == black.rgb())
        return Kind::Invalid;
    return Kind::None;
}

QColor VerdictMark::colour(Kind kind)
{
    switch (kind) {
    case Kind::FirstFinder:
        return lightYellow;
    case Kind::Accepted:
        return white;
    case Kind::TooShort:
        return orange;
    case Kind::AlreadyFound:
        return maroon;
    case Kind::Invalid:
        return black;
    case Kind::FoundByOthers:
        return QColor(186, 220, 250);
    case Kind::FoundByNobody:
        return QColor(206, 214, 188);
    case Kind::None:
        break;
    }
    return QColor();
}

QString VerdictMark::sign(Kind kind)
{
    switch (kind) {
    case Kind::FirstFinder:
        return QStringLiteral("\u2605");
    case Kind::Accepted:
        return QStringLiteral("\u2713");
    case Kind::TooShort:
        return QStringLiteral("\u2026");
    case Kind::AlreadyFound:
        return QStringLiteral("\u21BA");
    case Kind::Invalid:
        return QStringLiteral("\u2717");
    case Kind::FoundByOthers:
        return QStringLiteral("\u2022");
    case Kind::FoundByNobody:
        return QStringLiteral("\u25CB");
    case Kind::None:
        break;
    }
    return QString();
}

QString VerdictMark::description(Kind kind)
{
    switch (kind) {
    case Kind::FirstFinder:
        return QStringLiteral("Found first");
    case Kind::Accepted:
        return QStringLiteral("Accepted, found before by someone else");
    case Kind::TooShort:
        return QStringLiteral("Not enough letters");
    case Kind::AlreadyFound:
        return QStringLiteral("Already found");
    case Kind::Invalid:
        return QStringLiteral("Not a word");
    case Kind::FoundByOthers:
        return QStringLiteral("Found by others");
    case Kind::FoundByNobody:
        return QStringLiteral("Found by nobody");
    case Kind::None:
        break;
    }
    return QString();
}
