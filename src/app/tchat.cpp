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
#include "clientroles.h"
#include "connectionkeeper.h"
#include "entrystrip.h"
#include "gamecommandline.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "hostedgame.h"
#include "hostheartbeat.h"
#include "instanceguard.h"
#include "keyhook.h"
#include "lazywordtrie.h"
#include "legibility.h"
#include "mainart.h"
#include "mainmenus.h"
#include "mainsettings.h"
#include "nextroundcountdown.h"
#include "noticebox.h"
#include "phrasebar.h"
#include "playarea.h"
#include "playsurface.h"
#include "processmarker.h"
#include "programfolders.h"
#include "qtsoundplayer.h"
#include "qtspeaker.h"
#include "reconnectnotice.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "sessionsounds.h"
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
#include "wordentry.h"
#include "wordnet.h"
#include "wordresults.h"
#include "wordspanel.h"
#include "wordsview.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

// Places of the chat and the phrase buttons in the board panel.
constexpr QRect chatPlace(474, 312, 298, 209);
constexpr QRect phrasesPlace(475, 290, 296, 19);
// Places of the board's and the words panel's widgets in the board panel.
constexpr QPoint boardPlace(45, 100);
constexpr QPoint wordsPanelPlace(638, 2);

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
    connectSession();
    connectWindows();
    connectPlaySurface();
    connectNextRound();
    connectAnnouncements();

    settings_->loadinifile();
    keyHook_ = new KeyHook(this, entry_);

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
    delete keyHook_;
    // The connections and the host go first, while everything they report to is whole.
    delete connection_;
    delete hosted_;
}

void Tchat::FormCreate()
{
    random_.seed(quint32(QDateTime::currentMSecsSinceEpoch()));

    sounds_.setPlayer(setup_.soundPlayer ? setup_.soundPlayer : new QtSoundPlayer(this));
    soundOptions_ = new SoundOptions(sounds_, this);
    session_ = new GameSession(this);
    session_->setSecondLength(setup_.secondLength);
    sessionSounds_ = new SessionSounds(*session_, sounds_, this);
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
            chat_->scrollChatOffAction(), chat_->clearMainChatAction(), announcementLine_->speakAction()});
    tilesMenu_ = new TilesMenu(menus_->tilesMenu, tiles_, this);
    connectMenus();

    connection_ = new HostConnection(this);
    connection_->setCompanionPort(setup_.companionPort);
    dispatch_ = new ClientDispatch(*session_, this);
    reconnector_ = new Reconnector(*connection_, *dispatch_, *session_, this);
    reconnector_->setSecondLength(setup_.secondLength);
    Reconnector::Timing timing;
    timing.firstWaitMs = setup_.reconnectFirstWaitMs;
    timing.longestWaitMs = qMax(setup_.reconnectFirstWaitMs, setup_.reconnectLongestWaitMs);
    reconnector_->setTiming(timing);
    heartbeat_ = new HostHeartbeat(*connection_, *dispatch_, *session_, this);
    heartbeat_->setTiming({setup_.heartbeatIntervalMs, setup_.heartbeatSilenceMs});
    connect(dispatch_, &ClientDispatch::ticketReceived, heartbeat_,
        [this](const Wire::FromHost::RejoinTicket &ticket) { heartbeat_->begin(ticket.slot); });
    connect(dispatch_, &ClientDispatch::returnAccepted, heartbeat_,
        [this](const Wire::FromHost::RejoinTicket &ticket) { heartbeat_->begin(ticket.slot); });
    keeper_ = new ConnectionKeeper(*connection_, *dispatch_, *reconnector_, *session_,
        setup_.markerFolder.isEmpty() ? InstanceGuard::defaultFolder() : setup_.markerFolder, this);
    playSurface_ = new PlaySurface(*session_, *board_, *entry_, *results_, *dispatch_, sounds_, this);
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
    panel_board_->setFont(Artwork::uiFont(13));
    panel_board_->setStyleSheet(MainArt::panelStyleSheet());
    panel_board_->installEventFilter(this);

    playArea_ = new PlayArea(panel_board_);
    playArea_->image_logo->installEventFilter(this);
    rosterView_ = new RosterView(panel_board_, session_->roster(), &session_->state());

    // The entry strip's places are the board panel's own; the winner banner covers it.
    strip_ = new EntryStrip(entry_, tiles_, panel_board_);
    strip_->move(0, 0);
    strip_->stackUnder(playArea_->panel_winner);
    playArea_->label_typingoff = strip_->typingLabel();
    boardView_ = new BoardPanel(board_, entry_, tiles_, panel_board_);
    boardView_->move(boardPlace);
    playArea_->panel_boardback = boardView_;
    reconnectNotice_ = new ReconnectNotice(panel_board_);
    reconnectNotice_->setGeometry(QRect(boardPlace, boardView_->size()));
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

    announcer_ = new Announcer(this);
    announcer_->setSpeaker(setup_.speaker ? setup_.speaker : new QtSpeaker(this));
    announcementLine_ = new AnnouncementLine(announcer_, panel_board_);
    announcementLine_->setGeometry(playArea_->label_status->geometry());

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
    settings_
        = new MainSettings(setup_.settingsPath.isEmpty() ? SettingsFile::defaultPath() : setup_.settingsPath,
            {*this, *menus_, *chat_, *phraseBar_, sounds_, *soundOptions_, *gamestart_, *entry_, *tiles_,
                *announcementLine_->speakAction()},
            this);
    UniformDraw draw = setup_.draw;
    if (!draw)
        draw = [this](int bound) { return int(random_.bounded(bound)); };
    hosted_ = new HostedGame(
        *session_, *spell, settings_->values(), *trie_, std::move(draw), random_.generate(), this);
    hosted_->server()->setSecondLength(setup_.secondLength);
    hosted_->server()->setHeartbeat({setup_.heartbeatIntervalMs, setup_.heartbeatSilenceMs});
    roles_ = new ClientRoles(*session_, *connection_, *hosted_, setup_.gamePort, setup_.listenAddress, this);
    wordslist_ = new Twordslist(board_, trie_, results_, this);
    // Nothing of WordNet is read before a word of the review is chosen.
    wordnet_ = std::make_unique<WordNet>(setup_.wordnetFolder);
    wordslist_->setDefinitions(wordnet_.get());
    wordslist_->setBoardView(boardView_);
    settings_->setWordsListWindow(wordslist_);
    solo_ = new Tsolo(this, shell);
    results_->setTally(tallylist_->tally());

    const std::pair<QObject *, const char *> names[] {{about_, "about"}, {spylist_, "spylist"},
        {gamestart_, "gamestart"}, {help_, "help"}, {phrases_, "phrases"}, {download_, "download"},
        {solo_, "solo"}};
    for (const auto &[window, name] : names)
        window->setObjectName(QLatin1StringView(name));
}

