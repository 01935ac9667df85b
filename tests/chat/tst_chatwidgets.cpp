#include "chatinput.h"
#include "chatpanel.h"
#include "chatview.h"
#include "gamesounds.h"
#include "phrasebar.h"
#include "recordingsoundplayer.h"
#include "smileypictures.h"
#include "soundoptions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

namespace {

const QColor navy(0, 0, 128);
const QColor linkGreen(0, 128, 0);

// The format of the run of `view` that holds the first `text` after `from`.
QTextCharFormat formatAt(const ChatView &view, const QString &text, int from = 0)
{
    QTextCursor found = view.document()->find(text, from);
    if (found.isNull())
        return {};
    QTextCursor c(view.document());
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QStringList images(const ChatView &view)
{
    QStringList names;
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                names.append(it.fragment().charFormat().toImageFormat().name());
        }
    }
    return names;
}

// Clicks the middle of the first occurrence of `text` in the view.
void clickText(ChatView &view, const QString &text)
{
    QTextCursor found = view.document()->find(text);
    QVERIFY(!found.isNull());
    QTextCursor c(view.document());
    c.setPosition(found.selectionStart() + 2);
    const QPoint at = view.cursorRect(c).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
}

QMessageBox *cannotOpenBox(QWidget &w)
{
    return w.findChild<QMessageBox *>(QStringLiteral("cannotOpenWebpageBox"));
}

} // namespace

class TestChatWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewShowsHeadWordsSmiliesAndLinks();
    void newColourRepaintsEarlierLinesOfThatPlayerOnly();
    void slotTenAndWatchersGetTheirOwnColour();
    void lineWithoutDecimalCodeLeavesTheViewAlone();
    void peerTextCannotBreakTheLine();
    void aLongLineIsShownWholeAndFollowsItsPlayersColour();
    void clickingALinkOpensOnlyWebAddresses();
    void clickOutsideTheLinkTableShowsCannotOpen_data();
    void clickOutsideTheLinkTableShowsCannotOpen();
    void oldLinkOpensWhatItShowsAfterTheTableWraps();
    void copyPutsTheSelectionWithSmileyCodesOnTheClipboard();
    void clearMainChatEmptiesTheViewButKeepsChatlinks();
    void scrollChatOffKeepsTheViewStillAndBothItemsAgree();
    void textSizeAppliesToEveryStyleAndChecksItsItem();

    void inputStartsWithPlaceholderAndEnterSends();
    void enterWhileNotConnectedKeepsTheText();
    void unknownCommandShowsAHintAndEmptiesTheBox();
    void pasteAppendsAtTheEnd();
    void ctrlVPastesAtTheEndToo();
    void smileyMenuAppendsTheCode();
    void textColorChangesTheInputColourAndAsksForASave();
    void relayedLinesShowInTheirColourOrRed();

    void phraseButtonsShowTheirPhrasesAndThrottleClicks();
    void chatterMenuHasCancelAndTwentySounds();
    void soundOptionsStartAndLoadTheirSwitches();
    void smileyPicturesAreDistinct();
};

void TestChatWidgets::viewShowsHeadWordsSmiliesAndLinks()
{
    ChatView view;
    QCOMPARE(view.objectName(), QStringLiteral("mainchat"));
    QVERIFY(view.addlinetochat(QStringLiteral("3+Ann chats: hi :)#12 see www.example.com"), navy));
    QCOMPARE(view.document()->toPlainText(), QStringLiteral("Ann chats:  hi  \uFFFC see www.example.com "));
    QCOMPARE(images(view), QStringList {QStringLiteral("smiley:2")});

    const QTextCharFormat head = formatAt(view, QStringLiteral("Ann"));
    QCOMPARE(head.foreground().color(), navy);
    QCOMPARE(head.fontWeight(), int(QFont::Bold));
    const QTextCharFormat link = formatAt(view, QStringLiteral("www.example.com"));
    QVERIFY(link.isAnchor());
    QVERIFY(link.fontUnderline());
    QCOMPARE(link.foreground().color(), linkGreen);
    QCOMPARE(view.chatlinks().entry(0), QStringLiteral("www.example.com "));

    // A system line without a colon starts with a single space on a new paragraph.
    QVERIFY(view.addlinetochat(QStringLiteral("0+You are Connected."), ChatPanel::systemcolor));
    QCOMPARE(view.document()->blockCount(), 2);
    QCOMPARE(view.document()->lastBlock().text(), QStringLiteral(" You are Connected. "));
    QCOMPARE(formatAt(view, QStringLiteral("Connected")).foreground().color(), ChatPanel::systemcolor);
}

