#include "tchat.h"

#include "mainart.h"
#include "chatarea.h"
#include "mainmenus.h"
#include "playarea.h"
#include "processmarker.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "tdictn.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTextBrowser>

namespace {

// The words list window's size while that window is not there to ask.
constexpr QSize assumedWordsListSize(400, 330);
// How much of a stored window's top edge must lie on some screen to be used as it is.
constexpr QSize visibleGrip(60, 20);
constexpr int closeShrinkStep = 15;

} // namespace

Tchat::Tchat(const Setup &setup, QWidget *parent)
    : QMainWindow(parent)
    , settingsFile_(setup.settingsPath.isEmpty() ? SettingsFile::defaultPath() : setup.settingsPath)
{
    setObjectName(QStringLiteral("chat"));
    setWindowTitle(QStringLiteral("Wendlewick"));

    spell = new TDictn(setup.dictionaryFolder,
        setup.dictionaryResource.isEmpty() ? TDictn::builtinResource : setup.dictionaryResource, this);

    marker_ = std::make_unique<ProcessMarker>(ProcessMarker::defaultName, setup.markerFolder);
    FormCreate();

    if (!spell->isOpen())
        reportDictionaryMissing();
}

Tchat::Tchat(const QString &dictionaryFolder, const QString &dictionaryResource, QWidget *parent)
    : Tchat(Setup {dictionaryFolder, dictionaryResource, QString(), QString()}, parent)
{ }

Tchat::~Tchat() = default;

void Tchat::FormCreate()
{
    state_ = ClientState();
    state_.settingsSection = SettingsFile::section;
    roster_ = new RosterModel(this);
    menus_ = new MainMenus(this);
    buildPanel();
    connectMenus();
    // Tile groups, the chat's link table and the host's random generator are set up
    // by their own parts when they are wired in.
    roster_->clearScores();
    state_.ishost = false;
    state_.activeslot = 0;
    loadinifile();
}

