#include "tallylist.h"

#include <algorithm>

namespace {

bool isOwnTotal(int column)
{
    return column >= TallyList::totalGames && column <= TallyList::longWords;
}

} // namespace

TallyList::TallyList(const QString &folder, QObject *parent)
    : QObject(parent)
    , file_(folder)
{ }

TallyList::~TallyList()
{
    if (unsaved_)
        file_.save(scores_);
}

QString TallyList::load()
{
    const TallyFile::LoadResult result = file_.load(scores_);
    loadtally();
    emit changed();
    return result.message;
}

void TallyList::loadtally()
{
    for (int row = 1; row < scores_.rows(); ++row) {
        for (int column = 5; column <= 8; ++column)
            scores_.setCell(column, row, QStringLiteral("0"));
    }
}

void TallyList::loadchecklist(const TallyRoster &roster)
{
    players_.clear();
    const int rosterSlots = std::min<int>(TallyRoster::maxplayers, int(roster.names.size()));
    for (int slot = 1; slot <= rosterSlots; ++slot) {
        const QString &name = roster.names.at(slot - 1);
        if (slot == roster.myslot || name == TallyRoster::waiting)
            continue;
        const bool listed = std::any_of(
            players_.cbegin(), players_.cend(), [&](const Player &p) { return p.name == name; });
        if (!listed)
            players_.append({name, isTallied(name)});
    }
    emit changed();
}

void TallyList::addgame(const QString &winner, const TallyRoster &roster)
{
    if (!roster.isPlaying())
        return;
    loadchecklist(roster);
    const QString ownName = roster.ownName();
    const bool playerWon = !ownName.isEmpty() && winner == ownName;

    scores_.addit(totalGames, 0);
    if (playerWon)
        scores_.addit(yourWins, 0);

    for (const Player &player : std::as_const(players_)) {
        const int row = scores_.rowOf(player.name);
        if (row < 1)
            continue;
        for (int column = 1; column <= 8; ++column) {
            if (scores_.cell(column, row).isEmpty())
                scores_.setCell(column, row, QStringLiteral("0"));
        }
        scores_.addit(1, row);
        scores_.addit(5, row);
        if (playerWon) {
            scores_.addit(3, row);
            scores_.addit(7, row);
        } else if (player.name == winner) {
            scores_.addit(2, row);
            scores_.addit(6, row);
        } else {
            scores_.addit(4, row);
            scores_.addit(8, row);
        }
    }
    commit();
}

void TallyList::addtomineincrease(int column)
{
    if (!isOwnTotal(column))
        return;
    scores_.addit(column, 0);
    // This comes in the middle of a round, where a sync to disk could stall the board:
    // the count is written with the next change, at the latest when the game is counted.
    unsaved_ = true;
    emit changed();
}

void TallyList::addtomineset(int column, qint64 value)
{
    if (!isOwnTotal(column) || value < 0)
        return;
    scores_.setCell(column, 0, QString::number(value));
    commit();
}

void TallyList::recordRoundWords(int wordsFound)
{
    bool ok = false;
    const qint64 best = ownTotal(mostWordsInRound).toLongLong(&ok);
    if (ok && wordsFound > best)
        addtomineset(mostWordsInRound, wordsFound);
}

bool TallyList::canTally(const QString &name)
{
    return !name.contains(u'\r') && !name.contains(u'\n');
}

void TallyList::checklistClickCheck(const QString &name, bool ticked)
{
    auto player
        = std::find_if(players_.begin(), players_.end(), [&](const Player &p) { return p.name == name; });
    if (player == players_.end())
        return;
    if (!ticked) {
        player->ticked = false;
        emit changed();
        return;
    }
    if (!canTally(name)) {
        player->ticked = false;
        emit changed();
        return;
    }
    player->ticked = true;
    if (isTallied(name)) {
        emit changed();
        return;
    }
    scores_.appendOpponent(name);
    commit();
}

void TallyList::moverow(int row)
{
    if (row < 1 || row >= scores_.rows())
        return;
    scores_.moverow(row);
    commit();
}

bool TallyList::removeOpponent(const QString &name)
{
    const int row = scores_.rowOf(name);
    if (row < 1)
        return false;
    for (Player &player : players_) {
        if (player.name == name)
            player.ticked = false;
    }
    moverow(row);
    return true;
}

void TallyList::reset()
{
    for (int column = totalGames; column <= longWords; ++column)
        scores_.setCell(column, 0, QStringLiteral("0"));
    scores_.removeOpponents();
    for (Player &player : players_)
        player.ticked = false;
    commit();
}

void TallyList::commit()
{
    unsaved_ = true;
    save();
    emit changed();
}

bool TallyList::save()
{
    if (file_.save(scores_)) {
        unsaved_ = false;
        reportedError_.clear();
        return true;
    }
    if (file_.errorString() != reportedError_) {
        reportedError_ = file_.errorString();
        emit fileError(reportedError_);
    }
    return false;
}
