#include "reconnectnotice.h"

#include "artwork.h"
#include "mainart.h"
#include "reconnector.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

ReconnectNotice::ReconnectNotice(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("panel_reconnect"));
    setAccessibleName(QStringLiteral("Connection lost"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(14);
    layout->addStretch();

    label_reconnect = new QLabel(headline, this);
    label_reconnect->setObjectName(QStringLiteral("label_reconnect"));
    label_reconnect->setAccessibleName(headline);
    label_reconnect->setFont(Artwork::uiFont(15, true));
    label_reconnect->setAlignment(Qt::AlignCenter);
    label_reconnect->setWordWrap(true);
    layout->addWidget(label_reconnect);

    label_reconnectdetail = new QLabel(this);
    label_reconnectdetail->setObjectName(QStringLiteral("label_reconnectdetail"));
    label_reconnectdetail->setFont(Artwork::uiFont(12, false));
    label_reconnectdetail->setAlignment(Qt::AlignCenter);
    label_reconnectdetail->setWordWrap(true);
    layout->addWidget(label_reconnectdetail);

    button_giveup = new QPushButton(QStringLiteral("&Give Up"), this);
    button_giveup->setObjectName(QStringLiteral("button_giveup"));
    button_giveup->setAccessibleName(QStringLiteral("Give Up"));
    button_giveup->setAccessibleDescription(QStringLiteral("Stop trying to reconnect and close the game"));
    button_giveup->setCursor(Qt::PointingHandCursor);
    layout->addWidget(button_giveup, 0, Qt::AlignHCenter);
    layout->addStretch();

    for (QLabel *label : {label_reconnect, label_reconnectdetail}) {
        label->setTextFormat(Qt::PlainText);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, MainArt::paleYellow);
        label->setPalette(pal);
    }
    hide();
}

QString ReconnectNotice::detailText(bool trying, int nextInMs, int secondsLeft)
{
    const int next = (nextInMs + 999) / 1000;
    const QString attempt = trying ? QStringLiteral("Trying again\u2026")
        : next <= 1                ? QStringLiteral("Next try in a second.")
                                   : QStringLiteral("Next try in %1 seconds.").arg(next);
    return attempt + QLatin1Char(' ')
        + (secondsLeft == 1 ? QStringLiteral("Your place is kept for one more second.")
                            : QStringLiteral("Your place is kept for %1 more seconds.").arg(secondsLeft));
}

void ReconnectNotice::showDetail(bool trying, int nextInMs, int secondsLeft)
{
    const QString text = detailText(trying, nextInMs, secondsLeft);
    label_reconnectdetail->setText(text);
    label_reconnectdetail->setAccessibleName(text);
}

void ReconnectNotice::follow(Reconnector *reconnector, int tickMs)
{
    reconnector_ = reconnector;
    connect(reconnector, &Reconnector::attempting, this, [this] {
        waitMs_ = -1;
        updateDetail();
    });
    connect(reconnector, &Reconnector::waiting, this, [this](int waitMs) {
        waitMs_ = waitMs;
        updateDetail();
    });
    connect(button_giveup, &QPushButton::clicked, reconnector, &Reconnector::giveUp);
    clock_.setInterval(qMax(1, tickMs));
    connect(&clock_, &QTimer::timeout, this, [this] {
        if (waitMs_ > 0)
            waitMs_ = qMax(0, waitMs_ - clock_.interval());
        updateDetail();
    });
}

void ReconnectNotice::setActive(bool on)
{
    if (!on) {
        clock_.stop();
        hide();
        return;
    }
    waitMs_ = -1;
    updateDetail();
    raise();
    show();
    clock_.start();
}

void ReconnectNotice::updateDetail()
{
    if (reconnector_)
        showDetail(waitMs_ < 0, qMax(0, waitMs_), reconnector_->secondsLeft());
}

void ReconnectNotice::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(MainArt::clockRim, 1));
    p.setBrush(QColor(10, 16, 10, 235));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.end();
    QFrame::paintEvent(event);
}
