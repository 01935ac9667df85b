#include "announcer.h"
#include "chatcommands.h"
#include "chatlinks.h"
#include "chatstyles.h"
#include "chattersounds.h"
#include "codedline.h"
#include "colortext.h"
#include "gamesounds.h"
#include "quickphrases.h"
#include "recordingsoundplayer.h"
#include "recordingspeaker.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

// Items as text: [word] <link> (picture).
QString render(const QList<ChatItem> &items)
{
    QString out;
    for (const ChatItem &item : items) {
        switch (item.kind) {
        case ChatItem::Word:
            out += QLatin1Char('[') + item.text + QLatin1Char(']');
            break;
        case ChatItem::Link:
            out += QLatin1Char('<') + item.text + QLatin1Char('>');
            break;
        case ChatItem::Smiley:
            out += QLatin1Char('(') + QString::number(item.picture) + QLatin1Char(')');
            break;
        }
    }
    return out;
}

const QColor navy(0, 0, 128);

} // namespace

class TestChatLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachEventIsToldInOneSentence_data();
    void eachEventIsToldInOneSentence();
    void sentencesAreSpokenOnlyWhenAskedFor();
    void aSentenceRepeatedWithinASecondIsToldOnce_data();
    void aSentenceRepeatedWithinASecondIsToldOnce();
    void codedLineIsCutIntoHeadWordsSmiliesAndLinks_data();
    void codedLineIsCutIntoHeadWordsSmiliesAndLinks();
    void lineWithoutADecimalCodeIsNotShown_data();
    void lineWithoutADecimalCodeIsNotShown();
    void everyCodeHasAStyleInsideTheTable_data();
    void everyCodeHasAStyleInsideTheTable();
    void newLineColourRestylesOnlyWhenItChanges();
    void textSizeStaysWithinReadableBounds();

    void colourTextWritesStandardNamesElseBgrHex_data();
    void colourTextWritesStandardNamesElseBgrHex();
    void colourTextRoundTrips();
    void colourTextReadsEveryAcceptedForm_data();
    void colourTextReadsEveryAcceptedForm();
    void colourTextRejectsGarbage_data();
    void colourTextRejectsGarbage();

    void linkWordsAreFoundAnywhereInAnyCase_data();
    void linkWordsAreFoundAnywhereInAnyCase();
    void webAddressIgnoresPunctuationAroundIt_data();
    void webAddressIgnoresPunctuationAroundIt();
    void onlyWebAddressesAreOpened_data();
    void onlyWebAddressesAreOpened();
    void chatlinksWrapsToOneAndNeverReadsOutside();

    void senditFollowsTheTypedLineRules_data();
    void senditFollowsTheTypedLineRules();
    void sentTextNeverCarriesTheTerminatorByte();
    void chatrecievedSplitsLineAndColour_data();
    void chatrecievedSplitsLineAndColour();

    void twoQuickPhraseClicksSendOneAction();
    void phraseRulesForMeAndEmptyPhrases_data();
    void phraseRulesForMeAndEmptyPhrases();
    void throttleReleasesAfter101Ticks();
    void phrasesStartBuiltinAndStoredOnesReplaceThem();

    void gameSoundsFollowPlaySounds();
    void turnSoundFollowsTheChoice();
    void switchesReadTheirSettings_data();
    void switchesReadTheirSettings();
    void chatterSoundPlaysOrShowsASystemLine_data();
    void chatterSoundPlaysOrShowsASystemLine();
    void chatterMenuSendsOnlyForConnectedPlayers_data();
    void chatterMenuSendsOnlyForConnectedPlayers();
    void chatterCaptionsMatchTheirSounds();
};