void Tchat::buildPanel()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, MainArt::background);
    client->setPalette(pal);

    panel_board_ = new QFrame(client);
    panel_board_->setObjectName(QStringLiteral("panel_board"));
    panel_board_->setGeometry(2, 2, boardPanelWidth, boardPanelHeight);
    panel_board_->setAutoFillBackground(true);
    panel_board_->setPalette(pal);
    panel_board_->setFont(MainArt::uiFont(13));
    panel_board_->setStyleSheet(MainArt::panelStyleSheet());
    panel_board_->installEventFilter(this);

    playArea_ = new PlayArea(panel_board_);
    rosterView_ = new RosterView(panel_board_, roster_, &state_);
    chatArea_ = new ChatArea(panel_board_);
    setCentralWidget(client);

    const int menuHeight = menuBar()->heightForWidth(boardPanelWidth + panelMargin);
    setMinimumSize(boardPanelWidth + panelMargin,
        boardPanelHeight + panelMargin + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
    resize(clientWidth, clientHeight + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
}

void Tchat::connectMenus()
{
    connect(menus_->Exit1, &QAction::triggered, this, &Tchat::Exit1Click);
    connect(menus_->ResetScreenLocation1, &QAction::triggered, this, &Tchat::ResetScreenLocation1Click);
    connect(menus_->TextColor1, &QAction::triggered, this, &Tchat::TextColor1Click);

    connect(menus_, &MainMenus::playSoundsChanged, this, [this](bool on) {
        settings_.playSounds = on;
        saveinifile();
    });
    connect(menus_, &MainMenus::playChatterSoundsChanged, this, [this](bool on) {
        settings_.chatterSounds = on;
        saveinifile();
    });
    connect(menus_, &MainMenus::turnSoundChosen, this, [this](int tag) {
        settings_.turnSound = tag;
        saveinifile();
    });
    connect(menus_, &MainMenus::timeBetweenRoundsChosen, this, [this](int seconds) {
        settings_.timeBetweenRounds = seconds;
        saveinifile();
    });
    connect(menus_, &MainMenus::textSizeChosen, this, [this](int size) {
        settings_.textSize = size;
        applyTextSize(size);
        saveinifile();
    });
    connect(menus_, &MainMenus::clickLettersChanged, this, [this](int tag) {
        settings_.clickLetters = tag;
        saveinifile();
    });
    connect(menus_, &MainMenus::disableTypingChanged, this, [this](int tag) {
        settings_.disableTyping = tag;
        playArea_->label_typingoff->setVisible(tag == 1);
        saveinifile();
    });

    connect(menus_->autostart, &QAction::toggled, this, [this](bool on) { state_.autoStartNextGame = on; });
    // Both "Scroll Chat Off" items carry the one flag.
    const auto setScrollOff = [this](bool on) {
        state_.scrollChatOff = on;
        menus_->ScrollChatOff2->setChecked(on);
        chatArea_->ScrollChatOff1->setChecked(on);
    };
    connect(menus_->ScrollChatOff2, &QAction::toggled, this, setScrollOff);
    connect(chatArea_->ScrollChatOff1, &QAction::toggled, this, setScrollOff);
    // The mark follows what the host says, never the click itself.
    connect(menus_->JustWatch1, &QAction::triggered, this,
        [this] { menus_->JustWatch1->setChecked(state_.justWatching); });
}

QSize Tchat::clientSize() const
{
    int menuHeight = menuBar()->heightForWidth(width());
    if (menuHeight <= 0)
        menuHeight = menuBar()->sizeHint().height();
    return QSize(width(), height() - menuHeight);
}

void Tchat::FormResize()
{
    const QSize client = clientSize();
    const int minWidth = boardPanelWidth + panelMargin;
    const int minHeight = boardPanelHeight + panelMargin;
    QSize wanted = size();
    if (client.height() < minHeight)
        wanted.rheight() += minHeight - client.height();
    if (client.width() < minWidth)
        wanted.rwidth() += minWidth - client.width();
    if (wanted != size())
        resize(wanted);
    // A larger window keeps the board panel in the middle of the green.
    const QSize room = clientSize();
    panel_board_->move(
        qMax(2, (room.width() - boardPanelWidth) / 2), qMax(2, (room.height() - boardPanelHeight) / 2));
}

void Tchat::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

QRect Tchat::windowBounds() const
{
    if (isMaximized() || isMinimized() || isFullScreen()) {
        const QRect normal = normalGeometry();
        if (normal.isValid())
            return QRect(normal.topLeft() - (geometry().topLeft() - pos()), normal.size());
    }
    return QRect(pos(), size());
}

void Tchat::applyWindowBounds(const QRect &bounds)
{
    QPoint place = bounds.topLeft();
    bool onScreen = false;
    const QRect grip(place, QSize(qMin(bounds.width(), visibleGrip.width() * 3), visibleGrip.height()));
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(grip);
        if (shown.width() >= visibleGrip.width() && shown.height() >= visibleGrip.height() / 2)
            onScreen = true;
    }
    if (!onScreen && !QGuiApplication::screens().isEmpty())
        place = QPoint(SettingsValues::defaultLeft, SettingsValues::defaultTop);
    move(place);
    resize(bounds.size());
}

QSize Tchat::wordsListSize() const
{
    return wordsList_ ? wordsList_->frameGeometry().size() : assumedWordsListSize;
}

void Tchat::loadinifile()
{
    settings_ = settingsFile_.load(settings_);
    if (!settingsFile_.hasBeenRead())
        return;
    // Read again after admission, the stored place must not undo a move the player
    // made in the meantime.
    if (!boundsApplied_ || windowBounds() == rememberedBounds_) {
        applyWindowBounds(settings_.window);
        boundsApplied_ = true;
    }
    rememberedBounds_ = windowBounds();
    applySettings();
}

void Tchat::applySettings()
{
    menus_->showSettings(settings_);
    playArea_->label_typingoff->setVisible(settings_.disableTyping == 1);
    for (int k = 1; k <= SettingsValues::phraseCount; ++k)
        chatArea_->setPhrase(k, settings_.phrases[std::size_t(k - 1)]);
    applyTextSize(settings_.textSize);
    applyTextColor(settings_.textColor);
    if (wordsList_)
        wordsList_->move(settings_.wordsListLeft, settings_.wordsListTop);
}

void Tchat::applyTextSize(int size)
{
    if (auto *view = panel_board_->findChild<QWidget *>(QStringLiteral("mainchat"))) {
        QFont font = view->font();
        font.setPointSize(size);
        view->setFont(font);
    }
}

void Tchat::applyTextColor(const QColor &color)
{
    if (auto *input = panel_board_->findChild<QWidget *>(QStringLiteral("mychat"))) {
        QPalette pal = input->palette();
        pal.setColor(QPalette::Text, color);
        input->setPalette(pal);
    }
}

