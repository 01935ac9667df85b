#include "tchat.h"

#include "announcementline.h"
#include "announcer.h"
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "boardpanel.h"
#include "chatcommands.h"
#include "chatinput.h"
#include "chatpanel.h"
#include "chatview.h"
#include "clientdispatch.h"
#include "entrystrip.h"
#include "qtspeaker.h"

#include "computerplayers.h"
#include "esockexception.h"
#include "gameaddress.h"
#include "gameflow.h"
#include "hostconnection.h"
#include "lazywordtrie.h"
#include "legibility.h"
#include "mainart.h"
#include "mainmenus.h"
#include "nextroundcountdown.h"
#include "phrasebar.h"
#include "playarea.h"
#include "processmarker.h"
#include "programfolders.h"
#include "qtsoundplayer.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "soundoptions.h"
#include "systemshell.h"
#include "tabout.h"
#include "tallylist.h"
#include "tdictn.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tilegroups.h"
#include "tilesmenu.h"
#include "tphrases.h"
#include "tserver.h"
#include "tsolo.h"
#include "tspylist.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "verdict.h"
#include "wire.h"
#include "wordentry.h"
#include "wordnet.h"
#include "wordresults.h"
#include "wordspanel.h"
#include "wordsview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

namespace {

// The words list window's size while that window is not there to ask.
constexpr QSize assumedWordsListSize(400, 330);
// How much of a stored window's top edge must lie on some screen to be used as it is.
constexpr QSize visibleGrip(60, 20);
constexpr int closeShrinkStep = 15;

// Places of the chat and the phrase buttons in the board panel.
constexpr QRect chatPlace(474, 312, 298, 209);
constexpr QRect phrasesPlace(475, 290, 296, 19);
// Places of the board's and the words panel's widgets in the board panel.
constexpr QPoint boardPlace(45, 100);
constexpr QPoint wordsPanelPlace(638, 2);

// A message box that is modal for the player but never blocks the event loop:
// sockets and timers keep running while it shows. It deletes itself when dismissed.
QMessageBox *openBox(QWidget *parent, QMessageBox::Icon icon, const QString &name, const QString &text)
{
    auto *box = new QMessageBox(icon, parent->windowTitle(), text, QMessageBox::Ok, parent);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

// Whether enough of the top edge of a window at `bounds` lies on some screen to take
// hold of it; true when there are no screens to ask.
bool gripOnScreen(const QRect &bounds)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    const QRect grip(
        bounds.topLeft(), QSize(qMin(bounds.width(), visibleGrip.width() * 3), visibleGrip.height()));
    for (const QScreen *screen : screens) {
        const QRect shown = screen->availableGeometry().intersected(grip);
        if (shown.width() >= visibleGrip.width() && shown.height() >= visibleGrip.height() / 2)
            return true;
    }
    return false;
}

Tchat::Setup dictionarySetup(const QString &folder, const QString &resource)
{
    Tchat::Setup setup;
    setup.dictionaryFolder = folder;
    setup.dictionaryResource = resource;
    return setup;
}

} // namespace

Tchat::Tchat(const Setup &setup, QWidget *parent)
    : QMainWindow(parent)
    , setup_(setup)
    , settingsFile_(setup.settingsPath.isEmpty() ? SettingsFile::defaultPath() : setup.settingsPath)
{
    setObjectName(QStringLiteral("chat"));
    setWindowTitle(QStringLiteral("Wendlewick"));
    if (!setup_.today.isValid())
        setup_.today = QDate::currentDate();

    spell = new TDictn(
        setup.dictionaryFolder.isEmpty() ? ProgramFolders::wordListFolder() : setup.dictionaryFolder,
        setup.dictionaryResource.isEmpty() ? TDictn::builtinResource : setup.dictionaryResource, this);

    marker_ = std::make_unique<ProcessMarker>(ProcessMarker::defaultName, setup.markerFolder);
    FormCreate();
    createWindows();
    connectWindows();
    connectPlaySurface();
    connectNextRound();
    connectAnnouncements();

    createComputerPlayers();
    loadinifile();
    // The window-level key hook of the word entry.
    qApp->installEventFilter(this);

    if (!spell->isOpen())
        reportDictionaryMissing();
    if (const QString report = tallylist_->loadReport(); !report.isEmpty())
        addSystemLine(report);
}

