#pragma once

#include "botstrength.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QStringList>

#include <functional>

class BotPlayer;
class LazyWordTrie;

// The computer players of one host: adds them under the host's spare names, removes
// them, and deletes each one whose connection ended (it left, the host player
// removed it, or the host went away).
class ComputerPlayers : public QObject
{
    Q_OBJECT

public:
    // The names of the players in the game now, as the host knows them.
    using NamesInUse = std::function<QStringList()>;

    // The host's spare names, in the order they are given out.
    static const QStringList &spareNames();

    // `trie` must outlive this object; `seed` seeds the generator that seeds each player.
    ComputerPlayers(LazyWordTrie &trie, NamesInUse namesInUse, quint32 seed, QObject *parent = nullptr);
    ~ComputerPlayers() override;

    // Players added from now on count game seconds of this many milliseconds.
    void setSecondLength(int milliseconds);

    // The first spare name that no player in the game and no computer player of
    // ours has (letter case ignored); empty when all are taken.
    QString freeName() const;

    // Adds a computer player of `level` and connects it to the host; nullptr (and
    // nothing added) when every spare name is taken.
    BotPlayer *add(BotStrength::Level level, const QHostAddress &address, quint16 port);
    // Makes the player leave the game; it is deleted once its connection is closed.
    void remove(BotPlayer *player);
    // Every player leaves (the host is closing).
    void removeAll();

    QList<BotPlayer *> players() const;
    qsizetype count() const { return players_.size(); }

Q_SIGNALS:
    void playerAdded(BotPlayer *player);
    // The player's connection ended; it is deleted right after this.
    void playerGone(const QString &name);
    // The player's connection ended before the host admitted it (the game is full,
    // or the host cannot be reached); playerGone() follows.
    void playerRefused(const QString &name);

private:
    void gone(BotPlayer *player);

    LazyWordTrie &trie_;
    NamesInUse namesInUse_;
    QRandomGenerator random_;
    int secondMs_ = 1000;
    QList<BotPlayer *> players_;
};