void Tchat::connectMenus()
{
    connect(menus_->StartGame1, &QAction::triggered, this, &Tchat::button_startClick);
    connect(playArea_->button_start, &QPushButton::clicked, this, &Tchat::button_startClick);
    connect(menus_->Exit1, &QAction::triggered, this, &Tchat::Exit1Click);
    connect(menus_->ResetScreenLocation1, &QAction::triggered, this, &Tchat::ResetScreenLocation1Click);
    connect(chat_, &ChatPanel::chatColourChanged, phraseBar_, &PhraseBar::setChatColour);
    for (QAction *item : menus_->addComputerPlayerItems)
        connect(item, &QAction::triggered, this,
            [this, item] { addComputerPlayer(item->property("tag").toInt()); });
}

void Tchat::connectSession()
{
    connect(connection_, &HostConnection::messageReceived, dispatch_, &ClientDispatch::processsocktimer);
    connect(connection_, &HostConnection::closed, this, &Tchat::sockInfo);
    connect(dispatch_, &ClientDispatch::send, connection_, &HostConnection::send);
    connect(chat_, &ChatPanel::sendMessage, dispatch_, &ClientDispatch::sendMessage);
    connect(phraseBar_, &PhraseBar::sendMessage, dispatch_, &ClientDispatch::sendMessage);
    connect(gamestart_, &Tgamestart::startRequested, dispatch_, &ClientDispatch::startgame);

    playArea_->follow(session_);
    rosterView_->follow(session_);
    menus_->follow(session_);
    connect(menus_->JustWatch1, &QAction::triggered, dispatch_, &ClientDispatch::JustWatch1Click);
    connect(menus_->autostart, &QAction::toggled, session_, &GameSession::setAutoStartNextGame);
    connect(rosterView_, &RosterView::removeFromGameRequested, dispatch_, &ClientDispatch::kicking);
    connect(
        rosterView_, &RosterView::setJustWatchRequested, dispatch_, &ClientDispatch::SettoJustWatch1Click);
    connect(
        rosterView_, &RosterView::unsetJustWatchRequested, dispatch_, &ClientDispatch::UnsetJustWatch1Click);
    connect(spylist_, &Tspylist::kickRequested, dispatch_, &ClientDispatch::kicking);

    connect(session_, &GameSession::systemLine, chat_, &ChatPanel::addSystemLine);
    connect(session_, &GameSession::chatLine, chat_, &ChatPanel::chatrecieved);
    connect(session_, &GameSession::loggedIn, this, [this] {
        const ClientState &state = session_->state();
        chat_->setConnected(state.isconnected);
        chat_->setMyslot(state.myslot);
        phraseBar_->setConnected(state.isconnected);
        phraseBar_->setMyslot(state.myslot);
    });
    connect(session_, &GameSession::admitted, settings_, &MainSettings::loadinifile);
    connect(session_, &GameSession::gameFull, this, &Tchat::showGameFull);
    connect(keeper_, &ConnectionKeeper::comingBack, reconnectNotice_, &ReconnectNotice::setActive);
    connect(keeper_, &ConnectionKeeper::gameOver, this, &Tchat::gameOver);
    reconnectNotice_->follow(reconnector_, setup_.secondLength);
    roles_->setReturnHook([this](const QString &host, quint16 port) { return returnToKeptSeat(host, port); });
    connect(session_, &GameSession::spyAdded, spylist_, &Tspylist::addspy);
    connect(session_, &GameSession::spyRemoved, spylist_, &Tspylist::removespy);
    connect(session_, &GameSession::hostingChanged, spylist_, &Tspylist::setHosting);
    connect(roles_, &ClientRoles::soloStarting, this, [this] { showWindow(download_); });
    connect(roles_, &ClientRoles::hostingForOthers, this, &Tchat::hostingForOthers);

    TallyList *tally = tallylist_->tally();
    connect(tally, &TallyList::fileError, session_, &GameSession::addSystemLine);
    connect(session_, &GameSession::roundScored, tally,
        [this, tally] { tally->recordRoundWords(results_->count()); });
    connect(session_, &GameSession::gameWon, tally,
        [this, tally](const QString &winner) { tally->addgame(winner, session_->tallyRoster()); });
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
    connect(phrases_, &Tphrases::phrasesDone, settings_, &MainSettings::setPhrases);
    connect(help_, &Thelp::aboutRequested, this, [this] { showWindow(about_); });
    connect(download_, &Tdownload::exitRequested, this, &Tchat::Exit1Click);
}