void TestChatWidgets::newColourRepaintsEarlierLinesOfThatPlayerOnly()
{
    ChatView view;
    view.addlinetochat(QStringLiteral("3+Ann chats: first www.a.com"), navy);
    view.addlinetochat(QStringLiteral("4+Bob chats: middle"), Qt::red);
    QCOMPARE(formatAt(view, QStringLiteral("first")).foreground().color(), navy);
    view.addlinetochat(QStringLiteral("3+Ann chats: second"), Qt::darkGreen);

    QCOMPARE(formatAt(view, QStringLiteral("first")).foreground().color(), QColor(Qt::darkGreen));
    QCOMPARE(formatAt(view, QStringLiteral("Ann")).foreground().color(), QColor(Qt::darkGreen));
    QCOMPARE(formatAt(view, QStringLiteral("second")).foreground().color(), QColor(Qt::darkGreen));
    QCOMPARE(formatAt(view, QStringLiteral("middle")).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatAt(view, QStringLiteral("www.a.com")).foreground().color(), linkGreen);
    QVERIFY(formatAt(view, QStringLiteral("www.a.com")).isAnchor());
}

void TestChatWidgets::slotTenAndWatchersGetTheirOwnColour()
{
    ChatView view;
    view.addlinetochat(QStringLiteral("10+Jo chats: ten"), Qt::magenta);
    view.addlinetochat(QStringLiteral("15+Spy chats: watching"), Qt::cyan);
    view.addlinetochat(QStringLiteral("2147483647+Odd chats: odd"), Qt::cyan);
    view.addlinetochat(QStringLiteral("-5+negative"), Qt::blue);
    QCOMPARE(formatAt(view, QStringLiteral("ten")).foreground().color(), QColor(Qt::magenta));
    QCOMPARE(formatAt(view, QStringLiteral("watching")).foreground().color(), QColor(Qt::cyan));
    QVERIFY(!formatAt(view, QStringLiteral("ten")).fontUnderline());
    QCOMPARE(formatAt(view, QStringLiteral("negative")).foreground().color(), QColor(Qt::blue));
}

void TestChatWidgets::lineWithoutDecimalCodeLeavesTheViewAlone()
{
    ChatView view;
    view.addlinetochat(QStringLiteral("0+hello"), ChatPanel::systemcolor);
    const QString before = view.document()->toPlainText();
    QVERIFY(!view.addlinetochat(QStringLiteral("x+www.a.com"), Qt::red));
    QVERIFY(!view.addlinetochat(QStringLiteral("no code"), Qt::red));
    QCOMPARE(view.document()->toPlainText(), before);
    QCOMPARE(view.chatlinks().linkcounter(), -1);
}

void TestChatWidgets::peerTextCannotBreakTheLine()
{
    ChatView view;
    view.addlinetochat(QStringLiteral("3+Ann chats: a\nb\u2029c\uFFFCd\re"), navy);
    QCOMPARE(view.document()->blockCount(), 1);
    QVERIFY(images(view).isEmpty());
}

