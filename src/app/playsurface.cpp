#include "playsurface.h"

#include "boardmodel.h"
#include "clientdispatch.h"
#include "gamesession.h"
#include "gamesounds.h"
#include "verdict.h"
#include "wordentry.h"
#include "wordresults.h"

PlaySurface::PlaySurface(GameSession &session, BoardModel &board, WordEntry &entry, WordResults &results,
    ClientDispatch &dispatch, GameSounds &sounds, QObject *parent)
    : QObject(parent)
    , session_(session)
    , results_(results)
    , dispatch_(dispatch)
    , sounds_(sounds)
{
    // In the order each step of a round's start needs.
    connect(&session, &GameSession::roundStarting, &entry, [&entry] { entry.startRound(false); });
    connect(&session, &GameSession::roundStarting, &results, &WordResults::startRound);
    connect(&session, &GameSession::roundStarting, &board, &BoardModel::clearPathOverlay);
    connect(&session, &GameSession::roundStarted, &entry, [&entry](int, bool mine) {
        if (mine)
            entry.startRound(true);
    });
    connect(
        &session, &GameSession::turnChanged, &entry, [&entry](int, bool mine) { entry.setEntryOpen(mine); });
    connect(&session, &GameSession::watchingChanged, &entry, &WordEntry::setJustWatching);
    connect(&session, &GameSession::loggedIn, this, [&session, &entry, &results] {
        entry.setConnected(session.state().isconnected);
        results.setMyslot(session.state().myslot);
    });
    connect(&session, &GameSession::minLettersChanged, &entry, &WordEntry::setMinLetters);
    connect(&session, &GameSession::gameSettingsChanged, &board,
        [&session, &board] { board.setOddboard(session.state().oddboard); });
    connect(&session, &GameSession::cleared, &entry, &WordEntry::clearall);
    connect(&session, &GameSession::boardArrived, &board,
        [&board](const QList<Wire::FromHost::BoardCell> &cells) { board.loadboard(cells); });
    connect(&session, &GameSession::wordAccepted, &results, &WordResults::accept);
    connect(&session, &GameSession::wordRefused, &results, &WordResults::refuse);
    connect(&session, &GameSession::wordsRestored, this,
        [&entry, &results](const QList<Wire::FromHost::Found> &words) {
            // Only words the panel took: a host's list of junk or repeats stays cheap.
            for (const Wire::FromHost::Found &found : words)
                if (results.restore(found.word, found.points, found.first))
                    entry.markFound(found.word);
        });

    connect(&entry, &WordEntry::statusChanged, &session, &GameSession::setStatus);
    connect(
        &entry, &WordEntry::soundRequested, this, [this](const QString &name) { sounds_.playsounds(name); });
    connect(&entry, &WordEntry::wordJudged, this, &PlaySurface::carryOut);
    connect(&results, &WordResults::statusChanged, &session, &GameSession::setStatus);
    connect(&results, &WordResults::soundRequested, this,
        [this](const QString &name) { sounds_.playsounds(name); });
    connect(&results, &WordResults::clearWordRequested, &entry, &WordEntry::pressclear);
}

void PlaySurface::carryOut(const Verdict &verdict)
{
    if (verdict.status)
        session_.setStatus(*verdict.status);
    if (verdict.panelColour)
        results_.addword(verdict.word, *verdict.panelColour);
    if (!verdict.sound.isEmpty())
        sounds_.playsounds(verdict.sound);
    if (!verdict.send)
        return;
    QList<Wire::Tile> tiles;
    tiles.reserve(qsizetype(verdict.claim.size()));
    for (const Verdict::Tile &tile : verdict.claim)
        tiles.append({tile.row, tile.col});
    dispatch_.playerdone(tiles);
}
