#include "artwork.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cmath>
#include <numbers>

namespace Artwork {

namespace {

qreal screenScale()
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return app ? std::max<qreal>(1.0, app->devicePixelRatio()) : 1.0;
}

// A transparent pixmap of `width` × `height` logical pixels and a painter on it.
struct Canvas
{
    QPixmap pixmap;
    Canvas(int width, int height)
    {
        const qreal scale = screenScale();
        pixmap = QPixmap(QSize(int(std::ceil(width * scale)), int(std::ceil(height * scale))));
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
    }
};

QFont tileFont(qreal pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(pixelSize)));
    font.setBold(true);
    return font;
}

// The wooden panel a board of tiles lies on.
void drawBoardPanel(QPainter &p, const QRectF &rect)
{
    QLinearGradient wood(rect.topLeft(), rect.bottomRight());
    wood.setColorAt(0, QColor(64, 92, 64));
    wood.setColorAt(1, QColor(38, 58, 38));
    p.setPen(QPen(QColor(24, 38, 24), 1.5));
    p.setBrush(wood);
    p.drawRoundedRect(rect.adjusted(0.75, 0.75, -0.75, -0.75), 8, 8);
}

// Cells of a square board laid out in `rect` with `count` cells a side.
QRectF cellRect(const QRectF &rect, int count, int row, int column, qreal gap)
{
    const qreal step = (rect.width() - gap) / count;
    return QRectF(rect.left() + gap + column * step, rect.top() + gap + row * step, step - gap, step - gap);
}

// A translucent stroke through the centres of the lit tiles, drawn under their letters.
void drawChain(QPainter &p, const QList<QPointF> &centres, qreal width)
{
    QPainterPath path(centres.value(0));
    for (qsizetype i = 1; i < centres.size(); ++i)
        path.lineTo(centres[i]);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 214, 64, 150), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// Draws a board of letters (rows of equal length) with the cells listed in `chain`
// lit and joined, in their order.
void drawBoard(QPainter &p, const QRectF &rect, const QStringList &rows, const QList<QPoint> &chain)
{
    drawBoardPanel(p, rect);
    const int count = int(rows.size());
    const qreal gap = rect.width() / (count * 12.0);
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < count; ++c)
            drawTile(p, cellRect(rect, count, r, c, gap), rows[r].mid(c, 1), chain.contains(QPoint(c, r)));
    QList<QPointF> centres;
    for (const QPoint &cell : chain)
        centres << cellRect(rect, count, cell.y(), cell.x(), gap).center();
    drawChain(p, centres, rect.width() / (count * 5.0));
    for (const QPoint &cell : chain) {
        const QRectF tile = cellRect(rect, count, cell.y(), cell.x(), gap);
        p.setPen(QColor(92, 52, 10));
        p.setFont(tileFont(tile.height() * 0.56));
        p.drawText(tile, Qt::AlignCenter, rows[cell.y()].mid(cell.x(), 1));
    }
}

} // namespace

void drawTile(QPainter &p, const QRectF &rect, const QString &letter, bool lit)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = rect.width() * 0.16;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(rect.translated(rect.width() * 0.04, rect.height() * 0.06), radius, radius);

    QLinearGradient face(rect.topLeft(), rect.bottomRight());
    face.setColorAt(0, lit ? QColor(255, 246, 176) : QColor(252, 243, 214));
    face.setColorAt(1, lit ? QColor(243, 199, 86) : QColor(226, 205, 156));
    p.setPen(QPen(lit ? QColor(168, 112, 24) : QColor(150, 118, 70), std::max(0.8, rect.width() / 40)));
    p.setBrush(face);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    p.setPen(QPen(QColor(255, 255, 255, 150), std::max(0.8, rect.width() / 36)));
    p.drawLine(QPointF(rect.left() + radius, rect.top() + rect.height() * 0.07),
        QPointF(rect.right() - radius, rect.top() + rect.height() * 0.07));

    if (!letter.isEmpty()) {
        p.setFont(tileFont(rect.height() * 0.56));
        p.setPen(QColor(255, 255, 255, 120));
        p.drawText(rect.translated(0, rect.height() * 0.03), Qt::AlignCenter, letter);
        p.setPen(lit ? QColor(92, 52, 10) : QColor(74, 47, 20));
        p.drawText(rect, Qt::AlignCenter, letter);
    }
    p.restore();
}