void TestChatWidgets::aLongLineIsShownWholeAndFollowsItsPlayersColour()
{
    ChatView view;
    view.resize(297, 190);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QString many = QStringLiteral("ab ").repeated(5000);
    view.addlinetochat(QStringLiteral("0+hello"), Qt::darkRed);
    view.addlinetochat(
        QStringLiteral("3+Ann chats: ") + many + QStringLiteral("www.example.com :)#11") + many, navy);

    QCOMPARE(view.document()->blockCount(), 2);
    const QString shown = view.document()->findBlockByNumber(1).text();
    QCOMPARE(shown,
        QStringLiteral("Ann chats:  ") + many + QStringLiteral("www.example.com  \uFFFC") + many
            + QLatin1Char(' '));
    QCOMPARE(images(view), QStringList {QStringLiteral("smiley:1")});
    QVERIFY(formatAt(view, QStringLiteral("www.example.com")).isAnchor());
    QVERIFY(!formatAt(view, QStringLiteral("ab"), int(view.document()->toPlainText().size()) - 4).isAnchor());
    QTRY_COMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());

    // A new colour of Ann's repaints every word of her long line, the last one too.
    view.addlinetochat(QStringLiteral("3+Ann chats: again"), Qt::darkGreen);
    const int lastWord = int(view.document()->findBlockByNumber(2).position()) - 5;
    QCOMPARE(formatAt(view, QStringLiteral("ab"), lastWord).foreground().color(), QColor(Qt::darkGreen));
    QCOMPARE(formatAt(view, QStringLiteral("Ann")).foreground().color(), QColor(Qt::darkGreen));
    QCOMPARE(formatAt(view, QStringLiteral("hello")).foreground().color(), QColor(Qt::darkRed));
}

void TestChatWidgets::clickingALinkOpensOnlyWebAddresses()
{
    ChatView view;
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QList<QUrl> opened;
    view.setUrlOpener([&](const QUrl &url) {
        opened.append(url);
        return true;
    });
    view.addlinetochat(QStringLiteral("3+Ann chats: see (www.example.com), or foo.www.bar"), navy);

    clickText(view, QStringLiteral("www.example.com"));
    QCOMPARE(opened, QList<QUrl> {QUrl(QStringLiteral("http://www.example.com"))});
    QVERIFY(!cannotOpenBox(view));

    clickText(view, QStringLiteral("foo.www.bar"));
    QCOMPARE(opened.size(), 1);
    QTRY_VERIFY(cannotOpenBox(view));
    QCOMPARE(cannotOpenBox(view)->text(), QStringLiteral("Cannot open Webpage"));
    QVERIFY(cannotOpenBox(view)->isVisible());
}

void TestChatWidgets::clickOutsideTheLinkTableShowsCannotOpen_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("never written") << 5;
    QTest::newRow("below") << -1;
    QTest::newRow("above") << 101;
    QTest::newRow("largest") << std::numeric_limits<int>::max();
}

void TestChatWidgets::clickOutsideTheLinkTableShowsCannotOpen()
{
    QFETCH(int, index);
    ChatView view;
    int opened = 0;
    view.setUrlOpener([&](const QUrl &) { return ++opened > 0; });
    view.addlinetochat(QStringLiteral("1+A: www.a.com"), navy);
    view.mainchatJump(index);
    QCOMPARE(opened, 0);
    QVERIFY(cannotOpenBox(view));
    // Anchors that the view never made are ignored.
    Q_EMIT view.anchorClicked(QUrl(QStringLiteral("link:999")));
    Q_EMIT view.anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    QCOMPARE(opened, 0);
}

void TestChatWidgets::oldLinkOpensWhatItShowsAfterTheTableWraps()
{
    ChatView view;
    QList<QUrl> opened;
    view.setUrlOpener([&](const QUrl &url) {
        opened.append(url);
        return true;
    });
    for (int i = 0; i < 103; ++i)
        view.addlinetochat(QStringLiteral("1+A: www.site%1.com").arg(i), navy);
    QCOMPARE(view.chatlinks().linkcounter(), 2);
    Q_EMIT view.anchorClicked(QUrl(QStringLiteral("link:1")));
    Q_EMIT view.anchorClicked(QUrl(QStringLiteral("link:50")));
    Q_EMIT view.anchorClicked(QUrl(QStringLiteral("link:102")));
    QCOMPARE(opened,
        (QList<QUrl> {QUrl(QStringLiteral("http://www.site1.com")),
            QUrl(QStringLiteral("http://www.site50.com")), QUrl(QStringLiteral("http://www.site102.com"))}));
}