void TestChatLogic::codedLineIsCutIntoHeadWordsSmiliesAndLinks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("items");

    QTest::newRow("relayed chat with smiley and link")
        << "3+Ann chats: hi :)#12 see www.example.com" << 8 << "Ann chats:"
        << "[ ][hi ][ ](2)[ ][see ]<www.example.com >";
    QTest::newRow("system line without colon") << "0+You are Connected." << 0 << ""
                                               << "[You ][are ][Connected. ]";
    QTest::newRow("short smiley code shows picture 0") << "0+a:x:)#5" << 0 << "a:"
                                                       << "[x ](0)";
    QTest::newRow("chat starting with a smiley") << "3+Ann chats: :)#27" << 8 << "Ann chats:"
                                                 << "[ ][ ](17)";
    QTest::newRow("action's smiley colon ends the head") << "3+Ann waves :)#12" << 8 << "Ann waves :"
                                                         << "[)#12 ]";
    QTest::newRow("smiley codes out of range or not numbers") << "1+A: :)#28:)#09:)#ab:)#" << 6 << "A:"
                                                              << "[ ][ ](0)[ ](0)[ ](0)[ ](0)";
    QTest::newRow("smiley inside a word") << "2+B: hi:)#10there" << 7 << "B:"
                                          << "[ ][hi ](0)[there ]";
    QTest::newRow("run of spaces gives single-space words") << "0+:a  b" << 0 << ":"
                                                            << "[a ][ ][b ]";
    QTest::newRow("capital WWW with a comma is a link") << "4+C: WWW.EXAMPLE.COM, ok" << 9 << "C:"
                                                        << "[ ]<WWW.EXAMPLE.COM, >[ok ]";
    QTest::newRow("https link") << "9+D: https://example.com/x" << 14 << "D:"
                                << "[ ]<https://example.com/x >";
    QTest::newRow("slot 10 has its own style") << "10+Jo chats: hi" << 5 << "Jo chats:"
                                               << "[ ][hi ]";
    QTest::newRow("watchers share a style") << "14+Spy chats: hi" << 3 << "Spy chats:"
                                            << "[ ][hi ]";
    QTest::newRow("negative code is a system line") << "-7+odd" << 0 << ""
                                                    << "[odd ]";
    QTest::newRow("empty line") << "0+" << 0 << ""
                                << "";
    QTest::newRow("head is never searched") << "0+www.x.com :)#12: tail" << 0 << "www.x.com :"
                                            << "[)#12: ][tail ]";
}

void TestChatLogic::codedLineIsCutIntoHeadWordsSmiliesAndLinks()
{
    QFETCH(QString, line);
    QFETCH(int, style);
    QFETCH(QString, head);
    QFETCH(QString, items);
    const auto coded = CodedLine::parse(line);
    QVERIFY(coded);
    QCOMPARE(coded->style, style);
    QCOMPARE(coded->head, head);
    QCOMPARE(render(coded->items), items);
}

void TestChatLogic::lineWithoutADecimalCodeIsNotShown_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("no plus") << "hello";
    QTest::newRow("empty") << "";
    QTest::newRow("empty code") << "+hello";
    QTest::newRow("letters") << "x+hello";
    QTest::newRow("hexadecimal") << "$A+hello";
    QTest::newRow("fraction") << "3.5+hello";
    QTest::newRow("too large") << "99999999999+hello";
    QTest::newRow("inner space") << "1 2+hello";
}

void TestChatLogic::lineWithoutADecimalCodeIsNotShown()
{
    QFETCH(QString, line);
    QVERIFY(!CodedLine::parse(line));
}

void TestChatLogic::everyCodeHasAStyleInsideTheTable_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("style");
    QTest::newRow("system") << 0 << 0;
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << 0;
    QTest::newRow("slot 1") << 1 << 6;
    QTest::newRow("slot 2") << 2 << 7;
    QTest::newRow("slot 9") << 9 << 14;
    QTest::newRow("slot 10") << 10 << 5;
    QTest::newRow("watcher 11") << 11 << 3;
    QTest::newRow("largest") << std::numeric_limits<int>::max() << 3;
}

void TestChatLogic::everyCodeHasAStyleInsideTheTable()
{
    QFETCH(int, code);
    QFETCH(int, style);
    QCOMPARE(ChatStyles::styleForCode(code), style);
}

void TestChatLogic::newLineColourRestylesOnlyWhenItChanges()
{
    ChatStyles styles;
    QCOMPARE(styles.style(8).bold, false);
    QVERIFY(styles.setLineColour(8, navy));
    QCOMPARE(styles.style(8).colour, navy);
    QVERIFY(styles.style(8).bold);
    QVERIFY(!styles.setLineColour(8, navy));
    QVERIFY(styles.setLineColour(8, Qt::red));
    // Links keep green and underline; indexes outside the table change nothing.
    QVERIFY(!styles.setLineColour(ChatStyles::linkStyle, Qt::red));
    QCOMPARE(styles.style(ChatStyles::linkStyle).colour, QColor(0, 128, 0));
    QVERIFY(styles.style(ChatStyles::linkStyle).underline);
    QVERIFY(!styles.setLineColour(15, Qt::red));
    QVERIFY(!styles.setLineColour(-1, Qt::red));
}

void TestChatLogic::textSizeStaysWithinReadableBounds()
{
    ChatStyles styles;
    QCOMPARE(styles.size(), 10);
    QVERIFY(styles.setSize(9));
    QCOMPARE(styles.style(14).size, 9);
    QVERIFY(styles.setSize(0));
    QCOMPARE(styles.size(), ChatStyles::smallestSize);
    QVERIFY(styles.setSize(100000));
    QCOMPARE(styles.size(), ChatStyles::largestSize);
}