Tchat::Tchat(const QString &dictionaryFolder, const QString &dictionaryResource, QWidget *parent)
    : Tchat(dictionarySetup(dictionaryFolder, dictionaryResource), parent)
{ }

Tchat::~Tchat()
{
    qApp->removeEventFilter(this);
    // The connections and the host go first, while everything they report to is whole.
    delete computerPlayers_;
    delete connection_;
    delete server_;
}

void Tchat::FormCreate()
{
    state_ = ClientState();
    state_.settingsSection = SettingsFile::section;
    random_.seed(quint32(QDateTime::currentMSecsSinceEpoch()));

    sounds_.setPlayer(setup_.soundPlayer ? setup_.soundPlayer : new QtSoundPlayer(this));
    soundOptions_ = new SoundOptions(sounds_, this);
    roster_ = new RosterModel(this);
    board_ = new BoardModel(this);
    entry_ = new WordEntry(board_, this);
    entry_->setDictionary(spell);
    tiles_ = new TileGroups(
        setup_.tilesFolder.isEmpty() ? TileGroups::defaultFolders() : QStringList {setup_.tilesFolder}, this);
    results_ = new WordResults(this);
    // Built from the event loop once the window shows, never on the start-up path.
    trie_ = new LazyWordTrie(*spell, this);
    buildPanel();
    menus_ = new MainMenus(this,
        MainMenus::SharedItems {soundOptions_->playSoundsAction(), soundOptions_->playChatterSoundsAction(),
            soundOptions_->turnSoundMenu(), chat_->textColorAction(), chat_->textSizeMenu(),
            chat_->scrollChatOffAction(), chat_->clearMainChatAction()});
    tilesMenu_ = new TilesMenu(menus_->tilesMenu, tiles_, this);
    connectMenus();

    connection_ = new HostConnection(this);
    connection_->setCompanionPort(setup_.companionPort);
    dispatch_ = new ClientDispatch(state_, *roster_, sounds_, this);
    connectClient();

    roster_->clearScores();
    state_.ishost = false;
    state_.activeslot = 0;
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
    playArea_->image_logo->installEventFilter(this);
    rosterView_ = new RosterView(panel_board_, roster_, &state_);

    // The entry strip's places are the board panel's own; the winner banner covers it.
    strip_ = new EntryStrip(entry_, tiles_, panel_board_);
    strip_->move(0, 0);
    strip_->stackUnder(playArea_->panel_winner);
    playArea_->label_typingoff = strip_->typingLabel();
    boardView_ = new BoardPanel(board_, entry_, tiles_, panel_board_);
    boardView_->move(boardPlace);
    playArea_->panel_boardback = boardView_;
    wordsPanel_ = new WordsPanel(results_, panel_board_);
    wordsPanel_->move(wordsPanelPlace);

    phraseBar_ = new PhraseBar(panel_board_);
    phraseBar_->setGeometry(phrasesPlace);
    chat_ = new ChatPanel(panel_board_);
    chat_->setGeometry(chatPlace);
    // Laid out now, so the controls sit in their places before the window shows.
    for (QWidget *area : {static_cast<QWidget *>(phraseBar_), static_cast<QWidget *>(chat_)})
        area->layout()->activate();
    DesktopShell *shell = setup_.shell ? setup_.shell : &SystemShell::instance();
    chat_->mainchat()->setUrlOpener([shell](const QUrl &url) { return shell->openUrl(url); });
    setCentralWidget(client);

    // Tab reads the panel as the eye does: the buttons above the board left to right,
    // the board, the roster, then the phrases and the chat.
    QList<QWidget *> order {playArea_->button_rotate, playArea_->button_clear, playArea_->button_start,
        playArea_->button_send, boardView_->paintbox()};
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        order << rosterView_->name(slot);
    for (int k = 1; k <= 10; ++k)
        order << phraseBar_->button(k);
    order << chat_->mainchat() << chat_->mychat() << chat_->smiliesButton();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // The window opens with the focus in the chat view, as it always has.
    chat_->mainchat()->setFocus(Qt::OtherFocusReason);

    const int menuHeight = menuBar()->heightForWidth(boardPanelWidth + panelMargin);
    setMinimumSize(boardPanelWidth + panelMargin,
        boardPanelHeight + panelMargin + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
    resize(clientWidth, clientHeight + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
}

void Tchat::createWindows()
{
    DesktopShell *shell = setup_.shell;
    about_ = new Tabout(this, shell, setup_.today);
    spylist_ = new Tspylist(this);
    gamestart_ = new Tgamestart(this);
    help_ = new Thelp(this, setup_.today);
    phrases_ = new Tphrases(this);
    download_ = new Tdownload(this, shell);
    tallylist_ = new Ttallylist(
        setup_.tallyFolder.isEmpty() ? ProgramFolders::writableFolder() : setup_.tallyFolder, this);
    UniformDraw draw = setup_.draw;
    if (!draw)
        draw = [this](int bound) { return int(random_.bounded(bound)); };
    server_ = new TServer(*this, std::move(draw), this);
    server_->setSecondLength(setup_.secondLength);
    wordslist_ = new Twordslist(board_, trie_, results_, this);
    // Nothing of WordNet is read before a word of the review is chosen.
    wordnet_ = std::make_unique<WordNet>(setup_.wordnetFolder);
    wordslist_->setDefinitions(wordnet_.get());
    wordslist_->setBoardView(boardView_);
    setWordsListWindow(wordslist_);
    solo_ = new Tsolo(this, shell);
    results_->setTally(tallylist_->tally());

    flow_ = new GameFlow({state_, *roster_, *rosterView_, *playArea_, *menus_->JustWatch1, *board_, *entry_,
                             *results_, sounds_, *tallylist_->tally(), *dispatch_},
        this);
    flow_->setSecondLength(setup_.secondLength);
    dispatch_->setGameFlow(flow_);
    connect(flow_, &GameFlow::systemLine, this, &Tchat::addSystemLine);

    const std::pair<QObject *, const char *> names[] {{about_, "about"}, {spylist_, "spylist"},
        {gamestart_, "gamestart"}, {help_, "help"}, {phrases_, "phrases"}, {download_, "download"},
        {server_, "server"}, {solo_, "solo"}};
    for (const auto &[window, name] : names)
        window->setObjectName(QLatin1StringView(name));
}

void Tchat::connectMenus()
{
    connect(menus_->StartGame1, &QAction::triggered, this, &Tchat::button_startClick);
    connect(playArea_->button_start, &QPushButton::clicked, this, &Tchat::button_startClick);
    connect(menus_->Exit1, &QAction::triggered, this, &Tchat::Exit1Click);
    connect(menus_->ResetScreenLocation1, &QAction::triggered, this, &Tchat::ResetScreenLocation1Click);

    connect(soundOptions_, &SoundOptions::settingsChanged, this, &Tchat::saveinifile);
    connect(chat_, &ChatPanel::settingsChanged, this, &Tchat::saveinifile);
    connect(chat_, &ChatPanel::chatColourChanged, phraseBar_, &PhraseBar::setChatColour);

    connect(menus_, &MainMenus::timeBetweenRoundsChosen, this, [this](int seconds) {
        settings_.timeBetweenRounds = seconds;
        saveinifile();
    });
    // Each option's tag: 1 unchecked, 0 checked.
    connect(menus_, &MainMenus::clickLettersChanged, this, [this](int tag) {
        settings_.clickLetters = tag;
        entry_->setClickLetters(tag == 0);
        saveinifile();
    });
    connect(menus_, &MainMenus::disableTypingChanged, this, [this](int tag) {
        settings_.disableTyping = tag;
        entry_->setDisableTyping(tag == 0);
        saveinifile();
    });
    connect(menus_->autostart, &QAction::toggled, this, [this](bool on) { state_.autoStartNextGame = on; });
    // The mark follows what the host says, never the click itself.
    connect(menus_->JustWatch1, &QAction::triggered, this, [this] {
        menus_->JustWatch1->setChecked(state_.justWatching);
        dispatch_->JustWatch1Click();
    });
}

void Tchat::connectClient()
{
    connect(connection_, &HostConnection::messageReceived, dispatch_, &ClientDispatch::processsocktimer);
    connect(connection_, &HostConnection::closed, this, &Tchat::sockInfo);
    connect(dispatch_, &ClientDispatch::send, this, &Tchat::sendToHost);

    const auto sendFields = [this](const QString &command, const QStringList &fields) {
        sendToHost(
            Wire::toWire(command + QLatin1Char('+') + fields.join(QLatin1Char('+'))) + Wire::terminator);
    };
    connect(chat_, &ChatPanel::sendMessage, this, sendFields);
    connect(phraseBar_, &PhraseBar::sendMessage, this, sendFields);

    connect(dispatch_, &ClientDispatch::systemLine, this, &Tchat::addSystemLine);
    connect(dispatch_, &ClientDispatch::chatReceived, chat_, &ChatPanel::chatrecieved);
    connect(dispatch_, &ClientDispatch::loggedIn, this, [this] {
        chat_->setConnected(state_.isconnected);
        chat_->setMyslot(state_.myslot);
        phraseBar_->setConnected(state_.isconnected);
        phraseBar_->setMyslot(state_.myslot);
    });
    connect(dispatch_, &ClientDispatch::admitted, this, &Tchat::loadinifile);
    connect(dispatch_, &ClientDispatch::gameFull, this, &Tchat::showGameFull);
    connect(dispatch_, &ClientDispatch::gameFull, this, [this] { ending_.gameFull(); });
    connect(dispatch_, &ClientDispatch::removed, this, [this] { ending_.removed(); });
    connect(dispatch_, &ClientDispatch::justWatchingChanged, menus_->JustWatch1, &QAction::setChecked);
    connect(dispatch_, &ClientDispatch::gameSettingsChanged, this,
        [this] { rosterView_->showGameSettings(state_); });
    connect(dispatch_, &ClientDispatch::roundWords, this, &Tchat::roundWordsArrived);

    connect(rosterView_, &RosterView::removeFromGameRequested, dispatch_, &ClientDispatch::kicking);
    connect(
        rosterView_, &RosterView::setJustWatchRequested, dispatch_, &ClientDispatch::SettoJustWatch1Click);
    connect(
        rosterView_, &RosterView::unsetJustWatchRequested, dispatch_, &ClientDispatch::UnsetJustWatch1Click);
}

void Tchat::connectWindows()
{
    connect(menus_->Help2, &QAction::triggered, this, [this] { showWindow(help_); });
    connect(menus_->About1, &QAction::triggered, this, [this] { showWindow(about_); });
    connect(menus_->CheckoutWendlewickSolo1, &QAction::triggered, this, [this] { showWindow(solo_); });
    connect(menus_->SpyList1, &QAction::triggered, this, [this] { showWindow(spylist_); });
    connect(menus_->ViewTally1, &QAction::triggered, this, &Tchat::ViewTally1Click);
    connect(menus_->PrhaseList1, &QAction::triggered, this, [this] {
        QStringList current;
        for (int k = 1; k <= QuickPhrases::count; ++k)
            current.append(phraseBar_->phrases().phrase(k));
        phrases_->openWith(current);
    });
    connect(phrases_, &Tphrases::phrasesDone, this, &Tchat::setPhrases);
    connect(help_, &Thelp::aboutRequested, this, [this] { showWindow(about_); });
    connect(download_, &Tdownload::exitRequested, this, &Tchat::Exit1Click);

    connect(dispatch_, &ClientDispatch::spyAdded, spylist_, &Tspylist::addspy);
    connect(dispatch_, &ClientDispatch::spyRemoved, spylist_, &Tspylist::removespy);
    connect(spylist_, &Tspylist::kickRequested, dispatch_, &ClientDispatch::kicking);

    connect(tallylist_->tally(), &TallyList::fileError, this, &Tchat::addSystemLine);

    connect(gamestart_, &Tgamestart::startRequested, this, [this](const GameOptions &options) {
        sendToHost(Wire::ToHost::startgame(
            state_.loginname, options.playToScore, options.roundTime, options.sizeCode, options.minLetters));
        saveinifile();
    });
}

void Tchat::connectPlaySurface()
{
    QLabel *status = playArea_->label_status;
    connect(entry_, &WordEntry::statusChanged, status, &QLabel::setText);
    connect(entry_, &WordEntry::soundRequested, this, &Tchat::playsounds);
    connect(entry_, &WordEntry::wordButtonsVisible, this, [this](bool visible) {
        playArea_->button_send->setVisible(visible);
        playArea_->button_clear->setVisible(visible);
    });
    connect(entry_, &WordEntry::justWatchingNotice, this, [this] {
        openBox(
            this, QMessageBox::Information, QStringLiteral("justWatchingBox"), WordEntry::justWatchingText);
    });
    connect(entry_, &WordEntry::wordJudged, this, &Tchat::carryOut);
    connect(entry_, &WordEntry::saveRequested, this, [this] {
        settings_.clickLetters = entry_->clickLetters() ? 0 : 1;
        settings_.disableTyping = entry_->disableTyping() ? 0 : 1;
        menus_->showSettings(settings_);
        saveinifile();
    });
    connect(playArea_->button_rotate, &QPushButton::clicked, entry_, &WordEntry::rotateboard);
    connect(playArea_->button_send, &QPushButton::clicked, entry_, &WordEntry::button_sendClick);
    connect(playArea_->button_clear, &QPushButton::clicked, entry_, &WordEntry::button_clearClick);

    connect(results_, &WordResults::statusChanged, status, &QLabel::setText);
    connect(results_, &WordResults::soundRequested, this, &Tchat::playsounds);
    connect(results_, &WordResults::clearWordRequested, entry_, &WordEntry::pressclear);

    connect(tiles_, &TileGroups::saveRequested, this, [this] {
        settings_.tiles = tiles_->settingValue();
        saveinifile();
    });

    connect(dispatch_, &ClientDispatch::loggedIn, this, [this] {
        entry_->setConnected(state_.isconnected);
        results_->setMyslot(state_.myslot);
    });
    connect(dispatch_, &ClientDispatch::justWatchingChanged, entry_, &WordEntry::setJustWatching);
    // A late joiner learns the game's settings from the host's summary.
    connect(dispatch_, &ClientDispatch::gameSettingsChanged, this, [this] {
        board_->setOddboard(state_.oddboard);
        entry_->setMinLetters(state_.minLetters);
        wordslist_->setMinLetters(state_.minLetters);
    });
    connect(this, &Tchat::roundWordsArrived, wordslist_, [this](const QStringList &words) {
        wordslist_->thewords(Wire::toWire(words.join(QLatin1Char('+'))));
    });
    connect(wordslist_, &Twordslist::pathChosen, boardView_->paintbox(), &BoardPaintBox::showPath);
    connect(flow_, &GameFlow::minLettersChanged, wordslist_, &Twordslist::setMinLetters);
    connect(flow_, &GameFlow::gameStarting, wordslist_, &Twordslist::gameStarted);
    connect(flow_, &GameFlow::roundStarting, wordslist_, &Twordslist::roundStarted);
    connect(flow_, &GameFlow::gameWon, wordslist_, &Twordslist::gameOver);
    connect(menus_->LastRoundsWords1, &QAction::triggered, wordslist_, &Twordslist::showLastRound);
    connect(wordslist_, &Twordslist::lastRoundChanged, menus_->LastRoundsWords1, &QAction::setEnabled);
}

void Tchat::connectNextRound()
{
    // A window that hosts gives the pause between rounds itself.
    nextRound_ = new NextRoundCountdown(
        [this]() -> std::optional<int> {
            if (state_.ishost)
                return settings_.timeBetweenRounds;
            return std::nullopt;
        },
        {}, this);
    nextRound_->setSecondLength(setup_.secondLength);
    connect(flow_, &GameFlow::roundEnded, nextRound_, &NextRoundCountdown::roundEnded);
    connect(flow_, &GameFlow::roundStarting, nextRound_, &NextRoundCountdown::roundStarted);
    connect(flow_, &GameFlow::gameStarting, nextRound_, &NextRoundCountdown::gameEnded);
    connect(flow_, &GameFlow::gameWon, nextRound_, &NextRoundCountdown::gameEnded);
    connect(nextRound_, &NextRoundCountdown::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            playArea_->label_status->setText(text);
        wordslist_->setNextRound(text);
    });
}

void Tchat::connectAnnouncements()
{
    announcer_ = new Announcer(this);
    announcer_->setSpeaker(setup_.speaker ? setup_.speaker : new QtSpeaker(this));
    announcementLine_ = new AnnouncementLine(announcer_, panel_board_);
    announcementLine_->setGeometry(playArea_->label_status->geometry());
    connect(announcementLine_, &AnnouncementLine::settingsChanged, this, &Tchat::saveinifile);

    connect(results_, &WordResults::wordAccepted, announcer_, &Announcer::wordAccepted);
    connect(results_, &WordResults::wordRefused, announcer_, &Announcer::wordRefused);
    connect(entry_, &WordEntry::wordJudged, announcer_, [this](const Verdict &verdict) {
        if (verdict.status && !verdict.send)
            announcer_->wordRefused(verdict.word, *verdict.status);
    });
    connect(entry_, &WordEntry::statusChanged, announcer_, [this](const QString &text) {
        if (text == WordEntry::invalidSelection)
            announcer_->wordRefused(QString(), text);
    });
    // Queued: the round's slot is read after the round start has been signalled.
    connect(
        flow_, &GameFlow::roundStarting, announcer_,
        [this] { announcer_->roundStarted(entry_->entryOpen(), state_.roundLength); }, Qt::QueuedConnection);
    connect(flow_, &GameFlow::roundEnded, announcer_, &Announcer::roundEnded);
    connect(flow_, &GameFlow::gameWon, announcer_,
        [this] { announcer_->gameWon(playArea_->label_winner1->text()); });
    connect(dispatch_, &ClientDispatch::chatReceived, announcer_,
        [this](const QString &data) { announcer_->chatLine(ChatCommands::chatrecieved(data).line); });

    // The chat's text size also enlarges the roster, the words panel and the clock.
    connect(chat_, &ChatPanel::textSizeChanged, this, [this](int size) {
        const double scale = Legibility::textScale(size);
        rosterView_->setTextScale(scale);
        wordsPanel_->wordsView()->setTextScale(scale);
        playArea_->setTextScale(scale);
    });

    // Typing switched off leaves the keys to the chat, even after the keyboard walked
    // the board.
    connect(entry_, &WordEntry::typingChanged, this, [this] {
        if (!entry_->typingOn() && boardView_->paintbox()->hasFocus())
            chat_->mychat()->setFocus(Qt::OtherFocusReason);
    });
}

void Tchat::carryOut(const Verdict &verdict)
{
    if (verdict.status)
        playArea_->label_status->setText(*verdict.status);
    if (verdict.panelColour)
        results_->addword(verdict.word, *verdict.panelColour);
    if (!verdict.sound.isEmpty())
        playsounds(verdict.sound);
    if (!verdict.send || !state_.isconnected || state_.myslot < 1)
        return;
    QList<Wire::Tile> tiles;
    tiles.reserve(qsizetype(verdict.claim.size()));
    for (const Verdict::Tile &tile : verdict.claim)
        tiles.append({tile.row, tile.col});
    sendToHost(Wire::ToHost::playerdone(state_.myslot, tiles));
}

void Tchat::showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void Tchat::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!formShown_) {
        formShown_ = true;
        // After the window is on screen, as the first thing the event loop does.
        QMetaObject::invokeMethod(this, &Tchat::FormShow, Qt::QueuedConnection);
    }
}

