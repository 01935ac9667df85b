#include "rostermodel.h"

#include <limits>

RosterModel::RosterModel(QObject *parent)
    : QObject(parent)
{ }

const RosterModel::Row &RosterModel::row(int slot) const
{
    static const Row none {QString(), QString(), QString(), 0, false, false};
    return isValidSlot(slot) ? rows_[std::size_t(slot - 1)] : none;
}

RosterModel::Row *RosterModel::mutableRow(int slot)
{
    return isValidSlot(slot) ? &rows_[std::size_t(slot - 1)] : nullptr;
}

void RosterModel::setName(int slot, const QString &name)
{
    if (Row *r = mutableRow(slot); r && r->name != name) {
        r->name = name;
        Q_EMIT rowChanged(slot);
    }
}

void RosterModel::setScore(int slot, const QString &score)
{
    if (Row *r = mutableRow(slot); r && r->score != score) {
        r->score = score;
        Q_EMIT rowChanged(slot);
    }
}

void RosterModel::setBonus(int slot, const QString &bonus, int tag)
{
    if (Row *r = mutableRow(slot)) {
        r->bonusTag = tag;
        if (r->bonus != bonus) {
            r->bonus = bonus;
            Q_EMIT rowChanged(slot);
        }
    }
}

void RosterModel::setWatching(int slot, bool watching)
{
    if (Row *r = mutableRow(slot); r && r->watching != watching) {
        r->watching = watching;
        Q_EMIT rowChanged(slot);
    }
}

void RosterModel::setAway(int slot, bool away)
{
    if (Row *r = mutableRow(slot); r && r->away != away) {
        r->away = away;
        Q_EMIT rowChanged(slot);
    }
}

void RosterModel::clearScores()
{
    for (int slot = 1; slot <= slotCount; ++slot) {
        setScore(slot, QStringLiteral("0"));
        setBonus(slot, QString(), 0);
    }
}

void RosterModel::tickBonuses()
{
    for (int slot = 1; slot <= slotCount; ++slot) {
        Row &r = rows_[std::size_t(slot - 1)];
        if (r.bonusTag > std::numeric_limits<int>::min())
            --r.bonusTag;
        if (r.bonusTag < 0 && !r.bonus.isEmpty()) {
            r.bonus.clear();
            Q_EMIT rowChanged(slot);
        }
    }
}
