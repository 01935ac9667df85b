#include "hostedgame.h"

#include "botstrength.h"
#include "computerplayers.h"
#include "esockexception.h"
#include "gamesession.h"
#include "settingsvalues.h"
#include "tdictn.h"
#include "tserver.h"

HostedGame::HostedGame(GameSession &session, const TDictn &spell, const SettingsValues &settings,
    LazyWordTrie &trie, UniformDraw draw, quint32 botSeed, QObject *parent)
    : QObject(parent)
    , session_(session)
    , spell_(spell)
    , settings_(settings)
    , server_(new TServer(*this, std::move(draw), this))
{
    server_->setObjectName(QStringLiteral("server"));
    const auto namesInUse = [this] {
        QStringList names;
        for (int s = 1; s <= server_->highestSlot(); ++s)
            if (server_->slot(s).inUse)
                names << Wire::fromWire(server_->slot(s).name);
        return names;
    };
    computerPlayers_ = new ComputerPlayers(trie, namesInUse, botSeed, this);
    connect(computerPlayers_, &ComputerPlayers::playerRefused, this, [this](const QString &name) {
        session_.addSystemLine(name + QStringLiteral(" could not join: the game is full."));
    });
}

HostedGame::~HostedGame()
{
    // The computer players leave before their host goes.
    delete computerPlayers_;
    delete server_;
}

bool HostedGame::listen(quint16 port, const QHostAddress &address)
{
    try {
        server_->listen(port, address);
    } catch (const ESockException &) {
        session_.addSystemLine(QStringLiteral("Could not host the game: port ") + QString::number(port)
            + QStringLiteral(" is in use by another program."));
        return false;
    }
    return true;
}

void HostedGame::addComputerPlayer(int level)
{
    if (!session_.state().ishost || level < BotStrength::Easy || level > BotStrength::Hard)
        return;
    if (!computerPlayers_->add(BotStrength::Level(level), QHostAddress::LocalHost, server_->port()))
        session_.addSystemLine(QStringLiteral("Every computer player is already in the game."));
}

bool HostedGame::isword(QByteArrayView word) const
{
    return spell_.isword(word);
}

int HostedGame::pauseBetweenRounds() const
{
    return settings_.timeBetweenRounds;
}

bool HostedGame::autoStartNextGame() const
{
    return session_.state().autoStartNextGame;
}
