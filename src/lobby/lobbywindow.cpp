#include "lobbywindow.h"

#include "discoverybrowser.h"
#include "gamelistmodel.h"
#include "lobbysettings.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    b->setAutoDefault(false);
    return b;
}

} // namespace

LobbyWindow::LobbyWindow(Lobby &lobby, QWidget *parent)
    : QWidget(parent)
    , lobby_(lobby)
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

    list_games = new QTreeView;
    list_games->setObjectName(QStringLiteral("list_games"));
    list_games->setAccessibleName(QStringLiteral("Games on your network"));
    list_games->setModel(lobby_.games());
    list_games->setRootIsDecorated(false);
    list_games->setUniformRowHeights(true);
    list_games->setAllColumnsShowFocus(true);
    list_games->setSelectionMode(QAbstractItemView::SingleSelection);
    list_games->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_games->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_games->header()->setStretchLastSection(true);
    list_games->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *listLabel = new QLabel(QStringLiteral("&Games on your network:"));
    listLabel->setBuddy(list_games);
    label_nogames = new QLabel;
    label_nogames->setObjectName(QStringLiteral("label_nogames"));
    label_nogames->setWordWrap(true);
    button_refresh = button(QStringLiteral("&Refresh"), "button_refresh");

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

    auto *joinRow = new QHBoxLayout;
    joinRow->addWidget(addressLabel);
    joinRow->addWidget(combo_address, 1);
    joinRow->addWidget(button_join);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addSpacing(8);
    layout->addLayout(listHead);
    layout->addWidget(list_games, 1);
    layout->addWidget(label_nogames);
    layout->addLayout(joinRow);
    layout->addWidget(label_status);

    setTabOrder(edit_name, button_solo);
    setTabOrder(button_solo, button_host);
    setTabOrder(button_host, button_refresh);
    setTabOrder(button_refresh, list_games);
    setTabOrder(list_games, combo_address);
    setTabOrder(combo_address, button_join);

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
    connect(combo_address->lineEdit(), &QLineEdit::returnPressed, this, &LobbyWindow::joinClick);
    connect(list_games, &QTreeView::activated, this, &LobbyWindow::joinSelected);
    connect(list_games->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &LobbyWindow::selectionChanged);
    connect(lobby_.games(), &QAbstractItemModel::rowsInserted, this, &LobbyWindow::updateListHint);
    connect(lobby_.games(), &QAbstractItemModel::rowsRemoved, this, &LobbyWindow::updateListHint);
    connect(&lobby_, &Lobby::statusChanged, this, &LobbyWindow::showStatus);
    connect(&lobby_, &Lobby::stateChanged, this, &LobbyWindow::showState);
    connect(&lobby_, &Lobby::recentHostsChanged, this, &LobbyWindow::fillRecentHosts);
    connect(&lobby_, &Lobby::gameStarted, this, &QWidget::hide);
    connect(&lobby_, &Lobby::gameEnded, this, &LobbyWindow::bringForward);

    fillRecentHosts();
    combo_address->setCurrentText(QString());
    updateListHint();
    showStatus(lobby_.status(), lobby_.statusIsProblem());
    resize(720, 460);
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
    const QModelIndex current = list_games->currentIndex();
    if (!current.isValid())
        return;
    storeName();
    lobby_.join(current.data(GameListModel::AddressRole).toString(),
        quint16(current.data(GameListModel::PortRole).toInt()));
}

void LobbyWindow::joinClick()
{
    if (lobby_.state() == Lobby::State::Checking) {
        lobby_.cancel();
        return;
    }
    storeName();
    const QModelIndex current = list_games->currentIndex();
    const QString typed = combo_address->currentText().trimmed();
    if (current.isValid() && typed == current.data(GameListModel::AddressRole).toString())
        joinSelected();
    else
        lobby_.join(typed);
}

void LobbyWindow::selectionChanged()
{
    const QModelIndex current = list_games->currentIndex();
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
}

void LobbyWindow::showStatus(const QString &text, bool problem)
{
    label_status->setText(text);
    label_status->setStyleSheet(problem ? QStringLiteral("QLabel { color: #b00020; }") : QString());
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
    QWidget::closeEvent(event);
}
