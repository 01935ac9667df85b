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

    // A group of fully transparent pictures.
    TileGroup();

    // The group drawn in code ("classic"), `scale` times the tile size for sharp
    // drawing on high-density screens. Needs a QGuiApplication (fonts).
    static TileGroup builtin(qreal scale = 1.0);

    // A bitmap strip at least 1302 by 42 pixels: picture i is the square whose left
    // edge is at 42 * i. Pure white (255, 255, 255) becomes transparent. nullopt when
    // the file is missing, does not decode, or is smaller than the strip.
    static std::optional<TileGroup> fromFile(const QString &path);
    static std::optional<TileGroup> fromStrip(const QImage &strip);

    // The picture of a code; a transparent picture for codes outside 0 to 30.
    const QImage &picture(int code) const;

private:
    std::array<QImage, pictureCount> pictures_;
    QImage none_;
};
