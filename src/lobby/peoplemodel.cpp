#include "peoplemodel.h"

#include "wire.h"

namespace {

bool before(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

PeopleModel::PeopleModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

qsizetype PeopleModel::lowerBound(const QString &nick) const
{
    return std::lower_bound(people_.begin(), people_.end(), nick, [](const Person &p, const QString &n) {
        return before(p.nick, n);
    }) - people_.begin();
}

int PeopleModel::rowOf(const QString &nick) const
{
    const qsizetype at = lowerBound(nick);
    return at < people_.size() && people_[at].nick == nick ? int(at) : -1;
}

void PeopleModel::put(const QString &nick, bool own, bool hosting)
{
    const qsizetype at = lowerBound(nick);
    if (at < people_.size() && people_[at].nick == nick) {
        people_[at].own = own;
        people_[at].hosting = hosting;
        Q_EMIT dataChanged(index(int(at)), index(int(at)));
        return;
    }
    beginInsertRows({}, int(at), int(at));
    people_.insert(at, {nick, own, hosting});
    endInsertRows();
}

void PeopleModel::remove(const QString &nick)
{
    const int row = rowOf(nick);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    people_.removeAt(row);
    endRemoveRows();
}

void PeopleModel::clear()
{
    beginResetModel();
    people_.clear();
    endResetModel();
}

int PeopleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(people_.size());
}

QVariant PeopleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= people_.size())
        return {};
    const Person &p = people_.at(index.row());
    const QString name = Wire::printable(p.nick);
    switch (role) {
    case Qt::DisplayRole:
        return p.own ? QStringLiteral("%1 (you)").arg(name) : name;
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return p.hosting ? QStringLiteral("%1 hosts a game").arg(name) : name;
    case NickRole:
        return p.nick;
    case OwnRole:
        return p.own;
    case HostingRole:
        return p.hosting;
    default:
        return {};
    }
}
