#pragma once

#include <QAbstractListModel>
#include <QList>

// The people in the community's room, sorted by name (case aside): each one's name,
// whether it is this lobby's own seat, and whether they announce a game. A change
// costs a binary search and one row's move.
class PeopleModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { NickRole = Qt::UserRole, OwnRole, HostingRole };

    explicit PeopleModel(QObject *parent = nullptr);

    // Adds `nick`, or changes the row there.
    void put(const QString &nick, bool own, bool hosting);
    void remove(const QString &nick);
    void clear();
    int rowOf(const QString &nick) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Person
    {
        QString nick;
        bool own = false;
        bool hosting = false;
    };
    // Where `nick` is or would go.
    qsizetype lowerBound(const QString &nick) const;

    QList<Person> people_;
};