void Tchat::FormShow()
{
    trie_->start();
    processparams(setup_.arguments ? *setup_.arguments : QCoreApplication::arguments().mid(1));
}

void Tchat::processparams(const QStringList &arguments)
{
    playArea_->button_start->hide();
    menus_->StartGame1->setEnabled(false);
    state_.loginname.clear();

    if (arguments.isEmpty()) {
        addSystemLine(QStringLiteral("Loading Solo Game..Please wait."));
        showWindow(download_);
        state_.hostaddress = QStringLiteral("127.0.0.1");
        state_.playername = QStringLiteral("You");
        soloGame_ = true;
        hostpress();
        return;
    }

    addSystemLine(QStringLiteral("Loading Multi-player Game.. Please Wait."));
    if (arguments.size() < 3)
        return;
    // A name travels in the middle of messages, where a "+" would split it.
    state_.playername = QString(arguments.at(0)).replace(QLatin1Char('+'), QLatin1Char('-'));
    state_.hostaddress = arguments.at(1);
    if (arguments.at(2) == QLatin1StringView("true"))
        hostpress();
    else
        joinpress();
    connection_->openCompanion();
}

void Tchat::hostpress()
{
    try {
        server_->listen(setup_.gamePort, setup_.listenAddress);
    } catch (const ESockException &) {
        addSystemLine(QStringLiteral("Could not host the game: port ") + QString::number(setup_.gamePort)
            + QStringLiteral(" is in use by another program."));
        return;
    }
    state_.loginname = state_.playername;
    state_.ishost = true;
    connection_->setPort(server_->port());
    connection_->open(QStringLiteral("127.0.0.1"));
    playArea_->button_start->show();
    menus_->StartGame1->setEnabled(true);
    menus_->AddComputerPlayer1->menuAction()->setEnabled(true);
    spylist_->setHosting(true);
    if (!soloGame_)
        Q_EMIT hostingForOthers();
}

