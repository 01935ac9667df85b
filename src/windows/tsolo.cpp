#include "tsolo.h"

#include "artwork.h"
#include "clicklabel.h"
#include "systemshell.h"
#include "weblinks.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Tsolo::Tsolo(QWidget *parent, DesktopShell *shell)
    : SideWindow(parent, Qt::Tool)
    , shell_(shell ? shell : &SystemShell::instance())
{
    setWindowTitle(QStringLiteral("Wendlewick - Solo"));

    auto *picture = new ClickLabel;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::soloPicture());
    picture->setAccessibleName(QStringLiteral("Wendlewick Solo"));
    picture->setToolTip(WebLinks::soloPage().toString());

    auto *invitation = new ClickLabel(QStringLiteral(
        "Want to play Wendlewick on your own, any time, without waiting for a game? Take a look at "
        "Wendlewick Solo on our web site!"));
    invitation->setObjectName(QStringLiteral("Label5"));
    invitation->setWordWrap(true);
    QFont larger = invitation->font();
    larger.setPixelSize(15);
    invitation->setFont(larger);

    auto *link = new ClickLabel(QStringLiteral("Click HERE to learn how to Play Wendlewick Solo!"));
    link->setObjectName(QStringLiteral("Label6"));
    link->setWordWrap(true);
    QFont linkFont = larger;
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setStyleSheet(QStringLiteral("color: #ffdc6e;"));
    link->setToolTip(WebLinks::soloPage().toString());

    for (ClickLabel *label : {picture, invitation, link})
        connect(label, &ClickLabel::clicked, this, &Tsolo::Label6Click);

    auto *done = new QPushButton(QStringLiteral("Done"));
    done->setObjectName(QStringLiteral("button_done"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tsolo::button_doneClick);

    auto *text = new QVBoxLayout;
    text->setSpacing(14);
    text->addStretch();
    text->addWidget(invitation);
    text->addWidget(link);
    text->addStretch();
    text->addWidget(done, 0, Qt::AlignRight);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 16);
    layout->setSpacing(18);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    setFixedSize(500, 206);
}

void Tsolo::Label6Click()
{
    shell_->openUrl(WebLinks::soloPage());
}

void Tsolo::button_doneClick()
{
    close();
}
