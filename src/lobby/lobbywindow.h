#pragma once

#include "lobby.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The lobby's window: the player's name, "Play Solo" and "Host a Game", the games
// on the network, and an address to join (a listed game's, a recent host's or a typed
// one). Everything works from the keyboard: the list takes the arrow keys, and Enter
// on a game joins it.
class LobbyWindow : public QWidget
{
    Q_OBJECT

public:
    explicit LobbyWindow(Lobby &lobby, QWidget *parent = nullptr);

    // Shows the window again: restores it when minimised, else raises it.
    void bringForward();

    // The game listed in the selected row joins (Enter or a double click on a row).
    void joinSelected();
    // "Join": the selected game when the address is its own, else the typed address.
    void joinClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showStatus(const QString &text, bool problem);
    void showState(Lobby::State state);
    void fillRecentHosts();
    void selectionChanged();
    void updateListHint();
    void storeName();

    Lobby &lobby_;
    QLineEdit *edit_name;
    QPushButton *button_solo;
    QPushButton *button_host;
    QTreeView *list_games;
    QLabel *label_nogames;
    QPushButton *button_refresh;
    QComboBox *combo_address;
    QPushButton *button_join;
    QLabel *label_status;
};
