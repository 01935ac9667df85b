#include "mainmenus.h"

#include "gamesession.h"
#include "settingsvalues.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

MainMenus::MainMenus(QMainWindow *window, const SharedItems &shared)
    : QObject(window)
{
    setObjectName(QStringLiteral("mainmenu"));
    build(window, shared);
}

QAction *MainMenus::addItem(QMenu *menu, const char *name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction *MainMenus::addCheckItem(QMenu *menu, const char *name, const QString &text, bool checked)
{
    QAction *action = addItem(menu, name, text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

QMenu *MainMenus::addSubmenu(QMenu *menu, const char *name, const QString &title)
{
    QMenu *sub = menu->addMenu(title);
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
    return sub;
}

void MainMenus::addShared(QMenu *menu, QMenu *sub)
{
    menu->addMenu(sub);
    sub->menuAction()->setObjectName(sub->objectName() + QStringLiteral("Item"));
}

void MainMenus::build(QMainWindow *window, const SharedItems &shared)
{
    QMenuBar *bar = window->menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto topMenu = [bar](const char *name, const QString &title) {
        QMenu *menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    fileMenu = topMenu("File1", QStringLiteral("File"));
    StartGame1 = addItem(fileMenu, "StartGame1", QStringLiteral("Start Game"));
    StartGame1->setEnabled(false);
    AddComputerPlayer1 = addSubmenu(fileMenu, "AddComputerPlayer1", QStringLiteral("Add Computer Player"));
    AddComputerPlayer1->menuAction()->setEnabled(false);
    const std::array<std::pair<const char *, const char *>, 3> strengths {
        {{"AddEasyPlayer1", "Easy"}, {"AddMediumPlayer1", "Medium"}, {"AddHardPlayer1", "Hard"}}};
    for (std::size_t i = 0; i < strengths.size(); ++i) {
        addComputerPlayerItems[i]
            = addItem(AddComputerPlayer1, strengths[i].first, QString::fromLatin1(strengths[i].second));
        addComputerPlayerItems[i]->setProperty("tag", int(i));
    }
    fileMenu->addSeparator();
    Exit1 = addItem(fileMenu, "Exit1", QStringLiteral("Exit"));

    optionsMenu = topMenu("Options1", QStringLiteral("Options"));
    PlaySounds1 = shared.playSounds;
    PlayChatterSounds1 = shared.playChatterSounds;
    optionsMenu->addAction(PlaySounds1);
    optionsMenu->addAction(PlayChatterSounds1);
    SpeakAnnouncements1 = shared.speakAnnouncements;
    if (SpeakAnnouncements1)
        optionsMenu->addAction(SpeakAnnouncements1);
    turnSoundMenu = shared.turnSound;
    addShared(optionsMenu, turnSoundMenu);
    Classic1 = turnSoundMenu->findChild<QAction *>(QStringLiteral("Classic1"));
    New1 = turnSoundMenu->findChild<QAction *>(QStringLiteral("New1"));

    timeBetweenRoundsMenu
        = addSubmenu(optionsMenu, "timebetweenrounds", QStringLiteral("Time Between Rounds"));
    timeBetweenRoundsMenu->setProperty("tag", 10);
    auto *pauseGroup = new QActionGroup(this);
    ExtraLong1 = addCheckItem(timeBetweenRoundsMenu, "ExtraLong1", QStringLiteral("Extra Long"), false);
    long_ = addCheckItem(timeBetweenRoundsMenu, "long", QStringLiteral("Long"), false);
    Normal1 = addCheckItem(timeBetweenRoundsMenu, "Normal1", QStringLiteral("Normal"), true);
    quick = addCheckItem(timeBetweenRoundsMenu, "quick", QStringLiteral("Quick"), false);
    const std::array<std::pair<QAction *, int>, 4> pauses {
        {{ExtraLong1, 60}, {long_, 15}, {Normal1, 10}, {quick, 5}}};
    for (const auto &[action, seconds] : pauses) {
        action->setProperty("tag", seconds);
        pauseGroup->addAction(action);
    }

    autostart
        = addCheckItem(optionsMenu, "autostart", QStringLiteral("Automatically Start Next Game"), false);
    optionsMenu->addSeparator();
    TextColor1 = shared.textColor;
    optionsMenu->addAction(TextColor1);
    textSizeMenu = shared.textSize;
    addShared(optionsMenu, textSizeMenu);
    const QList<QAction *> sizes = textSizeMenu->actions();
    for (std::size_t i = 0; i < textSizes.size() && i < std::size_t(sizes.size()); ++i)
        textSizes[i] = sizes[qsizetype(i)];
    ScrollChatOff2 = shared.scrollChatOff;
    optionsMenu->addAction(ScrollChatOff2);
    ClearMainChat1 = shared.clearMainChat;
    optionsMenu->addAction(ClearMainChat1);
    ResetScreenLocation1
        = addItem(optionsMenu, "ResetScreenLocation1", QStringLiteral("Reset Screen Location"));
    optionsMenu->addSeparator();
    JustWatch1 = addCheckItem(optionsMenu, "JustWatch1", QStringLiteral("Just Watch"), false);
    optionsMenu->addSeparator();
    DisableTyping1 = addCheckItem(optionsMenu, "DisableTyping1", QStringLiteral("Disable Typing"), false);
    DisableTyping1->setProperty("tag", 1);
    ClickLetters1 = addCheckItem(optionsMenu, "ClickLetters1", QStringLiteral("Click Letters"), false);
    ClickLetters1->setProperty("tag", 1);

    tilesMenu = topMenu("grouptilesitem", QStringLiteral("Tiles"));
    tilesGroup = new QActionGroup(this);

    viewMenu = topMenu("View1", QStringLiteral("View"));
    ViewTally1 = addItem(viewMenu, "ViewTally1", QStringLiteral("View Tally"));
    SpyList1 = addItem(viewMenu, "SpyList1", QStringLiteral("Spy List"));
    PrhaseList1 = addItem(viewMenu, "PrhaseList1", QStringLiteral("Phrase List"));
    viewMenu->addSeparator();
    LastRoundsWords1 = addItem(viewMenu, "LastRoundsWords1", QStringLiteral("Last Round's Words"));
    LastRoundsWords1->setEnabled(false);

    helpMenu = topMenu("Help1", QStringLiteral("Help"));
    Help2 = addItem(helpMenu, "Help2", QStringLiteral("Content"));
    Help2->setShortcut(QKeySequence(Qt::Key_F1));
    helpMenu->addSeparator();
    About1 = addItem(helpMenu, "About1", QStringLiteral("About"));

    bar->addSeparator();
    CheckoutWendlewickSolo1 = bar->addAction(QStringLiteral("Check out Wendlewick Solo!"));
    CheckoutWendlewickSolo1->setObjectName(QStringLiteral("CheckoutWendlewickSolo1"));

    // F1 works while the window is active, whatever has the focus ("Scroll Chat Off"
    // is the chat panel's, which makes Ctrl+S work the same way).
    window->addAction(Help2);
    // F10 opens the menus from the keyboard, as on other desktops.
    auto *menuKey = new QAction(window);
    menuKey->setObjectName(QStringLiteral("openMenus"));
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    menuKey->setShortcutContext(Qt::WindowShortcut);
    window->addAction(menuKey);
    connect(menuKey, &QAction::triggered, bar, [bar, this] { bar->setActiveAction(fileMenu->menuAction()); });

    for (const auto &[pauseAction, seconds] : pauses) {
        connect(pauseAction, &QAction::triggered, this, [this, a = pauseAction, s = seconds] {
            timeBetweenRoundsMenu->setProperty("tag", s);
            a->setChecked(true);
            Q_EMIT timeBetweenRoundsChosen(s);
        });
    }
    connect(ClickLetters1, &QAction::triggered, this, [this](bool checked) {
        ClickLetters1->setProperty("tag", checked ? 0 : 1);
        Q_EMIT clickLettersChanged(checked ? 0 : 1);
    });
    connect(DisableTyping1, &QAction::triggered, this, [this](bool checked) {
        DisableTyping1->setProperty("tag", checked ? 0 : 1);
        Q_EMIT disableTypingChanged(checked ? 0 : 1);
    });
}

void MainMenus::follow(const GameSession *session)
{
    connect(session, &GameSession::watchingChanged, JustWatch1, &QAction::setChecked);
    connect(JustWatch1, &QAction::triggered, this,
        [this, session] { JustWatch1->setChecked(session->state().justWatching); });
    connect(session, &GameSession::hostingChanged, this, [this](bool hosting) {
        StartGame1->setEnabled(hosting);
        AddComputerPlayer1->menuAction()->setEnabled(hosting);
    });
}

void MainMenus::showSettings(const SettingsValues &values)
{
    timeBetweenRoundsMenu->setProperty("tag", values.timeBetweenRounds);
    for (QAction *action : {ExtraLong1, long_, Normal1, quick}) {
        if (action->property("tag").toInt() == values.timeBetweenRounds)
            action->setChecked(true);
    }
    ClickLetters1->setChecked(values.clickLetters != 1);
    ClickLetters1->setProperty("tag", values.clickLetters == 1 ? 1 : 0);
    DisableTyping1->setChecked(values.disableTyping != 1);
    DisableTyping1->setProperty("tag", values.disableTyping == 1 ? 1 : 0);
}