void TestChatLogic::colourTextWritesStandardNamesElseBgrHex_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << QColor(0, 0, 0) << "clBlack";
    QTest::newRow("maroon") << QColor(128, 0, 0) << "clMaroon";
    QTest::newRow("green") << QColor(0, 128, 0) << "clGreen";
    QTest::newRow("olive") << QColor(128, 128, 0) << "clOlive";
    QTest::newRow("navy") << QColor(0, 0, 128) << "clNavy";
    QTest::newRow("purple") << QColor(128, 0, 128) << "clPurple";
    QTest::newRow("teal") << QColor(0, 128, 128) << "clTeal";
    QTest::newRow("gray") << QColor(128, 128, 128) << "clGray";
    QTest::newRow("silver") << QColor(192, 192, 192) << "clSilver";
    QTest::newRow("red") << QColor(255, 0, 0) << "clRed";
    QTest::newRow("lime") << QColor(0, 255, 0) << "clLime";
    QTest::newRow("yellow") << QColor(255, 255, 0) << "clYellow";
    QTest::newRow("blue") << QColor(0, 0, 255) << "clBlue";
    QTest::newRow("fuchsia") << QColor(255, 0, 255) << "clFuchsia";
    QTest::newRow("aqua") << QColor(0, 255, 255) << "clAqua";
    QTest::newRow("white") << QColor(255, 255, 255) << "clWhite";
    QTest::newRow("blue in the high byte") << QColor(0x12, 0x34, 0x56) << "$00563412";
    QTest::newRow("near white") << QColor(255, 255, 254) << "$00FEFFFF";
    QTest::newRow("dark red") << QColor(1, 0, 0) << "$00000001";
    QTest::newRow("alpha is ignored") << QColor(0, 0, 128, 10) << "clNavy";
}

void TestChatLogic::colourTextWritesStandardNamesElseBgrHex()
{
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    QCOMPARE(ColorText::toText(colour), text);
}

void TestChatLogic::colourTextRoundTrips()
{
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 51) {
                const QColor c(r, g, b);
                const auto back = ColorText::fromText(ColorText::toText(c));
                QVERIFY(back);
                QCOMPARE(*back, c);
            }
        }
    }
}

void TestChatLogic::colourTextReadsEveryAcceptedForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("lower-case name") << "clblack" << QColor(0, 0, 0);
    QTest::newRow("upper-case name") << "CLNAVY" << navy;
    QTest::newRow("decimal red") << "255" << QColor(255, 0, 0);
    QTest::newRow("decimal blue") << "16711680" << QColor(0, 0, 255);
    QTest::newRow("dollar hex") << "$00563412" << QColor(0x12, 0x34, 0x56);
    QTest::newRow("short dollar hex") << "$ff" << QColor(255, 0, 0);
    QTest::newRow("0x hex") << "0xFF0000" << QColor(0, 0, 255);
    QTest::newRow("other classic name") << "clMoneyGreen" << QColor(0xC0, 0xDC, 0xC0);
    QTest::newRow("system colour name") << "clWindowText" << QColor(0, 0, 0);
    QTest::newRow("system colour value") << "-16777211" << QColor(255, 255, 255);
    QTest::newRow("system colour hex") << "$FF000008" << QColor(0, 0, 0);
}

void TestChatLogic::colourTextReadsEveryAcceptedForm()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    const auto read = ColorText::fromText(text);
    QVERIFY(read);
    QCOMPARE(*read, colour);
}

void TestChatLogic::colourTextRejectsGarbage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("plain word") << "red";
    QTest::newRow("dollar only") << "$";
    QTest::newRow("bad hex digits") << "$GG";
    QTest::newRow("nine hex digits") << "$123456789";
    QTest::newRow("signed hex") << "$-1";
    QTest::newRow("trailing letters") << "12abc";
    QTest::newRow("double sign") << "--1";
    QTest::newRow("beyond 32 bits") << "4294967296";
    QTest::newRow("huge text") << QString(100000, QLatin1Char('9'));
}

void TestChatLogic::colourTextRejectsGarbage()
{
    QFETCH(QString, text);
    QVERIFY(!ColorText::fromText(text));
}

