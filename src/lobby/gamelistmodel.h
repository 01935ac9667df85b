#pragma once

#include "discoverybrowser.h"

#include <QAbstractTableModel>

// The games a DiscoveryBrowser hears, one row each in the order they appeared: the
// host player's name, players and watchers out of the slots, whether a game is
// running, board size, minimum word length, target, version and address.
class GameListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Host, Players, State, Board, Target, Version, Address, ColumnCount };
    // Roles of every cell: the row's address (QString, numeric) and TCP port (int).
    enum Role { AddressRole = Qt::UserRole, PortRole };

    explicit GameListModel(DiscoveryBrowser *browser, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const FoundGame &game(int row) const { return games_.at(row); }
    // The row of the game at `address` and `port`, or -1.
    int rowOf(const QString &address, quint16 port) const;

    // One cell's text (also what a screen reader reads).
    static QString text(const FoundGame &game, int column);
    // The whole row in one sentence.
    static QString summary(const FoundGame &game);

private:
    void found(const FoundGame &game);
    void changed(const FoundGame &game);
    void lost(quint64 instance);
    int rowOfInstance(quint64 instance) const;

    QList<FoundGame> games_;
};
