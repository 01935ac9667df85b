#include "smileypictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

const QColor ink(59, 35, 0);
const QColor outline(138, 90, 0);

void face(QPainter &p, const QColor &light, const QColor &dark)
{
    QRadialGradient g(QPointF(6.5, 5.5), 8.5);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setBrush(g);
    p.setPen(QPen(outline, 0.8));
    p.drawEllipse(QPointF(8.5, 8.5), 7.1, 7.1);
}

void yellowFace(QPainter &p)
{
    face(p, QColor(255, 238, 120), QColor(245, 184, 0));
}

void dotEyes(QPainter &p, qreal y = 6.4, qreal r = 1.05)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(6.0, y), r * 0.85, r * 1.15);
    p.drawEllipse(QPointF(11.0, y), r * 0.85, r * 1.15);
}

QPen inkPen(qreal w = 1.0)
{
    return QPen(ink, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void smile(QPainter &p, qreal depth = 2.4)
{
    QPainterPath path(QPointF(5.2, 10.0));
    path.quadTo(QPointF(8.5, 10.0 + depth * 1.6), QPointF(11.8, 10.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen());
    p.drawPath(path);
}

void openMouth(QPainter &p, qreal top, qreal bottom)
{
    QPainterPath path(QPointF(5.0, top));
    path.lineTo(QPointF(12.0, top));
    path.quadTo(QPointF(8.5, bottom + 1.4), QPointF(5.0, top));
    p.setPen(inkPen(0.8));
    p.setBrush(QColor(120, 30, 20));
    p.drawPath(path);
    // The tongue.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 95, 95));
    p.drawEllipse(QPointF(8.5, bottom - 0.6), 1.8, 0.9);
}

void closedEyes(QPainter &p, bool happy)
{
    p.setPen(inkPen(0.95));
    p.setBrush(Qt::NoBrush);
    for (qreal x : {6.0, 11.0}) {
        QPainterPath path(QPointF(x - 1.5, 6.8));
        path.quadTo(QPointF(x, happy ? 4.6 : 8.4), QPointF(x + 1.5, 6.8));
        p.drawPath(path);
    }
}

void heart(QPainter &p, QPointF c, qreal s)
{
    QPainterPath path(QPointF(c.x(), c.y() + s));
    path.cubicTo(QPointF(c.x() - 2.2 * s, c.y() - 0.2 * s), QPointF(c.x() - 0.9 * s, c.y() - 1.6 * s),
        QPointF(c.x(), c.y() - 0.5 * s));
    path.cubicTo(QPointF(c.x() + 0.9 * s, c.y() - 1.6 * s), QPointF(c.x() + 2.2 * s, c.y() - 0.2 * s),
        QPointF(c.x(), c.y() + s));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 30, 60));
    p.drawPath(path);
}

void cheeks(QPainter &p, int alpha)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 90, 90, alpha));
    p.drawEllipse(QPointF(4.4, 9.6), 1.6, 1.0);
    p.drawEllipse(QPointF(12.6, 9.6), 1.6, 1.0);
}