void TestChatLogic::linkWordsAreFoundAnywhereInAnyCase_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("link");
    QTest::newRow("http") << "http://a.com " << true;
    QTest::newRow("https") << "https://a.com " << true;
    QTest::newRow("www") << "www.a.com " << true;
    QTest::newRow("capitals") << "WwW.A.COM " << true;
    QTest::newRow("inside a word") << "see:http://a.com " << true;
    QTest::newRow("plain word") << "hello " << false;
    QTest::newRow("www without dot") << "wwwhat " << false;
    QTest::newRow("ftp") << "ftp://a.com " << false;
}

void TestChatLogic::linkWordsAreFoundAnywhereInAnyCase()
{
    QFETCH(QString, word);
    QFETCH(bool, link);
    QCOMPARE(ChatLinks::islinkword(word), link);
}

void TestChatLogic::webAddressIgnoresPunctuationAroundIt_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("address");

    const QStringList prefixes {"", "(", "\"", "'", "<", "[", "*", "(\"", "{"};
    const QStringList suffixes {
        "", ".", ",", "!", "?", ")", "\"", "'", ">", "]", ";", ":", "),", "...", "!?", "}"};
    const QList<std::pair<QString, QString>> addresses {
        {"http://example.com", "http://example.com"},
        {"https://example.com/a?b=c#d", "https://example.com/a?b=c#d"},
        {"www.example.com", "http://www.example.com"},
        {"WWW.Example.COM/Path", "http://www.example.com/Path"},
        {"http://en.example.org/wiki/Word_(game)", "http://en.example.org/wiki/Word_(game)"},
        {"http://localhost:8080/x", "http://localhost:8080/x"},
    };
    for (const auto &[address, url] : addresses) {
        for (const QString &prefix : prefixes) {
            for (const QString &suffix : suffixes) {
                const QString word = prefix + address + suffix + QLatin1Char(' ');
                QTest::newRow(qPrintable(word)) << word << url;
            }
        }
    }
}

void TestChatLogic::webAddressIgnoresPunctuationAroundIt()
{
    QFETCH(QString, word);
    QFETCH(QString, address);
    QVERIFY(ChatLinks::islinkword(word));
    QCOMPARE(ChatLinks::webAddress(word).toString(), address);
}

void TestChatLogic::onlyWebAddressesAreOpened_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "   ";
    QTest::newRow("plain word") << "hello ";
    QTest::newRow("prefix only") << "http:// ";
    QTest::newRow("www only") << "www. ";
    QTest::newRow("letters before the address") << "xhttp://a.com ";
    QTest::newRow("www inside a word") << "foo.www.bar ";
    QTest::newRow("ftp with www") << "ftp://www.a.com ";
    QTest::newRow("file url with www") << "file:///etc/passwd?www. ";
    QTest::newRow("script with www") << "javascript:alert(1)//www.a.com ";
    QTest::newRow("empty label") << "www.ex..com ";
    QTest::newRow("bad host") << "http://exa%mple.com ";
}

void TestChatLogic::onlyWebAddressesAreOpened()
{
    QFETCH(QString, word);
    QVERIFY(ChatLinks::webAddress(word).isEmpty());
}

void TestChatLogic::chatlinksWrapsToOneAndNeverReadsOutside()
{
    ChatLinks links;
    QCOMPARE(links.linkcounter(), -1);
    for (int i = 0; i <= 100; ++i)
        QCOMPARE(links.store(QStringLiteral("www.a%1.com ").arg(i)), i);
    QCOMPARE(links.store(QStringLiteral("www.next.com ")), 1);
    QCOMPARE(links.entry(0), QStringLiteral("www.a0.com "));
    QCOMPARE(links.entry(1), QStringLiteral("www.next.com "));
    QCOMPARE(links.entry(100), QStringLiteral("www.a100.com "));
    QVERIFY(links.entry(101).isEmpty());
    QVERIFY(links.entry(-1).isEmpty());
    QVERIFY(links.entry(std::numeric_limits<int>::max()).isEmpty());
    QVERIFY(links.entry(std::numeric_limits<int>::min()).isEmpty());
}

void TestChatLogic::senditFollowsTheTypedLineRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<bool>("hint");

    const QColor black(0, 0, 0);
    QTest::newRow("chat") << "hello" << true << black << true << "CMD_chat+3+hello|clBlack" << false;
    QTest::newRow("chat keeps plus signs")
        << "a+b" << true << black << true << "CMD_chat+3+a+b|clBlack" << false;
    QTest::newRow("chat in hex colour")
        << "hi" << true << QColor(1, 2, 3) << true << "CMD_chat+3+hi|$00030201" << false;
    QTest::newRow("empty box") << "" << true << black << true << "" << false;
    QTest::newRow("not connected") << "hello" << false << black << false << "" << false;
    QTest::newRow("action") << "/me waves" << true << navy << true << "CMD_action+3+waves|clNavy" << false;
    QTest::newRow("empty action") << "/me" << true << navy << true << "CMD_action+3+|clNavy" << false;
    QTest::newRow("mewave loses four characters")
        << "/mewave" << true << navy << true << "CMD_action+3+ave|clNavy" << false;
    QTest::newRow("other command") << "/help" << true << black << true << "" << true;
    QTest::newRow("me is case-sensitive") << "/ME waves" << true << black << true << "" << true;
    QTest::newRow("slash alone") << "/" << true << black << true << "" << true;
}