QFont uiFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPixmap backgroundTile()
{
    constexpr int size = 256;
    Canvas canvas(size, size);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, size, size), boardGreen);

    // A fixed seed keeps the texture the same in every run and on every screen.
    QRandomGenerator random(7772);
    p.setPen(QPen(QColor(255, 255, 255, 9), 1));
    for (int i = -size; i < size; i += 8)
        p.drawLine(QPointF(i, 0), QPointF(i + size, size));

    const QString letters = QStringLiteral("WENDLEWICKAOSTRP");
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    // One letter in each cell of a 4 × 4 grid, nudged about, so they never clump.
    for (int i = 0; i < 16; ++i) {
        font.setPixelSize(16 + int(random.bounded(16)));
        p.setFont(font);
        p.setPen(QColor(255, 255, 198, 9 + int(random.bounded(8))));
        const QPointF at((i % 4) * 64 + 14 + random.bounded(30.0), (i / 4) * 64 + 34 + random.bounded(24.0));
        const qreal angle = random.bounded(50.0) - 25.0;
        const QString letter = letters.mid((i * 7) % letters.size(), 1);
        // Each letter is drawn in all nine neighbouring copies so the tile has no seams.
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                p.save();
                p.translate(at + QPointF(dx * size, dy * size));
                p.rotate(angle);
                p.drawText(QPointF(0, 0), letter);
                p.restore();
            }
    }
    return canvas.pixmap;
}

QPixmap logo()
{
    Canvas canvas(38, 420);
    QPainter p(&canvas.pixmap);
    const QString name = QStringLiteral("WENDLEWICK");
    for (int i = 0; i < name.size(); ++i)
        drawTile(p, QRectF(2, 3 + i * 42, 33, 35), name.mid(i, 1), i == 0);
    return canvas.pixmap;
}

QPixmap aboutPicture()
{
    Canvas canvas(184, 184);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QStringList rows {
        QStringLiteral("WEND"), QStringLiteral("IWEL"), QStringLiteral("CKAS"), QStringLiteral("TROP")};
    const QList<QPoint> chain {
        {0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {2, 1}, {1, 1}, {0, 1}, {0, 2}, {1, 2}};
    drawBoard(p, QRectF(2, 2, 180, 180), rows, chain);
    return canvas.pixmap;
}

QPixmap soloPicture()
{
    Canvas canvas(164, 164);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QStringList rows {
        QStringLiteral("SOLA"), QStringLiteral("TROL"), QStringLiteral("ANEP"), QStringLiteral("MIGE")};
    const QList<QPoint> chain {{0, 0}, {1, 0}, {2, 0}, {2, 1}};
    drawBoard(p, QRectF(2, 2, 140, 140), rows, chain);

    // A stopwatch over the board's corner: solo play is a race against the clock.
    const QPointF centre(128, 128);
    const qreal radius = 30;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawEllipse(centre + QPointF(2, 3), radius, radius);
    p.setBrush(QColor(92, 52, 10));
    p.drawRoundedRect(QRectF(centre.x() - 5, centre.y() - radius - 7, 10, 9), 2, 2);
    QRadialGradient face(centre - QPointF(8, 8), radius * 1.4);
    face.setColorAt(0, QColor(255, 252, 230));
    face.setColorAt(1, QColor(230, 214, 160));
    p.setPen(QPen(QColor(92, 52, 10), 3));
    p.setBrush(face);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(92, 52, 10), 1.5));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * std::numbers::pi / 6;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(centre + dir * (radius - 4), centre + dir * (radius - (i % 3 == 0 ? 10 : 7)));
    }
    p.setPen(QPen(QColor(200, 40, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::sin(1.1), -std::cos(1.1)) * (radius - 9));
    p.setPen(QPen(QColor(74, 47, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -(radius - 14)));
    p.setBrush(QColor(74, 47, 20));
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 3, 3);
    return canvas.pixmap;
}

