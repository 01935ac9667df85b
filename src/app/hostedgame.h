#pragma once

#include "boarddealer.h"
#include "hostenvironment.h"

#include <QHostAddress>
#include <QObject>

class ComputerPlayers;
class GameSession;
class LazyWordTrie;
class TDictn;
class TServer;
struct SettingsValues;

// The game the player's window hosts: the in-process host `TServer`, which listens only
// once the window takes the host role, and the computer players added to it. It is
// the host's environment: the host reads the dictionary `spell`, the pause between
// rounds from the settings and the automatic restart from the session.
class HostedGame : public QObject, public HostEnvironment
{
    Q_OBJECT

public:
    HostedGame(GameSession &session, const TDictn &spell, const SettingsValues &settings, LazyWordTrie &trie,
        UniformDraw draw, quint32 botSeed, QObject *parent = nullptr);
    ~HostedGame() override;

    TServer *server() const { return server_; }
    ComputerPlayers *computerPlayers() const { return computerPlayers_; }

    // Starts listening on `port` (0: any free port). False, with a system line, when
    // another program holds the port.
    bool listen(quint16 port, const QHostAddress &address);

    // "Add Computer Player": a computer player of the strength (0 easy, 1 medium,
    // 2 hard) joins the game, while this window hosts it.
    void addComputerPlayer(int level);

    bool isword(QByteArrayView word) const override;
    int pauseBetweenRounds() const override;
    bool autoStartNextGame() const override;

private:
    GameSession &session_;
    const TDictn &spell_;
    const SettingsValues &settings_;
    TServer *server_;
    ComputerPlayers *computerPlayers_;
};
