#include "lobbywindow.h"

#include "communitydialog.h"
#include "discoverybrowser.h"
#include "gamelistmodel.h"
#include "lobbysettings.h"
#include "peoplemodel.h"
#include "roomchattext.h"
#include "systemshell.h"
#include "wire.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Lines the room's chat keeps; older ones go.
constexpr int chatLinesKept = 500;

QPushButton *button(const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QChar(0x2026)));
    b->setAutoDefault(false);
    return b;
}

// Rows that the columns' widths are measured on: a room of hundreds of games would
// otherwise measure every row at every change.
constexpr int rowsMeasured = 32;

} // namespace

QTreeView *LobbyWindow::makeGameList(QAbstractItemModel *model, const char *name, const QString &accessible)
{
    auto *list = new QTreeView;
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(accessible);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setResizeContentsPrecision(rowsMeasured);
    return list;
}

namespace {

QLabel *hint(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

LobbyWindow::LobbyWindow(Lobby &lobby, QWidget *parent, DesktopShell *shell)
    : QWidget(parent)
    , lobby_(lobby)
    , community_(*lobby.community())
    , shell_(shell ? shell : &SystemShell::instance())
{
    setWindowTitle(QStringLiteral("Wendlewick Lobby"));
    setObjectName(QStringLiteral("lobbywindow"));

    edit_name = new QLineEdit(lobby_.playerName());
    edit_name->setObjectName(QStringLiteral("edit_name"));
    edit_name->setAccessibleName(QStringLiteral("Your name"));
    edit_name->setMaxLength(LobbySettings::maxNameLength);
    auto *nameLabel = new QLabel(QStringLiteral("Your &name:"));
    nameLabel->setBuddy(edit_name);
    button_solo = button(QStringLiteral("Play &Solo"), "button_solo");
    button_host = button(QStringLiteral("&Host a Game"), "button_host");

    list_games = makeGameList(lobby_.games(), "list_games", QStringLiteral("Games on your network"));
    auto *listLabel = new QLabel(QStringLiteral("&Games on your network:"));
    listLabel->setBuddy(list_games);
    label_nogames = hint("label_nogames");
    button_refresh = button(QStringLiteral("&Refresh"), "button_refresh");

    list_internet
        = makeGameList(community_.games(), "list_internet", QStringLiteral("Games on the internet"));
    auto *internetLabel = new QLabel(QStringLiteral("Games on the &internet:"));
    internetLabel->setBuddy(list_internet);
    label_nointernet = hint("label_nointernet");

    list_people = new QListView;
    list_people->setObjectName(QStringLiteral("list_people"));
    list_people->setAccessibleName(QStringLiteral("People in the room"));
    list_people->setModel(community_.people());
    list_people->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_people->setUniformItemSizes(true);
    auto *peopleLabel = new QLabel(QStringLiteral("&People in the room:"));
    peopleLabel->setBuddy(list_people);
    button_invite = button(QStringLiteral("In&vite to Your Game"), "button_invite");

    view_chat = new QTextBrowser;
    view_chat->setObjectName(QStringLiteral("view_chat"));
    view_chat->setAccessibleName(QStringLiteral("Room chat"));
    view_chat->setOpenLinks(false);
    view_chat->setOpenExternalLinks(false);
    view_chat->document()->setMaximumBlockCount(chatLinesKept);
    edit_chat = new QLineEdit;
    edit_chat->setObjectName(QStringLiteral("edit_chat"));
    edit_chat->setAccessibleName(QStringLiteral("Say in the room"));
    edit_chat->setMaxLength(RoomClient::maxTextChars);
    auto *chatLabel = new QLabel(QStringLiteral("Room &chat:"));
    chatLabel->setBuddy(edit_chat);
    button_say = button(QStringLiteral("S&end"), "button_say");

    label_community = hint("label_community");
    label_community->setAccessibleName(QStringLiteral("Internet status"));
    label_community->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    button_signin = button(QStringLiteral("Sign &In"), "button_signin");
    button_community = button(QStringLiteral("In&ternet Settings\u2026"), "button_community");

    combo_address = new QComboBox;
    combo_address->setObjectName(QStringLiteral("combo_address"));
    combo_address->setAccessibleName(QStringLiteral("Address of the game to join"));
    combo_address->setEditable(true);
    combo_address->setInsertPolicy(QComboBox::NoInsert);
    combo_address->setMinimumContentsLength(24);
    combo_address->lineEdit()->setAccessibleName(combo_address->accessibleName());
    combo_address->view()->setAccessibleName(QStringLiteral("Recent hosts"));
    combo_address->lineEdit()->setPlaceholderText(
        QStringLiteral("a name or an address, such as 192.168.1.20"));
    auto *addressLabel = new QLabel(QStringLiteral("&Address:"));
    addressLabel->setBuddy(combo_address);
    button_join = button(QStringLiteral("&Join"), "button_join");
    button_join->setDefault(true);
    // Shown while the host of a game whose connection was lost keeps the player's seat.
    button_rejoin = button(QStringLiteral("&Rejoin"), "button_rejoin");
    button_rejoin->setAccessibleDescription(
        QStringLiteral("Back to your place in the game whose connection was lost"));
    button_rejoin->setVisible(false);

    label_status = new QLabel;
    label_status->setObjectName(QStringLiteral("label_status"));
    label_status->setAccessibleName(QStringLiteral("Status"));
    label_status->setWordWrap(true);
    label_status->setTextFormat(Qt::PlainText);
    label_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(edit_name, 1);
    nameRow->addWidget(button_solo);
    nameRow->addWidget(button_host);

    auto *listHead = new QHBoxLayout;
    listHead->addWidget(listLabel, 1);
    listHead->addWidget(button_refresh);
    auto *gamesColumn = new QWidget;
    auto *games = new QVBoxLayout(gamesColumn);
    games->setContentsMargins(0, 0, 0, 0);
    games->addLayout(listHead);
    games->addWidget(list_games, 1);
    games->addWidget(label_nogames);
    games->addSpacing(6);
    games->addWidget(internetLabel);
    games->addWidget(list_internet, 1);
    games->addWidget(label_nointernet);

    auto *sayRow = new QHBoxLayout;
    sayRow->addWidget(edit_chat, 1);
    sayRow->addWidget(button_say);
    auto *roomColumn = new QWidget;
    auto *room = new QVBoxLayout(roomColumn);
    room->setContentsMargins(0, 0, 0, 0);
    room->addWidget(peopleLabel);
    room->addWidget(list_people, 1);
    room->addWidget(button_invite);
    room->addSpacing(6);
    room->addWidget(chatLabel);
    room->addWidget(view_chat, 2);
    room->addLayout(sayRow);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(gamesColumn);
    splitter->addWidget(roomColumn);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *internetRow = new QHBoxLayout;
    internetRow->addWidget(label_community, 1);
    internetRow->addWidget(button_signin);
    internetRow->addWidget(button_community);

    auto *joinRow = new QHBoxLayout;
    joinRow->addWidget(addressLabel);
    joinRow->addWidget(combo_address, 1);
    joinRow->addWidget(button_join);
    joinRow->addWidget(button_rejoin);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addSpacing(8);
    layout->addWidget(splitter, 1);
    layout->addLayout(internetRow);
    layout->addLayout(joinRow);
    layout->addWidget(label_status);

    const QList<QWidget *> order {edit_name, button_solo, button_host, button_refresh, list_games,
        list_internet, list_people, button_invite, view_chat, edit_chat, button_say, button_signin,
        button_community, combo_address, button_join, button_rejoin};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(edit_name, &QLineEdit::editingFinished, this, &LobbyWindow::storeName);
    connect(button_solo, &QPushButton::clicked, this, [this] {
        storeName();
        lobby_.playSolo();
    });
    connect(button_host, &QPushButton::clicked, this, [this] {
        storeName();
        lobby_.hostGame();
    });
    connect(button_refresh, &QPushButton::clicked, &lobby_, &Lobby::refresh);
    connect(button_join, &QPushButton::clicked, this, &LobbyWindow::joinClick);
    connect(button_rejoin, &QPushButton::clicked, &lobby_, &Lobby::rejoin);
    connect(&lobby_, &Lobby::rejoinChanged, button_rejoin, &QWidget::setVisible);
    connect(combo_address->lineEdit(), &QLineEdit::returnPressed, this, &LobbyWindow::joinClick);
    for (QTreeView *list : {list_games, list_internet}) {
        connect(list, &QTreeView::activated, this, [this, list] {
            chosenList_ = list;
            joinSelected();
        });
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this, list] {
            chosenList_ = list;
            selectionChanged();
        });
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, &LobbyWindow::updateListHint);
        connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &LobbyWindow::updateListHint);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &LobbyWindow::updateListHint);
    }
    connect(list_people->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &LobbyWindow::updateInvite);
    connect(button_invite, &QPushButton::clicked, this, [this] {
        const QModelIndex current = list_people->currentIndex();
        if (current.isValid())
            community_.invite(current.data(PeopleModel::NickRole).toString());
    });
    connect(edit_chat, &QLineEdit::returnPressed, this, &LobbyWindow::sayClick);
    connect(button_say, &QPushButton::clicked, this, &LobbyWindow::sayClick);
    connect(view_chat, &QTextBrowser::anchorClicked, this, &LobbyWindow::chatLinkClicked);
    connect(button_signin, &QPushButton::clicked, this, [this] {
        if (community_.client().state() == RoomClient::State::Off)
            community_.signIn();
        else
            community_.signOut();
    });
    connect(button_community, &QPushButton::clicked, this, &LobbyWindow::openCommunitySettings);
    connect(lobby_.browser(), &DiscoveryBrowser::runningChanged, this, &LobbyWindow::updateListHint);
    connect(&lobby_, &Lobby::statusChanged, this, &LobbyWindow::showStatus);
    connect(&lobby_, &Lobby::stateChanged, this, &LobbyWindow::showState);
    connect(&lobby_, &Lobby::recentHostsChanged, this, &LobbyWindow::fillRecentHosts);
    connect(&lobby_, &Lobby::gameStarted, this, [this] {
        // Signed in, the room stays at hand (to invite, to chat) from the task bar.
        if (community_.isInRoom())
            showMinimized();
        else
            hide();
    });
    connect(&lobby_, &Lobby::gameEnded, this, &LobbyWindow::bringForward);
    connect(&community_, &CommunityLobby::statusChanged, this, &LobbyWindow::showCommunityStatus);
    connect(&community_, &CommunityLobby::inRoomChanged, this, &LobbyWindow::showInRoom);
    connect(&community_, &CommunityLobby::chatLine, this, &LobbyWindow::addChatLine);
    connect(&community_, &CommunityLobby::passwordNeeded, this, &LobbyWindow::askPassword);
    connect(&community_, &CommunityLobby::canInviteChanged, this, &LobbyWindow::updateInvite);

    fillRecentHosts();
    combo_address->setCurrentText(QString());
    showStatus(lobby_.status(), lobby_.statusIsProblem());
    showCommunityStatus(community_.status(), community_.statusIsProblem());
    showInRoom(community_.isInRoom());
    resize(1000, 640);
    (edit_name->text().isEmpty() ? static_cast<QWidget *>(edit_name) : list_games)->setFocus();
}