void Tchat::joinpress()
{
    state_.loginname = state_.playername;
    const GameAddress::Target target = GameAddress::parse(state_.hostaddress, setup_.gamePort);
    connection_->setPort(target.port);
    connection_->open(target.host);
    playArea_->button_start->hide();
    menus_->StartGame1->setEnabled(false);
}

void Tchat::sockInfo()
{
    // The lobby that started the game tells the player why it ended.
    connection_->tellCompanion(CompanionWire::encode({ending_.reason(connection_->failed())}));
    // "Game is full" stays until the player has read it.
    if (gameFullBox_) {
        hostClosed_ = true;
        return;
    }
    close();
}

void Tchat::showGameFull()
{
    if (gameFullBox_)
        return;
    gameFullBox_ = openBox(
        this, QMessageBox::Information, QStringLiteral("gameFullBox"), QStringLiteral("Game is full"));
    connect(gameFullBox_, &QDialog::finished, this, &Tchat::close);
}

void Tchat::sendToHost(const QByteArray &message)
{
    connection_->send(message);
}

void Tchat::addSystemLine(const QString &text)
{
    chat_->addlinetochat(QStringLiteral("0+") + text, state_.systemcolor);
}

void Tchat::playsounds(const QString &name)
{
    sounds_.playsounds(name);
}

