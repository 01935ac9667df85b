#pragma once

#include "discoverywire.h"

#include <QAbstractTableModel>
#include <QStringList>

class DiscoveryBrowser;

// A game as the lobby lists it: what its host says and where players connect.
struct ListedGame
{
    DiscoveryWire::Game game;
    QString address; // numeric, or a name
    quint16 port = 0;
    // For a game announced on the internet: who announced it, and in which room.
    QString where;
    // The host answers offers to connect through routers.
    bool acceptsIce = false;
};

// Games, one row each in the order they appeared: the host player's name, players and
// watchers out of the slots, whether a game is running, board size, minimum word
// length, target, version and address, and for games on the internet where they
// were announced. Each row has a key of its owner's choosing.
class GameListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Host, Players, State, Board, Target, Version, Address, Where, ColumnCount };
    // Roles of every cell: the row's address (QString), TCP port (int) and key (QString).
    enum Role { AddressRole = Qt::UserRole, PortRole, KeyRole };

    // `withWhere`: the list has the column Where.
    explicit GameListModel(bool withWhere = false, QObject *parent = nullptr);

    // Lists the games `browser` hears, keyed by their instance number.
    void follow(DiscoveryBrowser *browser);
    // Adds the game under `key`, or changes the one there.
    void put(const QString &key, const ListedGame &game);
    void remove(const QString &key);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const ListedGame &game(int row) const { return games_.at(row); }
    // The rows of the games at `address` and `port`, in list order.
    QList<int> rowsOf(const QString &address, quint16 port) const;
    int rowOfKey(const QString &key) const { return int(keys_.indexOf(key)); }
    QString key(int row) const { return keys_.value(row); }

    // One cell's text (also what a screen reader reads).
    static QString text(const ListedGame &game, int column);
    // The whole row in one sentence.
    static QString summary(const ListedGame &game);

private:
    bool withWhere_;
    QStringList keys_;
    QList<ListedGame> games_;
};
