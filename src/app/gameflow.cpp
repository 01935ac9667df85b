#include "gameflow.h"

#include "playarea.h"
#include "tchat.h"

#include <QLabel>
#include <QPushButton>

GameFlow::GameFlow(Tchat &chat)
    : QObject(&chat)
    , chat_(chat)
{
    setObjectName(QStringLiteral("gameflow"));
}

void GameFlow::startthegame(const QByteArray &) { }

void GameFlow::getnextplayer(const QByteArray &) { }

void GameFlow::winner(const QByteArray &) { }

void GameFlow::loadboard(const QByteArray &) { }

void GameFlow::goodword(const QByteArray &) { }

void GameFlow::notvalid(const QByteArray &) { }

void GameFlow::timeup(const QByteArray &) { }

void GameFlow::joinRunningRound()
{
    PlayArea *play = chat_.playArea();
    play->label_status->setText(QStringLiteral("Click or Type a Word!"));
    play->button_rotate->show();
    play->label_typingoff->setProperty("tag", 1);
    play->label_typingoff->setProperty("hint", QStringLiteral("1"));
    play->label_typingoff->setText(QStringLiteral("TYPING ON"));
}