void TestChatWidgets::copyPutsTheSelectionWithSmileyCodesOnTheClipboard()
{
    ChatView view;
    view.addlinetochat(QStringLiteral("3+Ann chats: hi :)#12 there"), navy);
    view.addlinetochat(QStringLiteral("0+next"), ChatPanel::systemcolor);
    QApplication::clipboard()->setText(QStringLiteral("old"));
    view.copySelection();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("old"));

    QAction *selectAll = view.popupMenu()->findChild<QAction *>(QStringLiteral("SelectAll1"));
    QVERIFY(selectAll);
    selectAll->trigger();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ann chats:  hi  :)#12 there \n next "));
}

void TestChatWidgets::clearMainChatEmptiesTheViewButKeepsChatlinks()
{
    ChatPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.addlinetochat(QStringLiteral("1+A: www.a.com :)#10"), navy);
    QAction *clear = panel.mainchat()->popupMenu()->findChild<QAction *>(QStringLiteral("ClearMainChat2"));
    QVERIFY(clear);
    clear->trigger();
    QVERIFY(panel.mainchat()->document()->isEmpty());
    QCOMPARE(panel.mainchat()->chatlinks().entry(0), QStringLiteral("www.a.com "));
    QTRY_VERIFY(panel.mychat()->hasFocus());

    // Smilies still show after clearing.
    panel.addlinetochat(QStringLiteral("1+A: :)#11"), navy);
    QCOMPARE(images(*panel.mainchat()), QStringList {QStringLiteral("smiley:1")});
    QVERIFY(!panel.mainchat()
                 ->document()
                 ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("smiley:1")))
                 .isNull());
    panel.clearMainChatAction()->trigger();
    QVERIFY(panel.mainchat()->document()->isEmpty());
}

