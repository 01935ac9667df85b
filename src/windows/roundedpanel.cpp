#include "roundedpanel.h"

#include <QPainter>

RoundedPanel::RoundedPanel(const QString &name, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
}

void RoundedPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 198, 48), 1));
    p.setBrush(QColor(20, 36, 20, 100));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}