void draw(QPainter &p, int index)
{
    switch (index) {
    default:
    case 0: // smile
        yellowFace(p);
        dotEyes(p);
        smile(p);
        break;
    case 1: // grin
        yellowFace(p);
        dotEyes(p);
        openMouth(p, 9.4, 13.2);
        break;
    case 2: { // wink
        yellowFace(p);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(6.0, 6.4), 0.9, 1.2);
        p.setPen(inkPen(0.95));
        QPainterPath lid(QPointF(9.5, 6.8));
        lid.quadTo(QPointF(11.0, 5.4), QPointF(12.5, 6.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(lid);
        smile(p, 2.0);
        break;
    }
    case 3: { // sad
        yellowFace(p);
        dotEyes(p, 6.6);
        QPainterPath path(QPointF(5.6, 12.4));
        path.quadTo(QPointF(8.5, 9.0), QPointF(11.4, 12.4));
        p.setPen(inkPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        break;
    }
    case 4: // tongue out
        yellowFace(p);
        dotEyes(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 80, 90));
        p.drawRoundedRect(QRectF(7.0, 10.2, 3.4, 3.6), 1.6, 1.6);
        p.setPen(inkPen());
        p.drawLine(QPointF(5.2, 10.3), QPointF(11.8, 10.3));
        break;
    case 5: // surprised
        yellowFace(p);
        dotEyes(p, 6.0, 1.2);
        p.setPen(inkPen(0.8));
        p.setBrush(QColor(120, 30, 20));
        p.drawEllipse(QPointF(8.5, 11.4), 1.6, 2.0);
        break;
    case 6: { // cool: sunglasses
        yellowFace(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(25, 25, 35));
        p.drawRoundedRect(QRectF(3.2, 5.0, 4.8, 3.2), 1.2, 1.2);
        p.drawRoundedRect(QRectF(9.0, 5.0, 4.8, 3.2), 1.2, 1.2);
        p.setPen(QPen(QColor(25, 25, 35), 0.9));
        p.drawLine(QPointF(7.5, 5.6), QPointF(9.5, 5.6));
        p.setPen(QPen(QColor(255, 255, 255, 170), 0.6));
        p.drawLine(QPointF(4.2, 5.9), QPointF(5.4, 5.9));
        p.drawLine(QPointF(10.0, 5.9), QPointF(11.2, 5.9));
        smile(p, 1.8);
        break;
    }
    case 7: // laughing
        yellowFace(p);
        closedEyes(p, true);
        openMouth(p, 9.0, 13.6);
        break;
    case 8: { // angry
        face(p, QColor(255, 150, 110), QColor(215, 50, 30));
        p.setPen(inkPen(1.1));
        p.drawLine(QPointF(4.4, 4.6), QPointF(7.4, 5.9));
        p.drawLine(QPointF(12.6, 4.6), QPointF(9.6, 5.9));
        dotEyes(p, 7.2, 0.9);
        QPainterPath path(QPointF(5.8, 12.4));
        path.quadTo(QPointF(8.5, 10.2), QPointF(11.2, 12.4));
        p.setPen(inkPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        break;
    }
    case 9: { // crying
        yellowFace(p);
        closedEyes(p, false);
        QPainterPath mouth(QPointF(5.6, 12.6));
        mouth.quadTo(QPointF(8.5, 9.4), QPointF(11.4, 12.6));
        p.setPen(inkPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(mouth);
        QPainterPath tear(QPointF(12.2, 7.6));
        tear.cubicTo(QPointF(13.8, 10.0), QPointF(13.6, 11.6), QPointF(12.2, 11.6));
        tear.cubicTo(QPointF(10.8, 11.6), QPointF(10.6, 10.0), QPointF(12.2, 7.6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 150, 240));
        p.drawPath(tear);
        break;
    }
    case 10: // in love
        yellowFace(p);
        heart(p, QPointF(5.8, 6.4), 1.7);
        heart(p, QPointF(11.2, 6.4), 1.7);
        smile(p);
        break;
    case 11: { // confused
        yellowFace(p);
        dotEyes(p);
        QPainterPath path(QPointF(5.2, 11.4));
        path.cubicTo(QPointF(6.8, 9.8), QPointF(8.0, 12.8), QPointF(9.4, 11.2));
        path.cubicTo(QPointF(10.4, 10.2), QPointF(11.2, 11.0), QPointF(11.8, 11.4));
        p.setPen(inkPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        break;
    }
    case 12: // neutral
        yellowFace(p);
        dotEyes(p);
        p.setPen(inkPen());
        p.drawLine(QPointF(5.6, 11.2), QPointF(11.4, 11.2));
        break;
    case 13: // blushing
        yellowFace(p);
        cheeks(p, 190);
        closedEyes(p, true);
        smile(p, 1.6);
        break;
    case 14: { // kiss
        yellowFace(p);
        dotEyes(p);
        p.setPen(inkPen(0.9));
        p.setBrush(Qt::NoBrush);
        QPainterPath lips(QPointF(8.0, 9.6));
        lips.quadTo(QPointF(9.8, 10.4), QPointF(8.2, 11.2));
        lips.quadTo(QPointF(9.8, 12.0), QPointF(8.0, 12.8));
        p.drawPath(lips);
        heart(p, QPointF(13.2, 11.2), 1.3);
        break;
    }
    case 15: { // sleepy
        yellowFace(p);
        closedEyes(p, false);
        p.setPen(inkPen(0.8));
        p.setBrush(QColor(120, 30, 20));
        p.drawEllipse(QPointF(8.5, 11.6), 1.1, 1.2);
        p.setPen(QPen(QColor(60, 90, 200), 0.9));
        p.drawPolyline(
            QPolygonF({QPointF(12.0, 1.0), QPointF(15.0, 1.0), QPointF(12.0, 3.8), QPointF(15.0, 3.8)}));
        break;
    }
    case 16: { // devil
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 40, 170));
        QPainterPath horns;
        horns.moveTo(2.6, 5.4);
        horns.lineTo(2.2, 0.6);
        horns.lineTo(6.0, 3.0);
        horns.moveTo(14.4, 5.4);
        horns.lineTo(14.8, 0.6);
        horns.lineTo(11.0, 3.0);
        p.drawPath(horns);
        face(p, QColor(215, 140, 235), QColor(140, 40, 165));
        p.setPen(inkPen(1.0));
        p.drawLine(QPointF(4.4, 5.0), QPointF(7.2, 6.0));
        p.drawLine(QPointF(12.6, 5.0), QPointF(9.8, 6.0));
        dotEyes(p, 7.2, 0.9);
        QPainterPath grin(QPointF(4.8, 9.6));
        grin.quadTo(QPointF(8.5, 14.0), QPointF(12.2, 9.6));
        p.setPen(inkPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(grin);
        break;
    }
    case 17: // angel
        p.save();
        p.translate(0, 0.8);
        p.scale(1.0, 0.94);
        yellowFace(p);
        closedEyes(p, true);
        smile(p, 1.8);
        p.restore();
        p.setPen(QPen(QColor(250, 215, 60), 1.1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8.5, 1.4), 4.2, 1.0);
        break;
    }
}

} // namespace

QImage SmileyPictures::picture(int index, qreal devicePixelRatio)
{
    if (index < 0 || index >= count)
        index = 0;
    devicePixelRatio = std::clamp(devicePixelRatio, 1.0, 4.0);
    QImage image(QSize(std::lround(width * devicePixelRatio), std::lround(height * devicePixelRatio)),
        QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, -0.5);
    draw(p, index);
    return image;
}