void TestChatWidgets::scrollChatOffKeepsTheViewStillAndBothItemsAgree()
{
    ChatPanel panel;
    panel.resize(300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QScrollBar *bar = panel.mainchat()->verticalScrollBar();
    for (int i = 0; i < 60; ++i)
        panel.addSystemLine(QStringLiteral("line %1").arg(i));
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    QAction *one = panel.mainchat()->scrollChatOffAction();
    QAction *two = panel.scrollChatOffAction();
    QCOMPARE(one->objectName(), QStringLiteral("ScrollChatOff1"));
    QCOMPARE(two->objectName(), QStringLiteral("ScrollChatOff2"));
    QVERIFY(!one->isChecked() && !two->isChecked());
    two->trigger();
    QVERIFY(one->isChecked() && two->isChecked());

    bar->setValue(0);
    for (int i = 0; i < 10; ++i)
        panel.addSystemLine(QStringLiteral("more %1").arg(i));
    QCOMPARE(bar->value(), 0);

    one->trigger();
    QVERIFY(!one->isChecked() && !two->isChecked());
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    QTest::keyClick(panel.mychat(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(one->isChecked() && two->isChecked());
    QTest::keyClick(panel.mainchat(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!one->isChecked() && !two->isChecked());
    panel.addSystemLine(QStringLiteral("last"));
    QCOMPARE(bar->value(), bar->maximum());
}

void TestChatWidgets::textSizeAppliesToEveryStyleAndChecksItsItem()
{
    ChatPanel panel;
    QSignalSpy saves(&panel, &ChatPanel::settingsChanged);
    panel.addlinetochat(QStringLiteral("3+Ann chats: hello www.a.com"), navy);
    QCOMPARE(panel.textSize(), 10);
    QAction *twelve = panel.textSizeMenu()->findChild<QAction *>(QStringLiteral("N12"));
    QVERIFY(twelve);
    twelve->trigger();
    QCOMPARE(saves.size(), 1);
    QCOMPARE(panel.textSize(), 12);
    QCOMPARE(formatAt(*panel.mainchat(), QStringLiteral("hello")).fontPointSize(), 12.0);
    QCOMPARE(formatAt(*panel.mainchat(), QStringLiteral("www.a.com")).fontPointSize(), 12.0);
    QVERIFY(formatAt(*panel.mainchat(), QStringLiteral("www.a.com")).isAnchor());
    QStringList checked;
    for (QAction *a : panel.textSizeMenu()->actions()) {
        if (a->isChecked())
            checked.append(a->text());
    }
    QCOMPARE(checked, QStringList {QStringLiteral("12")});

    // A stored size without an item is applied with nothing checked.
    panel.setTextSize(9);
    QCOMPARE(formatAt(*panel.mainchat(), QStringLiteral("hello")).fontPointSize(), 9.0);
    for (QAction *a : panel.textSizeMenu()->actions())
        QVERIFY(!a->isChecked());
    QCOMPARE(saves.size(), 1);
}

void TestChatWidgets::inputStartsWithPlaceholderAndEnterSends()
{
    ChatPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    ChatInput *box = panel.mychat();
    QCOMPARE(box->objectName(), QStringLiteral("mychat"));
    QCOMPARE(box->placeholderText(), QStringLiteral("<Enter Chat Here>"));
    QVERIFY(box->text().isEmpty());

    QSignalSpy sent(&panel, &ChatPanel::sendMessage);
    panel.setConnected(true);
    panel.setMyslot(2);
    panel.setChatColour(navy);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(sent.size(), 0);
    QVERIFY(box->text().isEmpty());

    QTest::keyClicks(box, QStringLiteral("/me waves"));
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("CMD_action"));
    QCOMPARE(
        sent.at(0).at(1).toStringList(), (QStringList {QStringLiteral("2"), QStringLiteral("waves|clNavy")}));
    QVERIFY(box->text().isEmpty());
    // The client never shows its own line: the host's relay does.
    QVERIFY(panel.mainchat()->document()->isEmpty());
}

void TestChatWidgets::enterWhileNotConnectedKeepsTheText()
{
    ChatPanel panel;
    QSignalSpy sent(&panel, &ChatPanel::sendMessage);
    QTest::keyClicks(panel.mychat(), QStringLiteral("hello"));
    QTest::keyClick(panel.mychat(), Qt::Key_Return);
    QCOMPARE(sent.size(), 0);
    QCOMPARE(panel.mychat()->text(), QStringLiteral("hello"));
}

void TestChatWidgets::unknownCommandShowsAHintAndEmptiesTheBox()
{
    ChatPanel panel;
    panel.setConnected(true);
    QSignalSpy sent(&panel, &ChatPanel::sendMessage);
    QTest::keyClicks(panel.mychat(), QStringLiteral("/help"));
    QTest::keyClick(panel.mychat(), Qt::Key_Return);
    QCOMPARE(sent.size(), 0);
    QVERIFY(panel.mychat()->text().isEmpty());
    QVERIFY(panel.mainchat()->document()->toPlainText().contains(QStringLiteral("/help")));
}

void TestChatWidgets::pasteAppendsAtTheEnd()
{
    ChatInput box;
    box.setText(QStringLiteral("xy"));
    box.setCursorPosition(0);
    QApplication::clipboard()->setText(QStringLiteral("pasted\nline"));
    QAction *paste = box.popupMenu()->findChild<QAction *>(QStringLiteral("Paste1"));
    QVERIFY(paste);
    QCOMPARE(paste->text(), QStringLiteral("Paste"));
    paste->trigger();
    QCOMPARE(box.text(), QStringLiteral("xypasted line"));
    QCOMPARE(box.cursorPosition(), box.text().size());
    QVERIFY(!box.hasSelectedText());
}

void TestChatWidgets::ctrlVPastesAtTheEndToo()
{
    ChatInput box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    box.setText(QStringLiteral("xy"));
    box.setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("a\tb\nc"));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("xya b c"));
    QCOMPARE(box.cursorPosition(), box.text().size());

    // A pasted book stops at the line's bound instead of reaching the host whole.
    QApplication::clipboard()->setText(QString(70'000, QLatin1Char('w')));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box.text().size(), ChatInput::maxLineLength);
    QVERIFY(box.text().startsWith(QStringLiteral("xya b cw")));
}

void TestChatWidgets::smileyMenuAppendsTheCode()
{
    ChatPanel panel;
    QCOMPARE(panel.smiliesButton()->objectName(), QStringLiteral("button_smilies"));
    QMenu *menu = panel.smiliesMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("popup_smilies"));
    QCOMPARE(menu->actions().size(), 18);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral(":)#10"));
    QCOMPARE(menu->actions().last()->text(), QStringLiteral(":)#27"));
    QCOMPARE(menu->actions().at(2)->data().toInt(), 12);
    panel.mychat()->setText(QStringLiteral("<Enter Chat Here>"));
    menu->actions().at(2)->trigger();
    QCOMPARE(panel.mychat()->text(), QStringLiteral(":)#12"));
    menu->actions().at(17)->trigger();
    QCOMPARE(panel.mychat()->text(), QStringLiteral(":)#12:)#27"));
}

void TestChatWidgets::textColorChangesTheInputColourAndAsksForASave()
{
    ChatPanel panel;
    QSignalSpy saves(&panel, &ChatPanel::settingsChanged);
    QSignalSpy colours(&panel, &ChatPanel::chatColourChanged);
    QCOMPARE(panel.chatColour(), QColor(Qt::black));
    panel.textColorAction()->trigger();
    QColorDialog *dialog = panel.colorDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), QStringLiteral("ColorDialog"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->currentColor(), QColor(Qt::black));
    dialog->setCurrentColor(QColor(10, 20, 30));
    dialog->accept();
    QCOMPARE(panel.chatColour(), QColor(10, 20, 30));
    QCOMPARE(panel.mychat()->palette().color(QPalette::Text), QColor(10, 20, 30));
    QCOMPARE(saves.size(), 1);
    QCOMPARE(colours.size(), 1);

    panel.textColorClick();
    dialog->setCurrentColor(Qt::red);
    dialog->reject();
    QCOMPARE(panel.chatColour(), QColor(10, 20, 30));
    QCOMPARE(saves.size(), 1);
}