void LobbyWindow::bringForward()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void LobbyWindow::storeName()
{
    lobby_.setPlayerName(edit_name->text().trimmed());
}

void LobbyWindow::joinSelected()
{
    QTreeView *list = chosenList_ ? chosenList_ : list_games;
    const QModelIndex current = list->currentIndex();
    if (!current.isValid())
        return;
    storeName();
    const bool internet = list == list_internet;
    lobby_.join(current.data(GameListModel::AddressRole).toString(),
        quint16(current.data(GameListModel::PortRole).toInt()), internet,
        internet ? current.data(GameListModel::KeyRole).toString() : QString());
}

void LobbyWindow::joinClick()
{
    if (lobby_.state() == Lobby::State::Checking) {
        lobby_.cancel();
        return;
    }
    storeName();
    const QModelIndex current = chosenList_ ? chosenList_->currentIndex() : QModelIndex();
    const QString typed = combo_address->currentText().trimmed();
    if (current.isValid() && typed == current.data(GameListModel::AddressRole).toString())
        joinSelected();
    else
        lobby_.join(typed);
}

void LobbyWindow::openLink(const QString &link)
{
    bringForward();
    storeName();
    lobby_.openLink(link);
}

void LobbyWindow::openCommunitySettings()
{
    auto *dialog = new CommunityDialog(community_, lobby_.playerName(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void LobbyWindow::selectionChanged()
{
    const QModelIndex current = chosenList_ ? chosenList_->currentIndex() : QModelIndex();
    if (current.isValid())
        combo_address->setCurrentText(current.data(GameListModel::AddressRole).toString());
}

void LobbyWindow::fillRecentHosts()
{
    const QString typed = combo_address->currentText();
    combo_address->clear();
    combo_address->addItems(lobby_.recentHosts());
    combo_address->setCurrentText(typed);
}

void LobbyWindow::updateListHint()
{
    const bool empty = lobby_.games()->rowCount() == 0;
    label_nogames->setVisible(empty);
    label_nogames->setText(lobby_.browser()->isRunning()
            ? QStringLiteral("No games found on your network yet. Ask the host for their address, or host a "
                             "game yourself.")
            : QStringLiteral("Games on the network are not listed. Ask the host for their address."));
    if (!empty && !list_games->currentIndex().isValid() && list_games->hasFocus())
        list_games->setCurrentIndex(lobby_.games()->index(0, 0));

    const bool noInternetGames = community_.games()->rowCount() == 0;
    label_nointernet->setVisible(noInternetGames);
    if (!community_.isConfigured())
        label_nointernet->setText(QStringLiteral(
            "Add a community server in Internet Settings to list the games announced on the internet."));
    else if (!community_.isInRoom())
        label_nointernet->setText(QStringLiteral("Sign in to list the games announced on the internet."));
    else
        label_nointernet->setText(
            QStringLiteral("No games announced in the room yet. Host one yourself: it is announced here."));
    if (!noInternetGames && !list_internet->currentIndex().isValid() && list_internet->hasFocus())
        list_internet->setCurrentIndex(community_.games()->index(0, 0));
}

void LobbyWindow::showStatus(const QString &text, bool problem)
{
    label_status->setText(text);
    label_status->setStyleSheet(problem ? QStringLiteral("QLabel { color: #b00020; }") : QString());
}

void LobbyWindow::showCommunityStatus(const QString &text, bool problem)
{
    label_community->setText(text);
    label_community->setStyleSheet(problem ? QStringLiteral("QLabel { color: #b00020; }") : QString());
    const bool off = community_.client().state() == RoomClient::State::Off;
    const QString caption = off ? QStringLiteral("Sign &In") : QStringLiteral("Sign &Out");
    button_signin->setText(caption);
    button_signin->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button_signin->setEnabled(community_.isConfigured());
    updateListHint();
}

void LobbyWindow::showInRoom(bool inRoom)
{
    edit_chat->setEnabled(inRoom);
    button_say->setEnabled(inRoom);
    updateInvite();
    updateListHint();
}

void LobbyWindow::updateInvite()
{
    const QModelIndex current = list_people->currentIndex();
    const bool someoneElse = current.isValid() && !current.data(PeopleModel::OwnRole).toBool();
    button_invite->setEnabled(community_.canInvite() && someoneElse);
    button_invite->setToolTip(community_.canInvite()
            ? QStringLiteral("Sends the chosen person a link to your game.")
            : QStringLiteral("Host a game first: then you can invite people to it."));
}

void LobbyWindow::sayClick()
{
    if (community_.say(edit_chat->text()))
        edit_chat->clear();
}

void LobbyWindow::addChatLine(const CommunityLobby::ChatLine &line)
{
    const QString time = line.time.toString(QStringLiteral("HH:mm"));
    const QString nick = Wire::printable(line.nick).toHtmlEscaped();
    QString html;
    switch (line.kind) {
    case CommunityLobby::ChatLine::Said:
        html = QStringLiteral("<span style=\"color:#777\">%1</span> <b>%2</b>: %3")
                   .arg(time, nick, RoomChatText::toHtml(line.text));
        break;
    case CommunityLobby::ChatLine::Notice:
        html = QStringLiteral("<span style=\"color:#777\">%1 <i>%2</i></span>")
                   .arg(time, RoomChatText::toHtml(line.text));
        break;
    case CommunityLobby::ChatLine::Invitation: {
        // The inviter goes with the link, so that their game is the one joined.
        QUrl link(line.link);
        link.setFragment(line.nick);
        html = QStringLiteral("<span style=\"color:#777\">%1</span> <b>%2</b> (to you): %3 "
                              "<a href=\"%4\">Join the game</a>")
                   .arg(time, nick, RoomChatText::toHtml(line.text),
                       link.toString(QUrl::FullyEncoded).toHtmlEscaped());
        break;
    }
    case CommunityLobby::ChatLine::Private:
        html = QStringLiteral("<span style=\"color:#777\">%1</span> <b>%2</b> (to you): %3")
                   .arg(time, nick, RoomChatText::toHtml(line.text));
        break;
    }
    view_chat->append(html);
}

void LobbyWindow::chatLinkClicked(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        shell_->openUrl(url);
    } else if (scheme == QLatin1String("wendlewick")) {
        QUrl link = url;
        link.setFragment({});
        storeName();
        lobby_.openLink(link.toString(), url.fragment(QUrl::FullyDecoded));
    }
}

void LobbyWindow::askPassword(const QString &account)
{
    auto *dialog = new QInputDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("dialog_password"));
    dialog->setWindowTitle(QStringLiteral("Sign In"));
    dialog->setLabelText(QStringLiteral("Password of %1:").arg(account));
    dialog->setTextEchoMode(QLineEdit::Password);
    connect(dialog, &QInputDialog::textValueSelected, &community_, &CommunityLobby::providePassword);
    dialog->open();
}

void LobbyWindow::showState(Lobby::State state)
{
    const bool idle = state == Lobby::State::Idle;
    for (QWidget *w : {static_cast<QWidget *>(edit_name), static_cast<QWidget *>(button_solo),
             static_cast<QWidget *>(button_host), static_cast<QWidget *>(combo_address)})
        w->setEnabled(idle);
    const QString join
        = state == Lobby::State::Checking ? QStringLiteral("&Cancel") : QStringLiteral("&Join");
    button_join->setText(join);
    button_join->setAccessibleName(QString(join).remove(QLatin1Char('&')));
}

void LobbyWindow::closeEvent(QCloseEvent *event)
{
    storeName();
    // Closing would cut the game's connection through the routers.
    if (!lobby_.mayClose()) {
        event->ignore();
        showMinimized();
        return;
    }
    QWidget::closeEvent(event);
}
