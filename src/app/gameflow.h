#pragma once

#include "gameflowhandlers.h"

#include <QObject>

class Tchat;

// The round and game flow in the player's window: what the host's game messages do
// to the board, the word entry, the round clock, the words and the winner banner.
// Until those parts are placed in the window the handlers of the game's course do
// nothing; a late joiner's entry into a running round already shows its status,
// the rotate button and typing.
class GameFlow : public QObject, public GameFlowHandlers
{
    Q_OBJECT

public:
    explicit GameFlow(Tchat &chat);

    void startthegame(const QByteArray &rest) override;
    void getnextplayer(const QByteArray &rest) override;
    void winner(const QByteArray &rest) override;
    void loadboard(const QByteArray &rest) override;
    void goodword(const QByteArray &rest) override;
    void notvalid(const QByteArray &rest) override;
    void timeup(const QByteArray &rest) override;
    void joinRunningRound() override;

private:
    Tchat &chat_;
};
