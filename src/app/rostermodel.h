#pragma once

#include <QObject>
#include <QString>

#include <array>

// The ten roster slots as the player's window shows them. Slot numbers run from 1
// to slotCount; calls with any other slot are ignored (reads give an empty row).
class RosterModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int slotCount = 10;
    static inline const QString waiting = QStringLiteral("<Waiting>");

    struct Row
    {
        QString name = waiting;
        QString score = QStringLiteral("0");
        QString bonus; // "+" and points, or blank
        int bonusTag = 0; // round-clock ticks left before the bonus is blanked
        bool watching = false;
        bool away = false; // the player's connection dropped; the seat is held
    };

    explicit RosterModel(QObject *parent = nullptr);

    static bool isValidSlot(int slot) { return slot >= 1 && slot <= slotCount; }
    const Row &row(int slot) const;
    bool isWaiting(int slot) const { return row(slot).name == waiting; }

    void setName(int slot, const QString &name);
    void setScore(int slot, const QString &score);
    void setBonus(int slot, const QString &bonus, int tag);
    void setWatching(int slot, bool watching);
    void setAway(int slot, bool away);
    // Every score to "0" and every bonus blank (the start of a game).
    void clearScores();
    // One tick of the round clock: every bonus tag goes down by 1, and a bonus whose
    // tag falls below 0 is blanked.
    void tickBonuses();

Q_SIGNALS:
    void rowChanged(int slot);

private:
    Row *mutableRow(int slot);

    std::array<Row, slotCount> rows_;
};