void Tchat::connectPlaySurface()
{
    connect(entry_, &WordEntry::wordButtonsVisible, this, [this](bool visible) {
        playArea_->button_send->setVisible(visible);
        playArea_->button_clear->setVisible(visible);
    });
    connect(entry_, &WordEntry::justWatchingNotice, this, [this] {
        openNoticeBox(
            this, QMessageBox::Information, QStringLiteral("justWatchingBox"), WordEntry::justWatchingText);
    });
    connect(playArea_->button_rotate, &QPushButton::clicked, entry_, &WordEntry::rotateboard);
    connect(playArea_->button_send, &QPushButton::clicked, entry_, &WordEntry::button_sendClick);
    connect(playArea_->button_clear, &QPushButton::clicked, entry_, &WordEntry::button_clearClick);

    connect(session_, &GameSession::roundStarting, wordslist_, &Twordslist::roundStarted);
    connect(session_, &GameSession::minLettersChanged, wordslist_, &Twordslist::setMinLetters);
    connect(session_, &GameSession::gameStarting, wordslist_, &Twordslist::gameStarted);
    connect(session_, &GameSession::gameWon, wordslist_, &Twordslist::gameOver);
    connect(session_, &GameSession::roundWords, wordslist_, [this](const QStringList &words) {
        wordslist_->thewords(Wire::toWire(words.join(QLatin1Char('+'))));
    });
    connect(wordslist_, &Twordslist::pathChosen, boardView_->paintbox(), &BoardPaintBox::showPath);
    connect(menus_->LastRoundsWords1, &QAction::triggered, wordslist_, &Twordslist::showLastRound);
    connect(wordslist_, &Twordslist::lastRoundChanged, menus_->LastRoundsWords1, &QAction::setEnabled);
}

void Tchat::connectNextRound()
{
    // A window that hosts gives the pause between rounds itself.
    nextRound_ = new NextRoundCountdown(
        [this]() -> std::optional<int> {
            if (session_->state().ishost)
                return settings_->values().timeBetweenRounds;
            return std::nullopt;
        },
        {}, this);
    nextRound_->setSecondLength(setup_.secondLength);
    connect(session_, &GameSession::roundEnded, nextRound_, &NextRoundCountdown::roundEnded);
    connect(session_, &GameSession::roundStarting, nextRound_, &NextRoundCountdown::roundStarted);
    connect(session_, &GameSession::gameStarting, nextRound_, &NextRoundCountdown::gameEnded);
    connect(session_, &GameSession::gameWon, nextRound_, &NextRoundCountdown::gameEnded);
    connect(nextRound_, &NextRoundCountdown::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            session_->setStatus(text);
        wordslist_->setNextRound(text);
    });
}