void Tchat::button_startClick()
{
    if (state_.isconnected)
        showWindow(gamestart_);
    else
        openBox(this, QMessageBox::Information, QStringLiteral("notConnectedBox"),
            QStringLiteral("You are not connected"));
}

void Tchat::createComputerPlayers()
{
    const auto namesInUse = [this] {
        QStringList names;
        for (int s = 1; s <= server_->highestSlot(); ++s)
            if (server_->slot(s).inUse)
                names << Wire::fromWire(server_->slot(s).name);
        return names;
    };
    computerPlayers_ = new ComputerPlayers(*trie_, namesInUse, random_.generate(), this);
    connect(computerPlayers_, &ComputerPlayers::playerRefused, this, [this](const QString &name) {
        addSystemLine(name + QStringLiteral(" could not join: the game is full."));
    });
    for (QAction *item : menus_->addComputerPlayerItems)
        connect(item, &QAction::triggered, this,
            [this, item] { addComputerPlayer(item->property("tag").toInt()); });
}

void Tchat::addComputerPlayer(int level)
{
    if (!state_.ishost || level < BotStrength::Easy || level > BotStrength::Hard)
        return;
    if (!computerPlayers_->add(BotStrength::Level(level), QHostAddress::LocalHost, server_->port()))
        addSystemLine(QStringLiteral("Every computer player is already in the game."));
}