QPixmap downloadPicture()
{
    Canvas canvas(220, 140);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(1, 1, 218, 138);
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(36, 60, 84));
    sky.setColorAt(1, QColor(24, 40, 30));
    p.setPen(QPen(QColor(16, 28, 20), 1.5));
    p.setBrush(sky);
    p.drawRoundedRect(area, 10, 10);

    // A globe of meridians and parallels.
    const QPointF centre(110, 72);
    const qreal radius = 52;
    QRadialGradient globe(centre - QPointF(18, 20), radius * 1.5);
    globe.setColorAt(0, QColor(96, 150, 110));
    globe.setColorAt(1, QColor(34, 70, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(globe);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 198, 60), 1));
    for (qreal w : {0.3, 0.62, 0.9})
        p.drawEllipse(centre, radius * w, radius);
    for (qreal h : {-0.55, 0.0, 0.55}) {
        const qreal half = radius * std::sqrt(1 - h * h);
        p.drawLine(QPointF(centre.x() - half, centre.y() + h * radius),
            QPointF(centre.x() + half, centre.y() + h * radius));
    }

    // Players joined to the game in the middle.
    const std::array<QPointF, 6> players {
        {{38, 34}, {182, 30}, {30, 110}, {190, 104}, {72, 126}, {150, 128}}};
    p.setPen(QPen(QColor(255, 214, 64, 170), 2, Qt::DashLine, Qt::RoundCap));
    for (const QPointF &at : players)
        p.drawLine(at, centre);
    const std::array<QColor, 6> shirts {QColor(210, 70, 60), QColor(70, 130, 210), QColor(240, 170, 40),
        QColor(150, 90, 200), QColor(60, 170, 120), QColor(230, 110, 160)};
    for (size_t i = 0; i < players.size(); ++i) {
        const QPointF at = players[i];
        p.setPen(QPen(QColor(20, 30, 24), 1.2));
        p.setBrush(shirts[i]);
        QPainterPath body;
        body.moveTo(at + QPointF(-10, 12));
        body.cubicTo(at + QPointF(-10, 0), at + QPointF(10, 0), at + QPointF(10, 12));
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(QColor(250, 222, 190));
        p.drawEllipse(at + QPointF(0, -4), 6, 6);
    }
    drawTile(p, QRectF(centre.x() - 19, centre.y() - 19, 38, 38), QStringLiteral("W"), true);
    return canvas.pixmap;
}

QPixmap checkPicture(bool checked)
{
    Canvas canvas(22, 22);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(2, 2, 18, 18);
    QLinearGradient face(box.topLeft(), box.bottomRight());
    face.setColorAt(0, QColor(255, 252, 232));
    face.setColorAt(1, QColor(226, 212, 170));
    p.setPen(QPen(QColor(74, 47, 20), 1.5));
    p.setBrush(face);
    p.drawRoundedRect(box, 4, 4);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(6, 11.5);
        tick.lineTo(9.5, 15.5);
        tick.lineTo(17, 6);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 110, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    }
    return canvas.pixmap;
}

QPixmap startPicture()
{
    Canvas canvas(168, 40);
    QPainter p(&canvas.pixmap);
    const QString word = QStringLiteral("START");
    for (int i = 0; i < word.size(); ++i)
        drawTile(p, QRectF(2 + i * 33, 3, 31, 33), word.mid(i, 1), true);
    return canvas.pixmap;
}

QPixmap boardSizeIcon(int side)
{
    Canvas canvas(24, 24);
    QPainter p(&canvas.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(1, 1, 22, 22);
    if (side <= 0) {
        drawTile(p, area, QStringLiteral("?"), false);
        return canvas.pixmap;
    }
    // A chequered board whose size grows with its side, two pixels a square.
    const int cells = std::min(side, 10);
    const qreal square = 2;
    const qreal extent = cells * square;
    const QPointF origin(12 - extent / 2, 12 - extent / 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(origin - QPointF(1, 1), QSizeF(extent + 2, extent + 2)), QColor(24, 38, 24));
    for (int r = 0; r < cells; ++r)
        for (int c = 0; c < cells; ++c)
            p.fillRect(QRectF(origin + QPointF(c * square, r * square), QSizeF(square, square)),
                (r + c) % 2 ? QColor(226, 205, 156) : QColor(252, 243, 214));
    return canvas.pixmap;
}

} // namespace Artwork