void TestChatLogic::senditFollowsTheTypedLineRules()
{
    QFETCH(QString, text);
    QFETCH(bool, connected);
    QFETCH(QColor, colour);
    QFETCH(bool, cleared);
    QFETCH(QString, sent);
    QFETCH(bool, hint);

    const auto result = ChatCommands::sendit(text, connected, 3, colour);
    QCOMPARE(result.clearInput, cleared);
    QCOMPARE(result.message ? result.message->text() : QString(), sent);
    QCOMPARE(!result.systemLine.isEmpty(), hint);
    if (hint) {
        QVERIFY(result.systemLine.startsWith(QStringLiteral("0+")));
        QVERIFY(CodedLine::parse(result.systemLine));
    }
}

void TestChatLogic::sentTextNeverCarriesTheTerminatorByte()
{
    const QString typed = QStringLiteral("na\u00EFve \u00FF caf\u00E9 \u20AC \U0001F600!");
    const auto result = ChatCommands::sendit(typed, true, 2, Qt::black);
    QVERIFY(result.message);
    QCOMPARE(result.message->fields.at(1), QStringLiteral("na\u00EFve ? caf\u00E9 ? ?!|clBlack"));
    const QByteArray wire = result.message->text().toLatin1();
    QVERIFY(!wire.contains('\xff'));
    QCOMPARE(QString::fromLatin1(wire), result.message->text());
    QCOMPARE(ChatCommands::wireText(QString(QChar(0xD800))), QStringLiteral("?"));
}

void TestChatLogic::chatrecievedSplitsLineAndColour_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");
    const QColor red(255, 0, 0);
    QTest::newRow("chat") << "3+Ann chats: hi|clNavy"
                          << "3+Ann chats: hi" << navy;
    QTest::newRow("action in hex") << "3+Ann waves|$00563412"
                                   << "3+Ann waves" << QColor(0x12, 0x34, 0x56);
    QTest::newRow("no colour") << "3+Ann chats: hi"
                               << "3+Ann chats: hi" << red;
    QTest::newRow("unreadable colour") << "3+Ann chats: hi|blue-ish"
                                       << "3+Ann chats: hi" << red;
    QTest::newRow("empty colour") << "3+Ann chats: hi|"
                                  << "3+Ann chats: hi" << red;
    QTest::newRow("typed bar cuts the line") << "3+Ann chats: a|b|clGreen"
                                             << "3+Ann chats: a" << red;
}

void TestChatLogic::chatrecievedSplitsLineAndColour()
{
    QFETCH(QString, data);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    const auto received = ChatCommands::chatrecieved(data);
    QCOMPARE(received.line, line);
    QCOMPARE(received.colour, colour);
}

void TestChatLogic::twoQuickPhraseClicksSendOneAction()
{
    QuickPhrases phrases;
    QVERIFY(phrases.phraseready());
    const auto first = phrases.b_phrase1Click(1, 4, navy);
    QVERIFY(first);
    QCOMPARE(first->text(), QStringLiteral("CMD_action+4+says: Way To Go!|clNavy"));
    QVERIFY(!phrases.phraseready());
    QVERIFY(!phrases.b_phrase1Click(2, 4, navy));
    QVERIFY(!phrases.b_phrase1Click(0, 4, navy));
}

void TestChatLogic::phraseRulesForMeAndEmptyPhrases_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("sent");
    QTest::newRow("me with space") << "/me dances"
                                   << "CMD_action+5+dances|clBlack";
    QTest::newRow("me without space") << "/medances"
                                      << "CMD_action+5+says: /medances|clBlack";
    QTest::newRow("empty phrase") << ""
                                  << "CMD_action+5+says: |clBlack";
    QTest::newRow("terminator byte") << "\u00FF!"
                                     << "CMD_action+5+says: ?!|clBlack";
}

void TestChatLogic::phraseRulesForMeAndEmptyPhrases()
{
    QFETCH(QString, phrase);
    QFETCH(QString, sent);
    QuickPhrases phrases;
    phrases.setPhrase(3, phrase);
    const auto message = phrases.b_phrase1Click(3, 5, Qt::black);
    QVERIFY(message);
    QCOMPARE(message->text(), sent);
}