void Tchat::loadchecklist()
{
    tallylist_->loadchecklist(dispatch_->tallyRoster());
}

void Tchat::ViewTally1Click()
{
    loadchecklist();
    showWindow(tallylist_);
}

void Tchat::image_logoClick()
{
    about_->Label7Click();
}

bool Tchat::isword(QByteArrayView word) const
{
    return spell->isword(word);
}

int Tchat::pauseBetweenRounds() const
{
    return settings_.timeBetweenRounds;
}

bool Tchat::autoStartNextGame() const
{
    return state_.autoStartNextGame;
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
    if (!gripOnScreen(bounds))
        place = QPoint(SettingsValues::defaultLeft, SettingsValues::defaultTop);
    move(place);
    resize(bounds.size());
}

void Tchat::placeWordsList()
{
    if (!wordsList_)
        return;
    const QRect stored(QPoint(settings_.wordsListLeft, settings_.wordsListTop), wordsListSize());
    if (!gripOnScreen(stored)) {
        // Stored for another desktop: the window would open where nobody sees it.
        settings_.wordsListLeft = SettingsValues::wordsListLeftDefault;
        settings_.wordsListTop = SettingsValues::wordsListTopDefault;
    }
    moveWordsList(QPoint(settings_.wordsListLeft, settings_.wordsListTop));
}

