#include "phrasebar.h"

#include "chattersounds.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

// A speech bubble with the button's number, or a loudspeaker for the chatter sounds.
QIcon buttonIcon(int k, qreal dpr)
{
    QPixmap pixmap(QSize(std::lround(22 * dpr), std::lround(15 * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (k <= QuickPhrases::count) {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(1.5, 0.5, 19, 11), 4, 4);
        QPainterPath tail(QPointF(5, 10));
        tail.lineTo(QPointF(4, 14.5));
        tail.lineTo(QPointF(10, 10));
        bubble = bubble.united(tail);
        p.setPen(QPen(QColor(40, 70, 40), 1));
        p.setBrush(QColor(250, 248, 225));
        p.drawPath(bubble);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 90, 30));
        p.drawText(QRectF(1.5, 0.5, 19, 11), Qt::AlignCenter, QString::number(k));
    } else {
        const QColor green(40, 90, 40);
        QPolygonF speaker({QPointF(3, 5), QPointF(6, 5), QPointF(10, 1.5), QPointF(10, 13.5), QPointF(6, 10),
            QPointF(3, 10)});
        p.setPen(QPen(green, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(green);
        p.drawPolygon(speaker);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(green, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(8, 4, 6, 7), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8, 1.5, 10, 12), -50 * 16, 100 * 16);
    }
    return QIcon(pixmap);
}

} // namespace

PhraseBar::PhraseBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("phrasebar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (int k = 1; k <= 10; ++k) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("b_phrase") + QString::number(k));
        b->setFixedSize(26, 19);
        b->setIcon(buttonIcon(k, devicePixelRatioF()));
        b->setIconSize(QSize(22, 15));
        // Reached by Tab, never taken by a click: the chat input keeps the keys.
        b->setFocusPolicy(Qt::TabFocus);
        buttons_[std::size_t(k - 1)] = b;
        row->addWidget(b);
        if (k <= QuickPhrases::count)
            connect(b, &QToolButton::clicked, this, [this, k] { b_phrase1Click(k); });
        else
            connect(b, &QToolButton::clicked, this, &PhraseBar::b_phrase10Click);
    }
    row->addStretch(1);
    for (int k = 1; k <= QuickPhrases::count; ++k)
        setPhrase(k, phrases_.phrase(k));
    buttons_[9]->setToolTip(QStringLiteral("Chatter Sounds"));
    buttons_[9]->setAccessibleName(QStringLiteral("Chatter Sounds"));

    soundsMenu_ = new QMenu(this);
    soundsMenu_->setObjectName(QStringLiteral("popup_sounds"));
    for (int tag = 0; tag <= ChatterSounds::count; ++tag) {
        QAction *item = soundsMenu_->addAction(ChatterSounds::caption(tag));
        item->setData(tag);
        if (tag > 0) {
            item->setObjectName(QStringLiteral("wave") + QString::number(tag));
            item->setToolTip(ChatterSounds::caption(tag));
        }
        connect(item, &QAction::triggered, this, [this, tag] { wave14Click(tag); });
    }

    throttle_.setInterval(tickMilliseconds);
    connect(&throttle_, &QTimer::timeout, this, &PhraseBar::throttleTick);
}

QToolButton *PhraseBar::button(int k) const
{
    if (k < 1 || k > 10)
        return nullptr;
    return buttons_[std::size_t(k - 1)];
}

void PhraseBar::setPhrase(int k, const QString &text)
{
    phrases_.setPhrase(k, text);
    if (QToolButton *b = button(k); b && k <= QuickPhrases::count) {
        b->setToolTip(phrases_.phrase(k));
        // A screen reader reads the phrase the button sends.
        const QString phrase = phrases_.phrase(k).trimmed();
        b->setAccessibleName(phrase.isEmpty() ? QStringLiteral("Phrase %1").arg(k) : phrase);
        b->setAccessibleDescription(QStringLiteral("Quick phrase %1").arg(k));
    }
}

void PhraseBar::loadPhrase(int k, const QString &value)
{
    if (!value.isEmpty())
        setPhrase(k, value);
}

void PhraseBar::b_phrase1Click(int k)
{
    const auto message = phrases_.b_phrase1Click(k, myslot_, colour_);
    if (!message)
        return;
    throttle_.start();
    Q_EMIT sendMessage(message->command, message->fields);
}

void PhraseBar::b_phrase10Click()
{
    soundsMenu_->popup(buttons_[9]->mapToGlobal(buttons_[9]->rect().bottomRight()));
}

void PhraseBar::wave14Click(int tag)
{
    if (const auto message = ChatterSounds::wave14Click(tag, myslot_, isconnected_))
        Q_EMIT sendMessage(message->command, message->fields);
}

void PhraseBar::throttleTick()
{
    phrases_.tick();
    if (phrases_.phraseready())
        throttle_.stop();
}