void TestChatLogic::throttleReleasesAfter101Ticks()
{
    QuickPhrases phrases;
    phrases.tick();
    QCOMPARE(phrases.phraseticks(), 0);
    QVERIFY(phrases.b_phrase1Click(1, 1, Qt::black));
    for (int i = 0; i < 100; ++i)
        phrases.tick();
    QVERIFY(!phrases.phraseready());
    QVERIFY(!phrases.b_phrase1Click(1, 1, Qt::black));
    phrases.tick();
    QVERIFY(phrases.phraseready());
    QCOMPARE(phrases.phraseticks(), 0);
    QVERIFY(phrases.b_phrase1Click(1, 1, Qt::black));
}

void TestChatLogic::phrasesStartBuiltinAndStoredOnesReplaceThem()
{
    QuickPhrases phrases;
    const QStringList builtin {"Way To Go!", "Good One!", "Nice Try!", "Excellent!", "Brilliant!",
        "Wow, WTG!", "Thanks!", "Way To Go Teamie!", "Good Game Everyone!"};
    for (int k = 1; k <= 9; ++k)
        QCOMPARE(phrases.phrase(k), builtin.at(k - 1));
    QCOMPARE(QuickPhrases::settingsKey(9), QStringLiteral("Phrase9"));
    phrases.loadPhrase(2, QString());
    QCOMPARE(phrases.phrase(2), QStringLiteral("Good One!"));
    phrases.loadPhrase(2, QStringLiteral("Nice!"));
    QCOMPARE(phrases.phrase(2), QStringLiteral("Nice!"));
    phrases.setPhrase(4, QString(80, QLatin1Char('x')));
    QCOMPARE(phrases.phrase(4).size(), 50);
    phrases.setPhrase(10, QStringLiteral("ignored"));
    QVERIFY(phrases.phrase(10).isEmpty());
}

void TestChatLogic::gameSoundsFollowPlaySounds()
{
    RecordingSoundPlayer player;
    GameSounds sounds(&player);
    QVERIFY(sounds.playSounds());
    QVERIFY(!sounds.playChatterSounds());
    sounds.playsounds(QStringLiteral("tick"));
    sounds.setPlaySounds(false);
    sounds.playsounds(QStringLiteral("click"));
    QCOMPARE(player.played, QStringList {QStringLiteral("tick")});
    // Chatter sounds follow their own switch.
    sounds.setPlayChatterSounds(true);
    QVERIFY(!sounds.playasound(QStringLiteral("3+wave7+"), {}));
    QCOMPARE(player.played.last(), QStringLiteral("wave7"));
}

void TestChatLogic::turnSoundFollowsTheChoice()
{
    RecordingSoundPlayer player;
    GameSounds sounds(&player);
    QCOMPARE(sounds.turnSound(), GameSounds::Classic);
    sounds.playTurnSound();
    sounds.setTurnSound(GameSounds::New);
    sounds.playTurnSound();
    QCOMPARE(player.played, (QStringList {QStringLiteral("turn"), QStringLiteral("turnnew")}));
}

void TestChatLogic::switchesReadTheirSettings_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("turn");
    QTest::newRow("false") << "false" << false << 0;
    QTest::newRow("true") << "true" << true << 0;
    QTest::newRow("empty") << "" << true << 0;
    QTest::newRow("FALSE is not false") << "FALSE" << true << 0;
    QTest::newRow("one") << "1" << true << 1;
    QTest::newRow("two") << "2" << true << 0;
}

void TestChatLogic::switchesReadTheirSettings()
{
    QFETCH(QString, value);
    QFETCH(bool, on);
    QFETCH(int, turn);
    QCOMPARE(GameSounds::switchFromSetting(value), on);
    QCOMPARE(int(GameSounds::turnSoundFromSetting(value)), turn);
    QCOMPARE(GameSounds::switchFromSetting(GameSounds::settingFromSwitch(on)), on);
    QCOMPARE(GameSounds::turnSoundFromSetting(GameSounds::settingFromTurnSound(GameSounds::TurnSound(turn))),
        GameSounds::TurnSound(turn));
    QCOMPARE(QString::fromLatin1(GameSounds::playSoundsKey), QStringLiteral("Playsounds"));
    QCOMPARE(QString::fromLatin1(GameSounds::chatterSoundsKey), QStringLiteral("ChatterSounds"));
    QCOMPARE(QString::fromLatin1(GameSounds::turnSoundKey), QStringLiteral("Turnsound"));
}

