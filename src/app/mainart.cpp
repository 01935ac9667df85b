#include "mainart.h"

#include <QPainter>

namespace MainArt {

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
QFrame#panel_words { background: #4c6a4c; border: 1px solid #324a32; }
QTextEdit#richedit_words { background: #4c6a4c; color: #ff8000; border: none; }
QLabel#image_timer { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3b7391, stop:1 #1e4256);
    border: 1px solid #14303f; border-radius: 4px; }
QTextBrowser#mainchat { background: #e2e4b6; border: 1px solid #324a32; }
QLineEdit#mychat { background: #fbfbea; border: 1px solid #324a32; border-radius: 3px; padding: 0px 3px; }
QPushButton#button_start:focus, QPushButton#button_rotate:focus, QPushButton#button_clear:focus,
QPushButton#button_send:focus { border: 2px solid #ffe600; }
QLabel:focus { border: 1px dashed #ffe600; }
QToolButton:focus { border: 2px solid #ffe600; border-radius: 3px; }
)");
}

} // namespace MainArt
