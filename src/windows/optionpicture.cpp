#include "optionpicture.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {
constexpr int checkSide = 22;
constexpr int spacing = 6;
} // namespace

OptionPicture::OptionPicture(const QString &caption, int hint, QWidget *parent)
    : QAbstractButton(parent)
    , hint_(hint)
{
    setText(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void OptionPicture::setTag(int tag)
{
    if (tag_ == tag)
        return;
    tag_ = tag;
    setAccessibleDescription(tag_ ? QStringLiteral("checked") : QStringLiteral("unchecked"));
    update();
}

void OptionPicture::setIcon(const QPixmap &icon)
{
    icon_ = icon;
    updateGeometry();
    update();
}

void OptionPicture::setCheckPictures(const QPixmap &unchecked, const QPixmap &checked)
{
    unchecked_ = unchecked;
    checked_ = checked;
    update();
}

QSize OptionPicture::sizeHint() const
{
    int width = checkSide + spacing + fontMetrics().horizontalAdvance(text()) + 4;
    if (!icon_.isNull())
        width += int(icon_.deviceIndependentSize().width()) + spacing;
    return QSize(width, std::max(checkSide + 2, fontMetrics().height() + 4));
}

void OptionPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int middle = height() / 2;
    int x = 0;
    const QPixmap &check = tag_ ? checked_ : unchecked_;
    if (!check.isNull())
        p.drawPixmap(QPoint(x, middle - checkSide / 2), check);
    x += checkSide + spacing;
    if (!icon_.isNull()) {
        const QSizeF iconSize = icon_.deviceIndependentSize();
        p.drawPixmap(QPointF(x, middle - iconSize.height() / 2), icon_);
        x += int(iconSize.width()) + spacing;
    }
    QColor textColour = palette().color(QPalette::WindowText);
    if (!tag_ && !underMouse())
        textColour.setAlphaF(0.8);
    p.setPen(textColour);
    const QRect textRect(x, 0, width() - x, height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(-2, 1, 0, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