void TestChatLogic::chatterSoundPlaysOrShowsASystemLine_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("chatterOn");
    QTest::addColumn<bool>("audioOutput");
    QTest::addColumn<QString>("played");
    QTest::addColumn<QString>("line");

    const QString doh = QStringLiteral("0+Ann: <Chatter Sound> Doh");
    QTest::newRow("on plays") << "3+wave1+" << true << true << "wave1" << QString();
    QTest::newRow("on plays unknown names too") << "3+place+" << true << true << "place" << QString();
    QTest::newRow("on, no audio output: shown as when off") << "3+wave1+" << true << false << "" << doh;
    QTest::newRow("off shows sender and caption") << "3+wave1+" << false << true << "" << doh;
    QTest::newRow("off, capital name") << "3+WAVE20+" << false << true << ""
                                       << "0+Ann: <Chatter Sound> Crying";
    QTest::newRow("off, slot without roster row") << "12+wave1+" << false << true << "" << QString();
    QTest::newRow("off, unknown sound") << "3+wave21+" << false << true << "" << QString();
    QTest::newRow("off, bad slot") << "x+wave1+" << false << true << "" << QString();
    QTest::newRow("off, no fields") << "garbage" << false << true << "" << QString();
    QTest::newRow("on, no fields") << "garbage" << true << true << "" << QString();
}

void TestChatLogic::chatterSoundPlaysOrShowsASystemLine()
{
    QFETCH(QString, data);
    QFETCH(bool, chatterOn);
    QFETCH(bool, audioOutput);
    QFETCH(QString, played);
    QFETCH(QString, line);

    RecordingSoundPlayer player;
    player.hasOutput = audioOutput;
    GameSounds sounds(&player);
    sounds.setPlaySounds(false);
    sounds.setPlayChatterSounds(chatterOn);
    const auto shown = sounds.playasound(data, [](int slot) -> std::optional<QString> {
        if (slot == 3)
            return QStringLiteral("Ann");
        return std::nullopt;
    });
    QCOMPARE(player.played.join(QLatin1Char(',')), played);
    QCOMPARE(shown.value_or(QString()), line);
}

void TestChatLogic::chatterMenuSendsOnlyForConnectedPlayers_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("sent");
    QTest::newRow("doh") << 1 << 3 << true << "CMD_playasound+3+wave1+";
    QTest::newRow("crying from slot 10") << 20 << 10 << true << "CMD_playasound+10+wave20+";
    QTest::newRow("cancel") << 0 << 3 << true << "";
    QTest::newRow("watcher") << 7 << 11 << true << "";
    QTest::newRow("not connected") << 7 << 3 << false << "";
    QTest::newRow("tag past the menu") << 21 << 3 << true << "";
}

void TestChatLogic::chatterMenuSendsOnlyForConnectedPlayers()
{
    QFETCH(int, tag);
    QFETCH(int, slot);
    QFETCH(bool, connected);
    QFETCH(QString, sent);
    const auto message = ChatterSounds::wave14Click(tag, slot, connected);
    QCOMPARE(message ? message->text() : QString(), sent);
}

void TestChatLogic::chatterCaptionsMatchTheirSounds()
{
    const QStringList captions {"<Cancel>", "Doh", "Cough", "Hello", "Thank You", "Where have you been?",
        "Snoring", "Sneezing", "Sorry", "Welcome", "Yeehaa", "Yippee", "Oh No", "Applause", "Honk", "Oooh",
        "Razzberry", "Cheer", "Woman Laughing", "Man Laughing", "Crying"};
    for (int tag = 0; tag <= 20; ++tag)
        QCOMPARE(ChatterSounds::caption(tag), captions.at(tag));
    QVERIFY(ChatterSounds::caption(21).isEmpty());
    QCOMPARE(
        ChatterSounds::captionOfSound(QStringLiteral("wave14")).value_or(QString()), QStringLiteral("Honk"));
    QVERIFY(!ChatterSounds::captionOfSound(QStringLiteral("wave0")));
    QVERIFY(!ChatterSounds::captionOfSound(QStringLiteral("wave07")));
    QVERIFY(!ChatterSounds::captionOfSound(QStringLiteral("wave")));
    QVERIFY(!ChatterSounds::captionOfSound(QStringLiteral("tick")));
    QCOMPARE(GameSounds::builtinSounds().size(), 32);
}

