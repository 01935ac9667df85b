#include "mainart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace MainArt {

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

QPixmap logo(QSize size)
{
    QPixmap pix(size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, size.width(), 0);
    fill.setColorAt(0, QColor(46, 70, 46));
    fill.setColorAt(0.5, QColor(98, 134, 98));
    fill.setColorAt(1, QColor(46, 70, 46));
    p.setBrush(fill);
    p.setPen(QPen(QColor(30, 45, 30), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 6, 6);

    const QString word = QStringLiteral("WENDLEWICK");
    QFont font = uiFont(22, true);
    p.setFont(font);
    const qreal step = qreal(size.height() - 20) / word.size();
    for (int i = 0; i < word.size(); ++i) {
        const QRectF cell(0, 10 + i * step, size.width(), step);
        p.setPen(QColor(20, 32, 20));
        p.drawText(cell.translated(1, 1), Qt::AlignCenter, word.at(i));
        p.setPen(lightYellow);
        p.drawText(cell, Qt::AlignCenter, word.at(i));
    }
    return pix;
}

QPixmap eyes(QSize size)
{
    QPixmap pix(size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width() / 2.0;
    for (int i = 0; i < 2; ++i) {
        const QRectF eye(i * w + 1, 1, w - 2, size.height() - 2);
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(Qt::white);
        p.drawEllipse(eye);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 20, 20));
        const qreal r = eye.height() / 3.2;
        p.drawEllipse(QPointF(eye.center().x() + 1, eye.center().y() + 1), r, r);
    }
    return pix;
}

QPixmap phraseButton(int number, QSize size)
{
    QPixmap pix(size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, number == 10 ? QColor(250, 214, 140) : QColor(250, 248, 214));
    fill.setColorAt(1, number == 10 ? QColor(214, 160, 70) : QColor(206, 200, 120));
    p.setBrush(fill);
    p.setPen(QPen(QColor(40, 52, 40), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    p.setPen(QColor(40, 52, 40));
    p.setFont(uiFont(number == 10 ? 14 : 11, true));
    p.drawText(QRectF(0, 0, size.width(), size.height()), Qt::AlignCenter,
        number == 10 ? QStringLiteral("\u266B") : QString::number(number));
    return pix;
}

QPixmap smiley(QSize size)
{
    QPixmap pix(size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = qMin(size.width(), size.height()) - 2;
    const QRectF face((size.width() - d) / 2, (size.height() - d) / 2, d, d);
    p.setPen(QPen(QColor(90, 70, 0), 1));
    p.setBrush(QColor(255, 214, 40));
    p.drawEllipse(face);
    p.setBrush(QColor(60, 40, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(face.left() + d * 0.35, face.top() + d * 0.38), d * 0.07, d * 0.1);
    p.drawEllipse(QPointF(face.left() + d * 0.65, face.top() + d * 0.38), d * 0.07, d * 0.1);
    p.setPen(QPen(QColor(60, 40, 0), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(face.adjusted(d * 0.22, d * 0.2, -d * 0.22, -d * 0.2), 200 * 16, 140 * 16);
    return pix;
}

QPixmap blankBoard(int cells, int cellSize)
{
    QPixmap pix(cells * cellSize, cells * cellSize);
    pix.fill(QColor(58, 84, 58));
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    for (int x = 0; x < cells; ++x) {
        for (int y = 0; y < cells; ++y) {
            const QRectF cell(x * cellSize + 2, y * cellSize + 2, cellSize - 4, cellSize - 4);
            p.setPen(QPen(QColor(46, 68, 46), 1));
            p.setBrush(QColor(66, 94, 66));
            p.drawRoundedRect(cell, 5, 5);
        }
    }
    return pix;
}

QPixmap emptySlot(int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 150, 110), 1, Qt::DashLine));
    p.setBrush(QColor(64, 92, 64));
    p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), 5, 5);
    return pix;
}

} // namespace MainArt

namespace MainArt {

QString panelStyleSheet()
{
    return QStringLiteral(R"(
QPushButton#button_start, QPushButton#button_rotate, QPushButton#button_clear, QPushButton#button_send {
    color: #1f2d1f;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbf8d0, stop:1 #cfc872);
    border: 1px solid #263826;
    border-radius: 6px;
    font-weight: bold;
    padding: 0px;
}
QPushButton#button_start { font-size: 16px; letter-spacing: 2px; }
QPushButton#button_rotate, QPushButton#button_clear, QPushButton#button_send { font-size: 13px; }
QPushButton#button_start:hover, QPushButton#button_rotate:hover, QPushButton#button_clear:hover,
QPushButton#button_send:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffde6, stop:1 #e0d98a);
}
QPushButton#button_start:pressed, QPushButton#button_rotate:pressed, QPushButton#button_clear:pressed,
QPushButton#button_send:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #cfc872, stop:1 #fbf8d0);
}
QPushButton#button_smilies, QPushButton[phrase="true"] {
    border: none;
    background: transparent;
    padding: 0px;
}
QPushButton[phrase="true"]:pressed, QPushButton#button_smilies:pressed { padding-top: 1px; padding-left: 1px; }
QFrame#panel_boardback { background: #2e452e; border: 1px solid #1e2e1e; }
QFrame#panel_words { background: #4c6a4c; border: 1px solid #324a32; }
QTextEdit#richedit_words { background: #4c6a4c; color: #ff8000; border: none; }
QLabel#image_timer { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f0f2b8, stop:1 #b9bd62);
    border: 1px solid #263826; border-radius: 4px; }
QFrame#panel_chat { background: #e2e4b6; border: 1px solid #324a32; }
QTextBrowser#mainchat { background: #e2e4b6; border: none; }
QLineEdit#mychat { background: #fbfbea; border: 1px solid #324a32; border-radius: 3px; padding: 0px 3px; }
)");
}

} // namespace MainArt