void Tchat::connectAnnouncements()
{
    connect(session_, &GameSession::wordAccepted, announcer_,
        [this](const QString &word, int points, bool first) {
            announcer_->wordAccepted(WordResults::shownWord(word), points, first);
        });
    connect(session_, &GameSession::wordRefused, announcer_,
        [this](Wire::RejectReason reason, const QString &word) {
            announcer_->wordRefused(WordResults::shownWord(word), WordResults::reasonText(reason));
        });
    connect(entry_, &WordEntry::wordJudged, announcer_, [this](const Verdict &verdict) {
        if (verdict.status && !verdict.send)
            announcer_->wordRefused(verdict.word, *verdict.status);
    });
    connect(entry_, &WordEntry::statusChanged, announcer_, [this](const QString &text) {
        if (text == WordEntry::invalidSelection)
            announcer_->wordRefused(QString(), text);
    });
    connect(session_, &GameSession::roundStarted, announcer_,
        [this](int, bool mine) { announcer_->roundStarted(mine, session_->state().roundLength); });
    connect(session_, &GameSession::roundEnded, announcer_, &Announcer::roundEnded);
    connect(
        session_, &GameSession::gameWon, announcer_, [this] { announcer_->gameWon(session_->winnerText()); });
    connect(session_, &GameSession::chatLine, announcer_,
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
    roles_->processparams(arguments);
}

void Tchat::hostpress()
{
    roles_->hostpress();
}

void Tchat::joinpress()
{
    roles_->joinpress();
}

void Tchat::sockInfo()
{
    keeper_->connectionClosed();
}

void Tchat::gameOver(const QString &sentence)
{
    if (keeper_->isClosing())
        return;
    if (!sentence.isEmpty()) {
        lostBox_
            = openNoticeBox(this, QMessageBox::Information, QStringLiteral("connectionLostBox"), sentence);
        connect(lostBox_, &QDialog::finished, this, &Tchat::close);
        return;
    }
    // "Game is full" stays until the player has read it.
    if (!gameFullBox_)
        close();
}

bool Tchat::returnToKeptSeat(const QString &host, quint16 port)
{
    if (!setup_.rejoin && qEnvironmentVariable(GameCommandLine::rejoinVariable) != QLatin1String("1"))
        return false;
    qunsetenv(GameCommandLine::rejoinVariable);
    return keeper_->returnToKeptSeat(host, port);
}

void Tchat::showGameFull()
{
    if (gameFullBox_)
        return;
    gameFullBox_ = openNoticeBox(
        this, QMessageBox::Information, QStringLiteral("gameFullBox"), QStringLiteral("Game is full"));
    connect(gameFullBox_, &QDialog::finished, this, &Tchat::close);
}

void Tchat::addSystemLine(const QString &text)
{
    session_->addSystemLine(text);
}

void Tchat::playsounds(const QString &name)
{
    sounds_.playsounds(name);
}

void Tchat::button_startClick()
{
    if (session_->state().isconnected)
        showWindow(gamestart_);
    else
        openNoticeBox(this, QMessageBox::Information, QStringLiteral("notConnectedBox"),
            QStringLiteral("You are not connected"));
}

void Tchat::addComputerPlayer(int level)
{
    hosted_->addComputerPlayer(level);
}

void Tchat::loadchecklist()
{
    tallylist_->loadchecklist(session_->tallyRoster());
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

const ClientState &Tchat::state() const
{
    return session_->state();
}

RosterModel *Tchat::roster() const
{
    return session_->roster();
}

const SettingsValues &Tchat::settings() const
{
    return settings_->values();
}

TServer *Tchat::server() const
{
    return hosted_->server();
}

ComputerPlayers *Tchat::computerPlayers() const
{
    return hosted_->computerPlayers();
}

bool Tchat::isword(QByteArrayView word) const
{
    return hosted_->isword(word);
}

int Tchat::pauseBetweenRounds() const
{
    return hosted_->pauseBetweenRounds();
}

bool Tchat::autoStartNextGame() const
{
    return hosted_->autoStartNextGame();
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

void Tchat::loadinifile()
{
    settings_->loadinifile();
}

void Tchat::saveinifile()
{
    settings_->saveinifile();
}

void Tchat::setPhrases(const QStringList &phrases)
{
    settings_->setPhrases(phrases);
}

void Tchat::setWordsListWindow(QWidget *window)
{
    settings_->setWordsListWindow(window);
}

void Tchat::Exit1Click()
{
    close();
}

void Tchat::ResetScreenLocation1Click()
{
    settings_->ResetScreenLocation1Click();
}

void Tchat::closeEvent(QCloseEvent *event)
{
    if (!keeper_->closing())
        settings_->FormClose();
    event->accept();
    Q_EMIT closed();
}

bool Tchat::eventFilter(QObject *watched, QEvent *event)
{
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
    openNoticeBox(this, QMessageBox::Critical, QStringLiteral("dictionaryMissingBox"),
        QStringLiteral("English.dic dictionary not found!"));
}
