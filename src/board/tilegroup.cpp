#include "tilegroup.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage transparentPicture(qreal scale = 1.0)
{
    const int side = qRound(TileGroup::tileSize * scale);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    return image;
}

QPainterPath rounded(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void drawLetterTile(QImage &image, int code)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF tile(2, 2, 38, 38);
    // A soft shadow under the tile lifts it off the board.
    p.fillPath(rounded(tile.translated(0.8, 1.2), 6), QColor(20, 35, 20, 110));
    QLinearGradient face(tile.topLeft(), tile.bottomRight());
    face.setColorAt(0, QColor(253, 247, 228));
    face.setColorAt(1, QColor(231, 216, 180));
    p.fillPath(rounded(tile, 6), face);
    p.setPen(QPen(QColor(150, 124, 80), 1.0));
    p.drawPath(rounded(tile.adjusted(0.5, 0.5, -0.5, -0.5), 5.5));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(27);
    p.setFont(font);
    const QString letter(QChar(u'A' + (code - 1)));
    // Centre the letter's own outline, not its line box, so every capital sits in
    // the middle of the tile.
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(letter);
    const QPointF origin = tile.center() - ink.center();
    p.setPen(QColor(58, 38, 18));
    p.drawText(origin, letter);
}

void drawMark(QImage &image, const QColor &colour, qreal width, int tintAlpha)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(2, 2, 38, 38);
    QColor tint = colour;
    tint.setAlpha(tintAlpha);
    p.fillPath(rounded(tile, 6), tint);
    p.setPen(QPen(colour, width));
    p.drawPath(rounded(tile.adjusted(width / 2, width / 2, -width / 2, -width / 2), 6 - width / 2));
}

void drawBlankCell(QImage &image)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(rounded(QRectF(2, 2, 38, 38), 6), QColor(62, 88, 62));
    p.setPen(QPen(QColor(52, 74, 52), 1.0));
    p.drawPath(rounded(QRectF(2.5, 2.5, 37, 37), 5.5));
}

void drawEmptySlot(QImage &image)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(rounded(QRectF(2, 2, 38, 38), 6), QColor(64, 92, 64));
    p.setPen(QPen(QColor(112, 146, 112), 1.5, Qt::DashLine));
    p.drawPath(rounded(QRectF(3, 3, 36, 36), 5));
}

} // namespace

TileGroup::TileGroup()
    : none_(transparentPicture())
{
    pictures_.fill(none_);
}

TileGroup TileGroup::builtin(qreal scale)
{
    if (!(scale >= 1.0 && scale <= 4.0))
        scale = 1.0;
    TileGroup group;
    for (int code = 0; code < pictureCount; ++code) {
        QImage image = transparentPicture(scale);
        if (code >= 1 && code <= 26)
            drawLetterTile(image, code);
        else if (code == 27)
            drawMark(image, QColor(232, 76, 20), 4.0, 70);
        else if (code == 28)
            drawMark(image, QColor(30, 110, 215), 3.0, 45);
        else if (code == 29)
            drawBlankCell(image);
        else if (code == 30)
            drawEmptySlot(image);
        group.pictures_[code] = image;
    }
    return group;
}

namespace {

std::optional<QImage> readStrip(const QString &path, int scale)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    // A header claiming a huge picture must not make us allocate it.
    const QSize size = reader.size();
    if (size.isValid()
        && (size.width() > TileGroup::stripWidth * scale * 8
            || size.height() > TileGroup::tileSize * scale * 8))
        return std::nullopt;
    QImage strip = reader.read();
    if (strip.isNull())
        return std::nullopt;
    return strip;
}

} // namespace

std::optional<TileGroup> TileGroup::fromFile(const QString &path, qreal devicePixelRatio)
{
    const auto strip = readStrip(path, 1);
    if (!strip)
        return std::nullopt;
    auto group = fromStrip(*strip);
    if (!group || !(devicePixelRatio > 1.0))
        return group;
    if (const auto sharp = readStrip(highDensityPath(path), highDensityScale)) {
        if (auto twice = fromStrip(*sharp, highDensityScale))
            return twice;
    }
    return group;
}

std::optional<TileGroup> TileGroup::fromStrip(const QImage &strip, int scale)
{
    if (scale < 1 || scale > highDensityScale)
        return std::nullopt;
    const int side = tileSize * scale;
    if (strip.width() < stripWidth * scale || strip.height() < side)
        return std::nullopt;
    const QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    TileGroup group;
    for (int code = 0; code < pictureCount; ++code) {
        QImage picture = argb.copy(code * side, 0, side, side);
        for (int y = 0; y < side; ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < side; ++x) {
                if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu)
                    line[x] = 0;
            }
        }
        picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(scale);
        group.pictures_[code] = picture;
    }
    return group;
}

QString TileGroup::highDensityPath(const QString &path)
{
    const QFileInfo file(path);
    return file.dir().filePath(file.completeBaseName() + highDensityMark + QLatin1Char('.') + file.suffix());
}

bool TileGroup::isHighDensityName(const QString &name)
{
    return name.endsWith(highDensityMark, Qt::CaseInsensitive);
}

const QImage &TileGroup::picture(int code) const
{
    if (code < 0 || code >= pictureCount)
        return none_;
    return pictures_[code];
}
