#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <optional>

// The 31 pictures of one tile group, 42 by 42 pixels each, numbered as the tile codes
// (0 unused by cells, 1-26 the letters, 27 and 28 the marks drawn over a letter, 29
// the blank cell, 30 the empty strip slot). Pictures carry an alpha channel.
class TileGroup
{
public:
    static constexpr int tileSize = 42;
    static constexpr int pictureCount = 31;
    static constexpr int stripWidth = tileSize * pictureCount; // 1302
    // The double-size strip of a group, for high-density screens, is the file of the
    // same name with this before its extension ("wood@2x.bmp" beside "wood.bmp"):
    // 2604 by 84, picture i at 84 * i. It is never a group of its own.
    static inline const QString highDensityMark = QStringLiteral("@2x");
    static constexpr int highDensityScale = 2;

    // A group of fully transparent pictures.
    TileGroup();

    // The group drawn in code ("classic"), `scale` times the tile size for sharp
    // drawing on high-density screens. Needs a QGuiApplication (fonts).
    static TileGroup builtin(qreal scale = 1.0);

    // A bitmap strip at least 1302 by 42 pixels: picture i is the square whose left
    // edge is at 42 * i. Pure white (255, 255, 255) becomes transparent. nullopt when
    // the file is missing, does not decode, or is smaller than the strip.
    //
    // For a `devicePixelRatio` above 1 the double-size strip beside the file is used
    // instead when it is there and usable; its pictures are 84 pixels wide with a
    // device pixel ratio of 2, so they still cover 42 logical pixels. The file itself
    // must be usable either way, so a group is the same group on every screen.
    static std::optional<TileGroup> fromFile(const QString &path, qreal devicePixelRatio = 1.0);
    // A strip of pictures `scale` times the tile size (1 or 2), each given that
    // device pixel ratio.
    static std::optional<TileGroup> fromStrip(const QImage &strip, int scale = 1);
    // "<folder>/<name>@2x.<extension>" for "<folder>/<name>.<extension>".
    static QString highDensityPath(const QString &path);
    // Whether a group name (a file name up to its first ".") names a double-size strip.
    static bool isHighDensityName(const QString &name);

    // The picture of a code; a transparent picture for codes outside 0 to 30.
    const QImage &picture(int code) const;

private:
    std::array<QImage, pictureCount> pictures_;
    QImage none_;
};
