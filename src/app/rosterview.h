#pragma once

#include <QObject>

#include <array>

class QAction;
class QLabel;
class QMenu;
class QWidget;
class GameSession;
class RosterModel;
struct ClientState;

// The roster rows and the game-settings labels of the board panel, and the host
// player's menu on the roster names (`popup_kick`). Each row shows one slot of the
// RosterModel: `label_playername<n>`, `label_score<n>`, `label_bonus<n>` and the
// eyes picture `image_eyes<n>` of a watching player.
class RosterView : public QObject
{
    Q_OBJECT

public:
    RosterView(QWidget *panel, RosterModel *model, const ClientState *state);

    // Shows the session's game settings whenever they change.
    void follow(const GameSession *session);

    QLabel *name(int slot) const;
    QLabel *score(int slot) const;
    QLabel *bonus(int slot) const;
    QLabel *eyes(int slot) const;

    QLabel *label_playtoscore = nullptr;
    QLabel *label_timeperturn = nullptr;
    QLabel *label_boardsize = nullptr;
    QLabel *label_minletters = nullptr;

    QMenu *popup_kick = nullptr;
    QAction *RemoveFromGame1 = nullptr;
    QAction *SettoJustWatch1 = nullptr;
    QAction *UnsetJustWatch1 = nullptr;

    // Shows the running game's settings of `state` in the four labels under the roster.
    void showGameSettings(const ClientState &state);

    // Draws names, scores and bonuses `scale` times their size, as large as the rows
    // allow.
    void setTextScale(double scale);

    // Prepares `popup_kick` for the name label of `slot`: all items enabled for the
    // host, none for anyone else, "Remove From Game" never on an empty slot.
    void label_playername1ContextPopup(int slot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void removeFromGameRequested(int slot);
    void setJustWatchRequested(int slot);
    void unsetJustWatchRequested(int slot);

private:
    void showRow(int slot);

    RosterModel *model_;
    const ClientState *state_;
    std::array<QLabel *, 10> names_ {};
    std::array<QLabel *, 10> scores_ {};
    std::array<QLabel *, 10> bonuses_ {};
    std::array<QLabel *, 10> eyes_ {};
};
