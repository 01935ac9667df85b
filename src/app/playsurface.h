#pragma once

#include <QObject>

class BoardModel;
class ClientDispatch;
class GameSession;
class GameSounds;
class WordEntry;
class WordResults;
struct Verdict;

// The play surface's models following a game session: each round starts the word entry,
// the host's verdicts and the board's path afresh, the turn opens and closes the entry,
// the game's settings give the minimum length and the board's odd side, and the host's
// board and verdicts arrive. The other way, the entry's and the verdicts' texts become
// the session's status, their sounds play, and a finished word the player's own judgement
// lets through is claimed from the host.
class PlaySurface : public QObject
{
    Q_OBJECT

public:
    PlaySurface(GameSession &session, BoardModel &board, WordEntry &entry, WordResults &results,
        ClientDispatch &dispatch, GameSounds &sounds, QObject *parent = nullptr);

private:
    // Carries out the player's own judgement of a finished word: status, words-panel
    // line, sound and the claim to the host.
    void carryOut(const Verdict &verdict);

    GameSession &session_;
    WordResults &results_;
    ClientDispatch &dispatch_;
    GameSounds &sounds_;
};