QTEST_GUILESS_MAIN(TestChatLogic)
void TestChatLogic::eachEventIsToldInOneSentence_data()
{
    using Event = std::function<void(Announcer &)>;
    QTest::addColumn<Event>("event");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("found first") << Event([](Announcer &a) { a.wordAccepted("ravine", 4, true); })
                                 << "RAVINE, 4 points, first";
    QTest::newRow("found later") << Event([](Announcer &a) { a.wordAccepted("CAT", 1, false); })
                                 << "CAT, 1 point";
    QTest::newRow("refused") << Event([](Announcer &a) { a.wordRefused("xyz", "Invalid Word."); })
                             << "XYZ refused: Invalid Word.";
    QTest::newRow("tile refused") << Event([](Announcer &a) { a.wordRefused({}, "Invalid Selection"); })
                                  << "Invalid Selection";
    QTest::newRow("round starts") << Event([](Announcer &a) { a.roundStarted(true, 90); })
                                  << "Round starts, 1:30 to play. Type or walk the board.";
    QTest::newRow("round starts, watching")
        << Event([](Announcer &a) { a.roundStarted(false, 45); }) << "Round starts, 0:45. You are watching.";
    QTest::newRow("round ends") << Event([](Announcer &a) { a.roundEnded(); }) << "Round over.";
    QTest::newRow("winner") << Event([](Announcer &a) { a.gameWon("Ann has Won the Game!"); })
                            << "Ann has Won the Game!";
    QTest::newRow("chat without smilies")
        << Event([](Announcer &a) { a.chatLine("3+Ann chats: hi :)#12 see  you"); })
        << "Ann chats: hi see you";
    QTest::newRow("chat with control characters")
        << Event([](Announcer &a) { a.chatLine(QStringLiteral("3+Ann chats: a\u0007b\u001b[2Jc")); })
        << "Ann chats: a b [2Jc";
    QTest::newRow("a line the chat would not show")
        << Event([](Announcer &a) { a.chatLine("x+Ann chats: hi"); }) << "";
    QTest::newRow("a very long chat line is cut")
        << Event([](Announcer &a) { a.chatLine("1+" + QString(500, u'w')); })
        << QString(Announcer::maxChatChars - 1, u'w') + QChar(0x2026);
}

void TestChatLogic::eachEventIsToldInOneSentence()
{
    QFETCH(std::function<void(Announcer &)>, event);
    QFETCH(QString, sentence);
    Announcer announcer;
    QSignalSpy told(&announcer, &Announcer::announced);
    event(announcer);
    QCOMPARE(told.count(), sentence.isEmpty() ? 0 : 1);
    QCOMPARE(announcer.last(), sentence);
}

void TestChatLogic::sentencesAreSpokenOnlyWhenAskedFor()
{
    RecordingSpeaker speaker;
    qint64 now = 0;
    Announcer announcer([&now] { return now; });
    announcer.setSpeaker(&speaker);
    QVERIFY(!announcer.speaks());
    announcer.roundEnded();
    QVERIFY(speaker.said.isEmpty());
    announcer.setSpeaks(true);
    now += 5000;
    announcer.roundEnded();
    announcer.chatLine("3+Ann chats: gg");
    QCOMPARE(speaker.said, (QStringList {"Round over.", "Ann chats: gg"}));
    // The chat waits for the news rather than cutting it off.
    QCOMPARE(speaker.kinds, (QList<Speaker::Kind> {Speaker::Kind::News, Speaker::Kind::Chat}));
}

void TestChatLogic::aSentenceRepeatedWithinASecondIsToldOnce_data()
{
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<QStringList>("told");
    const QString a = QStringLiteral("Invalid Selection");
    const QString b = QStringLiteral("Round over.");
    QTest::newRow("again within a second") << QList<int> {0, 500} << QStringList {a, a} << QStringList {a};
    QTest::newRow("again after a second") << QList<int> {0, 1200} << QStringList {a, a} << QStringList {a, a};
    QTest::newRow("another between") << QList<int> {0, 100, 200} << QStringList {a, b, a}
                                     << QStringList {a, b, a};
    QTest::newRow("a steady repeat stays quiet")
        << QList<int> {0, 800, 1600, 2400} << QStringList {a, a, a, a} << QStringList {a};
}

void TestChatLogic::aSentenceRepeatedWithinASecondIsToldOnce()
{
    QFETCH(QList<int>, times);
    QFETCH(QStringList, sentences);
    QFETCH(QStringList, told);
    qint64 now = 0;
    Announcer announcer([&now] { return now; });
    QStringList heard;
    connect(&announcer, &Announcer::announced, this, [&heard](const QString &s) { heard.append(s); });
    for (qsizetype k = 0; k < times.size(); ++k) {
        now = times.at(k);
        announcer.gameWon(sentences.at(k));
    }
    QCOMPARE(heard, told);
}

#include "tst_chatlogic.moc"