QPoint Tchat::wordsListPlace() const
{
    if (const auto *list = qobject_cast<const Twordslist *>(wordsList_.data()))
        return list->position();
    return wordsList_->pos();
}

void Tchat::moveWordsList(QPoint leftTop)
{
    if (auto *list = qobject_cast<Twordslist *>(wordsList_.data()))
        list->setPosition(leftTop);
    else
        wordsList_->move(leftTop);
}

QSize Tchat::wordsListSize() const
{
    return wordsList_ ? wordsList_->frameGeometry().size() : assumedWordsListSize;
}

void Tchat::collectSettings()
{
    settings_.window = windowBounds();
    settings_.textSize = chat_->textSize();
    settings_.textColor = chat_->chatColour();
    settings_.playSounds = sounds_.playSounds();
    settings_.chatterSounds = sounds_.playChatterSounds();
    if (announcementLine_)
        settings_.speakAnnouncements = announcementLine_->speakAction()->isChecked();
    settings_.turnSound = sounds_.turnSound();
    settings_.playToScore = gamestart_->playToScore();
    settings_.timePerTurn = gamestart_->roundTime();
    settings_.boardSize = gamestart_->sizeCode();
    settings_.minLetters = gamestart_->minLetters();
    for (int k = 1; k <= SettingsValues::phraseCount; ++k)
        settings_.phrases[std::size_t(k - 1)] = phraseBar_->phrases().phrase(k);
    if (wordsList_) {
        const QPoint place = wordsListPlace();
        settings_.wordsListLeft = place.x();
        settings_.wordsListTop = place.y();
    }
}

