#include "gamelistmodel.h"

#include "gameoptions.h"
#include "wire.h"

namespace {

QString boardText(int sizeCode, int minLetters)
{
    const BoardSizeChoice *choice = GameOptions::boardSizeForCode(sizeCode);
    if (!choice)
        return QStringLiteral("\u2014");
    QString size = QString::fromLatin1(choice->caption);
    if (choice->side)
        size.replace(QLatin1Char('X'), QChar(0x00D7));
    return minLetters ? QStringLiteral("%1, %2+ letters").arg(size).arg(minLetters) : size;
}

} // namespace

GameListModel::GameListModel(DiscoveryBrowser *browser, QObject *parent)
    : QAbstractTableModel(parent)
    , games_(browser->games())
{
    connect(browser, &DiscoveryBrowser::gameFound, this, &GameListModel::found);
    connect(browser, &DiscoveryBrowser::gameChanged, this, &GameListModel::changed);
    connect(browser, &DiscoveryBrowser::gameLost, this, &GameListModel::lost);
}

int GameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(games_.size());
}

int GameListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString GameListModel::text(const FoundGame &found, int column)
{
    const DiscoveryWire::Game &g = found.game;
    switch (column) {
    case Host: {
        const QString name = Wire::printable(Wire::fromWire(g.hostName)).trimmed();
        return name.isEmpty() ? QStringLiteral("(nobody yet)") : name;
    }
    case Players: {
        QString text = QStringLiteral("%1 of %2").arg(g.players + g.watchers).arg(g.capacity);
        if (g.watchers)
            text += QStringLiteral(", %1 watching").arg(g.watchers);
        return text;
    }
    case State:
        return g.running ? QStringLiteral("Playing") : QStringLiteral("Waiting");
    case Board:
        return boardText(g.sizeCode, g.minLetters);
    case Target:
        if (g.sizeCode == 0)
            return QStringLiteral("\u2014");
        return g.target == 0 ? QStringLiteral("One round") : QString::number(g.target);
    case Version:
        return QString::fromLatin1(g.version);
    case Address:
        return found.address.toString() + QLatin1Char(':') + QString::number(g.port);
    default:
        return {};
    }
}

QString GameListModel::summary(const FoundGame &game)
{
    return QStringLiteral("%1's game at %2: %3 players, %4; board %5, target %6, version %7")
        .arg(text(game, Host), text(game, Address), text(game, Players), text(game, State).toLower(),
            text(game, Board), text(game, Target), text(game, Version));
}

QVariant GameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= games_.size() || index.column() >= ColumnCount)
        return {};
    const FoundGame &game = games_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(game, index.column());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return summary(game);
    case AddressRole:
        return game.address.toString();
    case PortRole:
        return int(game.game.port);
    default:
        return {};
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titles[ColumnCount]
        = {"Host", "Players", "Game", "Board", "Target", "Version", "Address"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section]) : QVariant();
}

int GameListModel::rowOf(const QString &address, quint16 port) const
{
    for (int row = 0; row < games_.size(); ++row)
        if (games_[row].game.port == port && games_[row].address.isEqual(QHostAddress(address)))
            return row;
    return -1;
}

int GameListModel::rowOfInstance(quint64 instance) const
{
    for (int row = 0; row < games_.size(); ++row)
        if (games_[row].game.instance == instance)
            return row;
    return -1;
}

void GameListModel::found(const FoundGame &game)
{
    beginInsertRows({}, int(games_.size()), int(games_.size()));
    games_.append(game);
    endInsertRows();
}

void GameListModel::changed(const FoundGame &game)
{
    const int row = rowOfInstance(game.game.instance);
    if (row < 0)
        return;
    games_[row] = game;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void GameListModel::lost(quint64 instance)
{
    const int row = rowOfInstance(instance);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    games_.removeAt(row);
    endRemoveRows();
}
