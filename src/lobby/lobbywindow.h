#pragma once

#include "communitylobby.h"
#include "lobby.h"

#include <QWidget>

class DesktopShell;
class QAbstractItemModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTextBrowser;
class QTreeView;
class QUrl;

// The lobby's window: the player's name, "Play Solo" and "Host a Game", the games
// on the network and on the internet, and an address to join (a listed game's, a
// recent host's or a typed one); beside them the community room: its people (to
// invite to the game this lobby hosts) and its chat. Links in the chat open only when
// clicked: web links in the browser, game links through the same look as joining.
// Everything works from the keyboard: the lists take the arrow keys, and Enter on a
// game joins it.
class LobbyWindow : public QWidget
{
    Q_OBJECT

public:
    // `shell` opens web links (the desktop's when null).
    explicit LobbyWindow(Lobby &lobby, QWidget *parent = nullptr, DesktopShell *shell = nullptr);

    // Shows the window again: restores it when minimised, else raises it.
    void bringForward();

    // A list of games as the window shows one (its columns fit their contents).
    static QTreeView *makeGameList(
        QAbstractItemModel *model, const char *name, const QString &accessibleName);

    // The game listed in the selected row joins (Enter or a double click on a row).
    void joinSelected();
    // "Join": the selected game when the address is its own, else the typed address.
    void joinClick();
    // A game link from the command line or another start of the lobby.
    void openLink(const QString &link);
    void openCommunitySettings();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showStatus(const QString &text, bool problem);
    void showState(Lobby::State state);
    void fillRecentHosts();
    void selectionChanged();
    void updateListHint();
    void storeName();
    void showCommunityStatus(const QString &text, bool problem);
    void showInRoom(bool inRoom);
    void addChatLine(const CommunityLobby::ChatLine &line);
    void chatLinkClicked(const QUrl &url);
    void askPassword(const QString &account);
    void updateInvite();
    void sayClick();

    Lobby &lobby_;
    CommunityLobby &community_;
    DesktopShell *shell_;
    // The list a game was last chosen in.
    QTreeView *chosenList_ = nullptr;
    QLineEdit *edit_name;
    QPushButton *button_solo;
    QPushButton *button_host;
    QTreeView *list_games;
    QLabel *label_nogames;
    QPushButton *button_refresh;
    QTreeView *list_internet;
    QLabel *label_nointernet;
    QListView *list_people;
    QPushButton *button_invite;
    QTextBrowser *view_chat;
    QLineEdit *edit_chat;
    QPushButton *button_say;
    QLabel *label_community;
    QPushButton *button_signin;
    QPushButton *button_community;
    QComboBox *combo_address;
    QPushButton *button_join;
    QPushButton *button_rejoin;
    QLabel *label_status;
};