void Tchat::loadinifile()
{
    collectSettings();
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
    entry_->setClickLetters(settings_.clickLetters != 1);
    entry_->setDisableTyping(settings_.disableTyping != 1);
    if (settings_.tiles != tiles_->settingValue())
        tiles_->applySetting(settings_.tiles);
    for (int k = 1; k <= SettingsValues::phraseCount; ++k)
        phraseBar_->loadPhrase(k, settings_.phrases[std::size_t(k - 1)]);
    chat_->setTextSize(settings_.textSize);
    chat_->setChatColour(settings_.textColor);
    sounds_.setPlaySounds(settings_.playSounds);
    sounds_.setPlayChatterSounds(settings_.chatterSounds);
    announcementLine_->speakAction()->setChecked(settings_.speakAnnouncements);
    sounds_.setTurnSound(settings_.turnSound == 1 ? GameSounds::New : GameSounds::Classic);
    soundOptions_->refresh();
    gamestart_->setPlayToScore(settings_.playToScore);
    gamestart_->setRoundTime(settings_.timePerTurn);
    gamestart_->clicksize(QStringLiteral("image_size") + QString::number(settings_.boardSize));
    gamestart_->clickmin(QStringLiteral("image_min") + QString::number(settings_.minLetters));
    placeWordsList();
}

void Tchat::saveinifile()
{
    collectSettings();
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

void Tchat::setPhrases(const QStringList &phrases)
{
    for (int k = 1; k <= SettingsValues::phraseCount; ++k) {
        const QString phrase
            = k <= phrases.size() ? phrases.at(k - 1).left(SettingsValues::phraseMaxLength) : QString();
        settings_.phrases[std::size_t(k - 1)] = phrase;
        phraseBar_->setPhrase(k, phrase);
    }
    settingsFile_.savePhrases(settings_);
}

void Tchat::setWordsListWindow(QWidget *window)
{
    wordsList_ = window;
    placeWordsList();
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
        moveWordsList(QPoint(settings_.wordsListLeft, settings_.wordsListTop));
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
                list = wordsListPlace();
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
                moveWordsList(list);
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

bool Tchat::keyHook(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || !windowHandle() || !windowHandle()->isActive())
        return false;
    // A key the focused control ignores travels on to its parents: judge it once, at
    // the control it was sent to first.
    const QWidget *first = focusWidget();
    if (widget != (first ? first : this))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // While typing is on the key table takes every key, menu shortcuts (F1,
        // Ctrl+S ...) included: claiming the override turns it into a key press.
        if (!entry_->takesKey(key->key()))
            return false;
        event->accept();
        return true;
    }
    return entry_->FormShortCut(*key);
}

bool Tchat::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) && entry_
        && keyHook(watched, event))
        return true;
    if (watched == panel_board_ && event->type() == QEvent::Paint && !shownOnce_) {
        shownOnce_ = true;
        Q_EMIT firstShown();
    }
    if (playArea_ && watched == playArea_->image_logo && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        image_logoClick();
        return true;
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
    real->stackUnder(placeholder);
    real->setVisible(!placeholder->isHidden());
    delete placeholder;
    return true;
}

void Tchat::reportDictionaryMissing()
{
    openBox(this, QMessageBox::Critical, QStringLiteral("dictionaryMissingBox"),
        QStringLiteral("English.dic dictionary not found!"));
}
