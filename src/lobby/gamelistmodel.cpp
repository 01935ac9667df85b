#include "gamelistmodel.h"

#include "discoverybrowser.h"
#include "gameoptions.h"
#include "wire.h"

#include <QHostAddress>

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

GameListModel::GameListModel(bool withWhere, QObject *parent)
    : QAbstractTableModel(parent)
    , withWhere_(withWhere)
{ }

void GameListModel::follow(DiscoveryBrowser *browser)
{
    const auto listed = [](const FoundGame &found) {
        return ListedGame {found.game, found.address.toString(), found.game.port, {}};
    };
    for (const FoundGame &found : browser->games())
        put(QString::number(found.game.instance), listed(found));
    connect(browser, &DiscoveryBrowser::gameFound, this,
        [this, listed](const FoundGame &found) { put(QString::number(found.game.instance), listed(found)); });
    connect(browser, &DiscoveryBrowser::gameChanged, this,
        [this, listed](const FoundGame &found) { put(QString::number(found.game.instance), listed(found)); });
    connect(browser, &DiscoveryBrowser::gameLost, this,
        [this](quint64 instance) { remove(QString::number(instance)); });
}

int GameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(games_.size());
}

int GameListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (withWhere_ ? ColumnCount : Where);
}

QString GameListModel::text(const ListedGame &listed, int column)
{
    const DiscoveryWire::Game &g = listed.game;
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
    case Address: {
        const QString host = listed.address.contains(QLatin1Char(':'))
            ? QLatin1Char('[') + listed.address + QLatin1Char(']')
            : listed.address;
        return host + QLatin1Char(':') + QString::number(listed.port);
    }
    case Where:
        return Wire::printable(listed.where);
    default:
        return {};
    }
}

QString GameListModel::summary(const ListedGame &game)
{
    QString sentence
        = QStringLiteral("%1's game at %2: %3 players, %4; board %5, target %6, version %7")
              .arg(text(game, Host), text(game, Address), text(game, Players), text(game, State).toLower(),
                  text(game, Board), text(game, Target), text(game, Version));
    if (!game.where.isEmpty())
        sentence += QStringLiteral("; announced by %1").arg(text(game, Where));
    return sentence;
}

QVariant GameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= games_.size() || index.column() >= columnCount())
        return {};
    const ListedGame &game = games_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(game, index.column());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return summary(game);
    case AddressRole:
        return game.address;
    case PortRole:
        return int(game.port);
    case KeyRole:
        return keys_.value(index.row());
    default:
        return {};
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titles[ColumnCount]
        = {"Host", "Players", "Game", "Board", "Target", "Version", "Address", "Where"};
    return section >= 0 && section < columnCount() ? QString::fromLatin1(titles[section]) : QVariant();
}

QList<int> GameListModel::rowsOf(const QString &address, quint16 port) const
{
    const QHostAddress numeric(address);
    QList<int> rows;
    for (int row = 0; row < games_.size(); ++row) {
        const ListedGame &g = games_[row];
        if (g.port == port
            && (numeric.isNull() ? g.address.compare(address, Qt::CaseInsensitive) == 0
                                 : numeric.isEqual(QHostAddress(g.address))))
            rows.append(row);
    }
    return rows;
}

void GameListModel::put(const QString &key, const ListedGame &game)
{
    const int row = rowOfKey(key);
    if (row >= 0) {
        games_[row] = game;
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        return;
    }
    beginInsertRows({}, int(games_.size()), int(games_.size()));
    keys_.append(key);
    games_.append(game);
    endInsertRows();
}

void GameListModel::remove(const QString &key)
{
    const int row = rowOfKey(key);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    keys_.removeAt(row);
    games_.removeAt(row);
    endRemoveRows();
}

void GameListModel::clear()
{
    if (games_.isEmpty())
        return;
    beginResetModel();
    keys_.clear();
    games_.clear();
    endResetModel();
}