void Tchat::saveinifile()
{
    settings_.window = windowBounds();
    if (wordsList_) {
        settings_.wordsListLeft = wordsList_->x();
        settings_.wordsListTop = wordsList_->y();
    }
    settingsFile_.save(settings_);
}

void Tchat::setSettings(const SettingsValues &values)
{
    const QRect bounds = windowBounds();
    settings_ = values;
    settings_.window = bounds;
    applySettings();
    saveinifile();
}

void Tchat::setPhrases(const std::array<QString, SettingsValues::phraseCount> &phrases)
{
    for (int k = 1; k <= SettingsValues::phraseCount; ++k) {
        const QString phrase = phrases[std::size_t(k - 1)].left(SettingsValues::phraseMaxLength);
        settings_.phrases[std::size_t(k - 1)] = phrase;
        chatArea_->setPhrase(k, phrase);
    }
    settingsFile_.savePhrases(settings_);
}

void Tchat::setWordsListWindow(QWidget *window)
{
    wordsList_ = window;
    if (wordsList_)
        wordsList_->move(settings_.wordsListLeft, settings_.wordsListTop);
}

void Tchat::TextColor1Click()
{
    auto *dialog = new QColorDialog(settings_.textColor, this);
    dialog->setObjectName(QStringLiteral("ColorDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor &color) {
        settings_.textColor = color;
        applyTextColor(color);
        saveinifile();
    });
    dialog->open();
}

void Tchat::Exit1Click()
{
    close();
}

void Tchat::ResetScreenLocation1Click()
{
    settings_.wordsListTop = 108;
    settings_.wordsListLeft = 52;
    if (wordsList_)
        wordsList_->move(settings_.wordsListLeft, settings_.wordsListTop);
    if (isMaximized() || isMinimized() || isFullScreen())
        showNormal();
    move(SettingsValues::defaultLeft, SettingsValues::defaultTop);
    resize(state_.defaultwidth, state_.defaultheight);
}

void Tchat::FormClose()
{
    const QRect bounds = windowBounds();
    if (bounds != rememberedBounds_) {
        const QScreen *shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
        if (shownOn) {
            const QRect work = shownOn->availableGeometry();
            const QSize frame = frameGeometry().size();
            QSize wanted = bounds.size();
            if (frame.width() > work.width())
                wanted.rwidth() -= closeShrinkStep;
            if (frame.height() > work.height())
                wanted.rheight() -= closeShrinkStep;
            if (wanted != bounds.size())
                resize(wanted);

            QPoint list(settings_.wordsListLeft, settings_.wordsListTop);
            if (wordsList_)
                list = wordsList_->pos();
            const QSize listSize = wordsListSize();
            const int workRight = work.x() + work.width();
            const int workBottom = work.y() + work.height();
            if (list.x() > workRight)
                list.setX(workRight - listSize.width());
            if (list.y() > workBottom)
                list.setY(workBottom - listSize.height());
            settings_.wordsListLeft = list.x();
            settings_.wordsListTop = list.y();
            if (wordsList_)
                wordsList_->move(list);
        }
        rememberedBounds_ = windowBounds();
    }
    saveinifile();
}

void Tchat::closeEvent(QCloseEvent *event)
{
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    event->accept();
    Q_EMIT closed();
}

bool Tchat::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel_board_ && event->type() == QEvent::Paint && !shownOnce_) {
        shownOnce_ = true;
        Q_EMIT firstShown();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tchat::bringForward()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (!isVisible())
        show();
    raise();
    activateWindow();
}

bool Tchat::replaceControl(const QString &name, QWidget *real)
{
    if (!real)
        return false;
    QWidget *placeholder = panel_board_->findChild<QWidget *>(name);
    if (!placeholder || placeholder == real)
        return false;
    QWidget *parent = placeholder->parentWidget();
    real->setParent(parent);
    real->setObjectName(name);
    real->setGeometry(placeholder->geometry());
    if (auto *menu = qobject_cast<QMenu *>(placeholder->property("popupMenu").value<QObject *>()))
        ChatArea::attachPopup(real, menu);
    real->stackUnder(placeholder);
    real->setVisible(!placeholder->isHidden());
    delete placeholder;
    applyTextSize(settings_.textSize);
    applyTextColor(settings_.textColor);
    return true;
}

void Tchat::reportDictionaryMissing()
{
    // Modal for the user, but never blocking the event loop: sockets and timers keep running.
    auto *box = new QMessageBox(QMessageBox::Critical, windowTitle(),
        QStringLiteral("English.dic dictionary not found!"), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("dictionaryMissingBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
