#include "playarea.h"

#include "artwork.h"
#include "gamesession.h"
#include "mainart.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// `label_timer`: the clock's text over the shrinking bar, on a dark plate of its own
// so that both of its colours read for every second of the round, over the bar or
// beside it. The plate fits "Time: 0:00" (or a longer text) and stays put.
class ClockLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QFontMetrics metrics(font());
        const int width
            = qMax(metrics.horizontalAdvance(QStringLiteral("Time: 0:00")), metrics.horizontalAdvance(text()))
            + 2 * padding;
        const int height = qMin(metrics.height() + 4, this->height() - 4);
        const QRectF plate(
            QPointF((this->width() - width) / 2.0, (this->height() - height) / 2.0), QSizeF(width, height));
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(MainArt::clockRim, 1));
        p.setBrush(MainArt::clockPlate);
        p.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        p.end();
        QLabel::paintEvent(event);
    }

private:
    static constexpr int padding = 9;
};

QLabel *makeLabel(QWidget *parent, const char *name, const QRect &place, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    // Names and words come from other players: never read them as rich text.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QRect &place, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    // Reached by Tab, never taken by a click: the chat input keeps the keys.
    button->setFocusPolicy(Qt::TabFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    widget->setPalette(pal);
}

} // namespace

PlayArea::PlayArea(QWidget *panel)
    : QObject(panel)
{
    setObjectName(QStringLiteral("playarea"));

    label_status
        = makeLabel(panel, "label_status", QRect(6, 50, 515, 18), QStringLiteral("Welcome to Wendlewick"));
    label_status->setAlignment(Qt::AlignCenter);
    label_status->setFont(Artwork::uiFont(15, true));
    setTextColor(label_status, MainArt::lightYellow);

    panel_winner = new QFrame(panel);
    panel_winner->setObjectName(QStringLiteral("panel_winner"));
    panel_winner->setGeometry(3, 2, 519, 49);
    panel_winner->setAutoFillBackground(true);
    QPalette bannerPal = panel_winner->palette();
    bannerPal.setColor(QPalette::Window, QColor(52, 78, 52));
    panel_winner->setPalette(bannerPal);
    panel_winner->setFrameShape(QFrame::Box);
    label_winner2 = makeLabel(panel_winner, "label_winner2", QRect(4, 2, 511, 45));
    label_winner1 = makeLabel(panel_winner, "label_winner1", QRect(3, 3, 511, 45));
    for (QLabel *label : {label_winner2, label_winner1}) {
        label->setAlignment(Qt::AlignCenter);
        label->setFont(Artwork::uiFont(28, true));
    }
    setTextColor(label_winner2, QColor(128, 128, 128));
    setTextColor(label_winner1, QColor(255, 236, 90));
    panel_winner->hide();

    const QRect clock(186, 68, 180, 29);
    image_timer = makeLabel(panel, "image_timer", clock);
    label_timer = new ClockLabel(QStringLiteral("Time: 0:00"), panel);
    label_timer->setTextFormat(Qt::PlainText);
    label_timer->setObjectName(QStringLiteral("label_timer"));
    label_timer->setGeometry(clock);
    label_timer->setAlignment(Qt::AlignCenter);
    label_timer->setFont(Artwork::uiFont(16, true));
    setTextColor(label_timer, MainArt::paleYellow);
    image_timer->hide();
    label_timer->hide();
    button_start = makeButton(panel, "button_start", clock, QStringLiteral("START"));
    button_start->hide();

    button_rotate = makeButton(panel, "button_rotate", QRect(0, 68, 90, 29), QStringLiteral("Rotate"));
    button_clear = makeButton(panel, "button_clear", QRect(96, 68, 84, 29), QStringLiteral("Clear"));
    button_send = makeButton(panel, "button_send", QRect(372, 68, 90, 29), QStringLiteral("Send"));
    for (QPushButton *button : {button_rotate, button_clear, button_send})
        button->hide();

    image_logo = makeLabel(panel, "image_logo", QRect(4, 101, 38, 420));
    image_logo->setPixmap(Artwork::logo());
    image_logo->setCursor(Qt::PointingHandCursor);
    image_logo->setAccessibleName(QStringLiteral("Wendlewick"));
}

void PlayArea::setTextScale(double scale)
{
    label_timer->setFont(Artwork::uiFont(qMin(24, qRound(16 * scale)), true));
}

void PlayArea::setWinnerText(const QString &text)
{
    label_winner1->setText(text);
    label_winner2->setText(text);
}

void PlayArea::follow(const GameSession *session)
{
    session_ = session;
    label_status->setText(session->status());
    connect(session, &GameSession::statusChanged, label_status, &QLabel::setText);
    connect(session, &GameSession::clockChanged, this, &PlayArea::showClock);
    connect(session, &GameSession::clockPlaceChanged, this, [this](GameSession::ClockPlace place) {
        button_start->setVisible(place == GameSession::ClockPlace::Start);
        image_timer->setVisible(place == GameSession::ClockPlace::Clock);
        label_timer->setVisible(place == GameSession::ClockPlace::Clock);
    });
    connect(session, &GameSession::turnChanged, this, [this](int, bool mine) {
        button_rotate->setVisible(mine);
        if (!mine) {
            button_send->hide();
            button_clear->hide();
        }
    });
    connect(session, &GameSession::winnerChanged, this, [this](const QString &text) {
        if (text.isEmpty()) {
            panel_winner->hide();
            return;
        }
        setWinnerText(text);
        panel_winner->show();
        panel_winner->raise();
    });
    connect(session, &GameSession::cleared, button_clear, &QWidget::hide);
}

void PlayArea::showClock(int secondsLeft)
{
    // The bar never reaches past the clock's own frame (rounds whose seconds do not
    // divide 224 evenly would otherwise start wider than it, and a late joiner is told
    // the seconds left by the host, whatever they are).
    const qint64 width = qint64(session_->state().pixelspersecond) * secondsLeft;
    image_timer->resize(int(qBound(qint64(0), width, qint64(label_timer->width()))), image_timer->height());
    label_timer->setText(GameSession::clockText(secondsLeft));
    setTextColor(label_timer, secondsLeft < redBelow ? lastSecondsColour : clockColour);
}
