#include "computerplayers.h"

#include "botplayer.h"
#include "lazywordtrie.h"

const QStringList &ComputerPlayers::spareNames()
{
    static const QStringList names {QStringLiteral("Klot"), QStringLiteral("Klock"), QStringLiteral("Kling"),
        QStringLiteral("Klick"), QStringLiteral("Krazy")};
    return names;
}

ComputerPlayers::ComputerPlayers(LazyWordTrie &trie, NamesInUse namesInUse, quint32 seed, QObject *parent)
    : QObject(parent)
    , trie_(trie)
    , namesInUse_(std::move(namesInUse))
    , random_(seed)
{ }

ComputerPlayers::~ComputerPlayers()
{
    // Deleted here, not as children, so that none reports to a half-destroyed owner.
    const QList<BotPlayer *> players = players_;
    players_.clear();
    for (BotPlayer *player : players) {
        player->disconnect(this);
        delete player;
    }
}

void ComputerPlayers::setSecondLength(int milliseconds)
{
    secondMs_ = milliseconds;
}

QString ComputerPlayers::freeName() const
{
    QStringList taken = namesInUse_ ? namesInUse_() : QStringList();
    for (const BotPlayer *player : players_)
        taken.append(player->name());
    for (const QString &name : spareNames()) {
        if (!taken.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return {};
}

BotPlayer *ComputerPlayers::add(BotStrength::Level level, const QHostAddress &address, quint16 port)
{
    const QString name = freeName();
    if (name.isEmpty())
        return nullptr;
    auto *player = new BotPlayer(name, level, trie_, random_.generate(), this);
    player->setSecondLength(secondMs_);
    players_.append(player);
    connect(player, &BotPlayer::closed, this, [this, player] { gone(player); });
    // Built ahead of the first round, a slice at a time from the event loop.
    trie_.start();
    emit playerAdded(player);
    player->connectToHost(address, port);
    return player;
}

void ComputerPlayers::remove(BotPlayer *player)
{
    if (players_.contains(player))
        player->leave();
}

void ComputerPlayers::removeAll()
{
    for (BotPlayer *player : QList<BotPlayer *>(players_))
        player->leave();
}

QList<BotPlayer *> ComputerPlayers::players() const
{
    return players_;
}

void ComputerPlayers::gone(BotPlayer *player)
{
    if (!players_.removeOne(player))
        return;
    if (!player->isAdmitted())
        emit playerRefused(player->name());
    emit playerGone(player->name());
    // Later: the player may be inside one of its own handlers.
    player->deleteLater();
}