void TestChatWidgets::relayedLinesShowInTheirColourOrRed()
{
    ChatPanel panel;
    panel.chatrecieved(QStringLiteral("3+Ann chats: good|clNavy"));
    panel.chatrecieved(QStringLiteral("4+Bob chats: bad|nonsense"));
    QCOMPARE(formatAt(*panel.mainchat(), QStringLiteral("good")).foreground().color(), navy);
    QCOMPARE(formatAt(*panel.mainchat(), QStringLiteral("bad")).foreground().color(), QColor(255, 0, 0));
}

void TestChatWidgets::phraseButtonsShowTheirPhrasesAndThrottleClicks()
{
    PhraseBar bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(bar.button(1)->objectName(), QStringLiteral("b_phrase1"));
    QCOMPARE(bar.button(1)->toolTip(), QStringLiteral("Way To Go!"));
    QCOMPARE(bar.button(9)->toolTip(), QStringLiteral("Good Game Everyone!"));
    QCOMPARE(bar.button(10)->toolTip(), QStringLiteral("Chatter Sounds"));
    bar.loadPhrase(2, QString());
    QCOMPARE(bar.button(2)->toolTip(), QStringLiteral("Good One!"));
    bar.loadPhrase(2, QStringLiteral("/me bows"));
    QCOMPARE(bar.button(2)->toolTip(), QStringLiteral("/me bows"));

    QSignalSpy sent(&bar, &PhraseBar::sendMessage);
    bar.setMyslot(4);
    bar.setChatColour(navy);
    QTest::mouseClick(bar.button(1), Qt::LeftButton);
    QTest::mouseClick(bar.button(2), Qt::LeftButton);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(1).toStringList(),
        (QStringList {QStringLiteral("4"), QStringLiteral("says: Way To Go!|clNavy")}));
    // Released by its own timer, with no message traffic at all.
    QTRY_VERIFY_WITH_TIMEOUT(bar.phrases().phraseready(), 10000);
    QTest::mouseClick(bar.button(2), Qt::LeftButton);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(
        sent.at(1).at(1).toStringList(), (QStringList {QStringLiteral("4"), QStringLiteral("bows|clNavy")}));
}

