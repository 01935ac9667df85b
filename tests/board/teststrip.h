#pragma once

#include "tilegroup.h"

#include <QImage>
#include <QString>
#include <QtTest>

// A tile-group strip whose picture i is filled with colour (i, 100, 50), except for
// a pure white square in the middle of every picture.
inline QImage testStrip(int width = TileGroup::stripWidth, int height = TileGroup::tileSize)
{
    QImage strip(width, height, QImage::Format_RGB32);
    for (int i = 0; i * TileGroup::tileSize < width; ++i) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < TileGroup::tileSize && i * TileGroup::tileSize + x < width; ++x) {
                const bool middle = x >= 15 && x < 27 && y >= 15 && y < 27;
                strip.setPixel(
                    i * TileGroup::tileSize + x, y, middle ? qRgb(255, 255, 255) : qRgb(i, 100, 50));
            }
        }
    }
    return strip;
}

inline void saveStrip(const QString &path, const QImage &strip)
{
    QVERIFY(strip.save(path, "BMP"));
}