void TestChatWidgets::chatterMenuHasCancelAndTwentySounds()
{
    PhraseBar bar;
    QMenu *menu = bar.soundsMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("popup_sounds"));
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 21);
    QCOMPARE(items.at(0)->text(), QStringLiteral("<Cancel>"));
    QCOMPARE(items.at(5)->objectName(), QStringLiteral("wave5"));
    QCOMPARE(items.at(5)->text(), QStringLiteral("Where have you been?"));
    QCOMPARE(items.at(5)->toolTip(), QStringLiteral("Where have you been?"));
    QCOMPARE(items.at(20)->text(), QStringLiteral("Crying"));

    QSignalSpy sent(&bar, &PhraseBar::sendMessage);
    bar.setMyslot(3);
    items.at(7)->trigger();
    QCOMPARE(sent.size(), 0); // not connected
    bar.setConnected(true);
    items.at(0)->trigger();
    QCOMPARE(sent.size(), 0);
    items.at(7)->trigger();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("CMD_playasound"));
    QCOMPARE(sent.at(0).at(1).toStringList(),
        (QStringList {QStringLiteral("3"), QStringLiteral("wave7"), QString()}));
    bar.setMyslot(12);
    items.at(7)->trigger();
    QCOMPARE(sent.size(), 1);
}

void TestChatWidgets::soundOptionsStartAndLoadTheirSwitches()
{
    RecordingSoundPlayer player;
    GameSounds sounds(&player);
    SoundOptions options(sounds);
    QSignalSpy saves(&options, &SoundOptions::settingsChanged);
    QCOMPARE(options.playSoundsAction()->objectName(), QStringLiteral("PlaySounds1"));
    QVERIFY(options.playSoundsAction()->isChecked());
    QVERIFY(!options.playChatterSoundsAction()->isChecked());
    QVERIFY(options.classicAction()->isChecked());
    QVERIFY(!options.newAction()->isChecked());
    QCOMPARE(options.turnSoundMenu()->title(), QStringLiteral("Turn Sound"));

    options.loadSettings(QStringLiteral("false"), QString(), QStringLiteral("1"));
    QVERIFY(!options.playSoundsAction()->isChecked());
    QVERIFY(options.playChatterSoundsAction()->isChecked());
    QVERIFY(options.newAction()->isChecked() && !options.classicAction()->isChecked());
    QCOMPARE(saves.size(), 0);

    options.playSoundsAction()->trigger();
    QVERIFY(sounds.playSounds());
    options.classicAction()->trigger();
    QCOMPARE(sounds.turnSound(), GameSounds::Classic);
    QVERIFY(options.classicAction()->isChecked() && !options.newAction()->isChecked());
    QCOMPARE(saves.size(), 2);
    sounds.playTurnSound();
    QCOMPARE(player.played, QStringList {QStringLiteral("turn")});
}

void TestChatWidgets::smileyPicturesAreDistinct()
{
    QList<QImage> seen;
    for (int i = 0; i < SmileyPictures::count; ++i) {
        const QImage image = SmileyPictures::picture(i);
        QCOMPARE(image.size(), QSize(17, 16));
        QVERIFY(!seen.contains(image));
        seen.append(image);
    }
    QCOMPARE(SmileyPictures::picture(99), SmileyPictures::picture(0));
    QCOMPARE(SmileyPictures::picture(3, 2.0).size(), QSize(34, 32));
}

QTEST_MAIN(TestChatWidgets)
#include "tst_chatwidgets.moc"
