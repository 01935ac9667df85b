#include "colortext.h"
#include "profilefile.h"
#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

SettingsValues changedEverywhere()
{
    SettingsValues v;
    v.window = QRect(40, 50, 900, 640);
    v.wordsListTop = 300;
    v.wordsListLeft = 610;
    v.textSize = 14;
    v.textColor = QColor(18, 52, 86);
    v.playToScore = 500;
    v.timePerTurn = 95;
    v.boardSize = 11;
    v.minLetters = 6;
    v.timeBetweenRounds = 60;
    v.turnSound = 1;
    v.clickLetters = 0;
    v.disableTyping = 0;
    v.playSounds = false;
    v.chatterSounds = false;
    v.tiles = QStringLiteral("wood");
    return v;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void sectionsAndKeysMatchWithoutRegardToCase_data();
    void sectionsAndKeysMatchWithoutRegardToCase();
    void valuesAreTrimmedOfBlanksAndQuotes_data();
    void valuesAreTrimmedOfBlanksAndQuotes();
    void writingOneKeyLeavesEveryOtherLineAsItWas();
    void missingSectionAndKeyAreAddedWhereTheyBelong_data();
    void missingSectionAndKeyAreAddedWhereTheyBelong();
    void writeReplacesTheFileInOneStep();
    void writeIntoAMissingFolderFailsWithoutAFile();
    void lineBreaksInAValueCannotStartANewKey();
    void oversizedFileIsNeitherReadNorRewritten();

    void colourTextRoundTrips_data();
    void colourTextRoundTrips();
    void colourTextReading_data();
    void colourTextReading();

    void firstRunGivesTheDefaults();
    void everyKeyRoundTrips();
    void theSpeechChoiceIsStoredOnlyOnceMade();
    void savingLeavesOtherSectionsUntouched();
    void storedValuesAreReadWithoutRegardToCase();
    void badValuesGiveTheDefaults_data();
    void badValuesGiveTheDefaults();
    void timeBetweenRoundsChoices_data();
    void timeBetweenRoundsChoices();
    void storedSettingsAreNeverOverwrittenBeforeTheyWereRead();
    void unreadableFileIsNeverOverwritten();
    void phrasesAreStoredApartAndOnlyNonEmptyOnesReplaceTheBuiltIns();
    void tileGroupNamesThatLoadNothing_data();
    void tileGroupNamesThatLoadNothing();

private:
    QTemporaryDir dir_;
    QString path_;
};

void TestSettings::init()
{
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("orinlobby.ini"));
    QFile::remove(path_);
}

void TestSettings::sectionsAndKeysMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("as written") << "Wendlewick"
                                << "Textsize";
    QTest::newRow("lower case") << "wendlewick"
                                << "textsize";
    QTest::newRow("upper case") << "WENDLEWICK"
                                << "TEXTSIZE";
}

void TestSettings::sectionsAndKeysMatchWithoutRegardToCase()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    writeAll(path_, "[Other]\nTextsize=1\n[wendleWICK]\ntextSize=12\n");
    ProfileFile file(path_);
    QCOMPARE(file.readString(section, key, QStringLiteral("none")), QStringLiteral("12"));

    QVERIFY(file.writeString(section, key, QStringLiteral("14")));
    QCOMPARE(readAll(path_), QByteArray("[Other]\nTextsize=1\n[wendleWICK]\ntextSize=14\n"));
}

void TestSettings::valuesAreTrimmedOfBlanksAndQuotes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks") << QByteArray("  Tiles  =  wood  ") << "wood";
    QTest::newRow("double quotes") << QByteArray("Tiles=\" wood \"") << " wood ";
    QTest::newRow("single quotes") << QByteArray("Tiles='wood'") << "wood";
    QTest::newRow("unmatched quote") << QByteArray("Tiles=\"wood") << "\"wood";
    QTest::newRow("equals in value") << QByteArray("Tiles=a=b") << "a=b";
    QTest::newRow("empty") << QByteArray("Tiles=") << "";
    QTest::newRow("utf-8") << QByteArray("Tiles=caf\xC3\xA9") << QStringLiteral("caf\u00E9");
    QTest::newRow("latin-1") << QByteArray("Tiles=caf\xE9") << QStringLiteral("caf\u00E9");
}

void TestSettings::valuesAreTrimmedOfBlanksAndQuotes()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    writeAll(path_, "\xEF\xBB\xBF[Wendlewick]\r\n" + line + "\r\n");
    QCOMPARE(ProfileFile(path_).readString(
                 QStringLiteral("Wendlewick"), QStringLiteral("Tiles"), QStringLiteral("x")),
        value);
}

void TestSettings::writingOneKeyLeavesEveryOtherLineAsItWas()
{
    const QByteArray before = "; the lobby's own settings\r\n"
                              "[Lobby]\r\n"
                              "Top=77\r\n"
                              "\r\n"
                              "[Wendlewick]\r\n"
                              "Top=10\r\n"
                              "  Left = 20  \r\n"
                              "junk line without equals\r\n"
                              "[Another]\r\n"
                              "Left=5\r\n";
    writeAll(path_, before);
    QVERIFY(ProfileFile(path_).writeString(
        QStringLiteral("Wendlewick"), QStringLiteral("Left"), QStringLiteral("33")));
    QByteArray expected = before;
    expected.replace("  Left = 20  ", "Left=33");
    QCOMPARE(readAll(path_), expected);
}

void TestSettings::missingSectionAndKeyAreAddedWhereTheyBelong_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no file") << QByteArray() << QByteArray("[Wendlewick]\nTiles=wood\n");
    QTest::newRow("other section, no final break")
        << QByteArray("[Lobby]\nName=Ann") << QByteArray("[Lobby]\nName=Ann\n[Wendlewick]\nTiles=wood\n");
    QTest::newRow("after the section's last entry, before blank lines")
        << QByteArray("[Wendlewick]\nTop=3\n\n[Lobby]\nName=Ann\n")
        << QByteArray("[Wendlewick]\nTop=3\nTiles=wood\n\n[Lobby]\nName=Ann\n");
    QTest::newRow("empty section at the end without a break")
        << QByteArray("[Wendlewick]") << QByteArray("[Wendlewick]\nTiles=wood");
    QTest::newRow("windows line breaks are kept") << QByteArray(
        "[Lobby]\r\nName=Ann\r\n") << QByteArray("[Lobby]\r\nName=Ann\r\n[Wendlewick]\r\nTiles=wood\r\n");
}

void TestSettings::missingSectionAndKeyAreAddedWhereTheyBelong()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeAll(path_, before);
    QVERIFY(ProfileFile(path_).writeString(
        QStringLiteral("Wendlewick"), QStringLiteral("Tiles"), QStringLiteral("wood")));
    QCOMPARE(readAll(path_), after);
}

void TestSettings::writeReplacesTheFileInOneStep()
{
    writeAll(path_, "[Wendlewick]\nTop=3\n");
    QFile old(path_);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QVERIFY(ProfileFile(path_).writeString(
        QStringLiteral("Wendlewick"), QStringLiteral("Top"), QStringLiteral("99")));
    // The old file was replaced by a rename, never rewritten in place: a reader that
    // had it open still sees the whole old contents.
    QCOMPARE(old.readAll(), QByteArray("[Wendlewick]\nTop=3\n"));
    QCOMPARE(readAll(path_), QByteArray("[Wendlewick]\nTop=99\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList {QStringLiteral("orinlobby.ini")});
}

void TestSettings::writeIntoAMissingFolderFailsWithoutAFile()
{
    const QString path = dir_.filePath(QStringLiteral("missing/orinlobby.ini"));
    QVERIFY(!ProfileFile(path).writeString(
        QStringLiteral("Wendlewick"), QStringLiteral("Top"), QStringLiteral("1")));
    QVERIFY(!QFile::exists(path));
}

void TestSettings::lineBreaksInAValueCannotStartANewKey()
{
    ProfileFile file(path_);
    QVERIFY(file.writeString(
        QStringLiteral("Wendlewick"), QStringLiteral("Phrase1"), QStringLiteral("hi\r\nTop=999")));
    QCOMPARE(file.readString(QStringLiteral("Wendlewick"), QStringLiteral("Phrase1")),
        QStringLiteral("hi  Top=999"));
    QCOMPARE(file.readString(QStringLiteral("Wendlewick"), QStringLiteral("Top"), QStringLiteral("none")),
        QStringLiteral("none"));
}

void TestSettings::oversizedFileIsNeitherReadNorRewritten()
{
    QByteArray big = "[Wendlewick]\nTop=5\n";
    big += QByteArray(ProfileFile::maxFileSize, ';');
    writeAll(path_, big);
    ProfileFile file(path_);
    QVERIFY(!file.isReadable());
    QCOMPARE(file.readString(QStringLiteral("Wendlewick"), QStringLiteral("Top"), QStringLiteral("none")),
        QStringLiteral("none"));
    QVERIFY(!file.writeString(QStringLiteral("Wendlewick"), QStringLiteral("Top"), QStringLiteral("1")));
    QCOMPARE(QFileInfo(path_).size(), big.size());
}

void TestSettings::colourTextRoundTrips_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << QColor(0, 0, 0) << "clBlack";
    QTest::newRow("maroon") << QColor(128, 0, 0) << "clMaroon";
    QTest::newRow("navy") << QColor(0, 0, 128) << "clNavy";
    QTest::newRow("silver") << QColor(192, 192, 192) << "clSilver";
    QTest::newRow("aqua") << QColor(0, 255, 255) << "clAqua";
    QTest::newRow("white") << QColor(255, 255, 255) << "clWhite";
    QTest::newRow("red in the low byte") << QColor(0x12, 0x34, 0x56) << "$00563412";
    QTest::newRow("near black is no name") << QColor(1, 0, 0) << "$00000001";
}

void TestSettings::colourTextRoundTrips()
{
    QFETCH(QColor, color);
    QFETCH(QString, text);
    QCOMPARE(ColorText::toText(color), text);
    QCOMPARE(ColorText::fromText(text), std::optional<QColor>(color));
}

void TestSettings::colourTextReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QColor>("color");
    QTest::newRow("any case") << "CLBLUE" << true << QColor(0, 0, 255);
    QTest::newRow("lower case") << "clblack" << true << QColor(0, 0, 0);
    QTest::newRow("another name") << "clSkyBlue" << true << QColor(0xA6, 0xCA, 0xF0);
    QTest::newRow("decimal") << "255" << true << QColor(255, 0, 0);
    QTest::newRow("short hex") << "$FF00" << true << QColor(0, 255, 0);
    QTest::newRow("0x hex") << "0xff0000" << true << QColor(0, 0, 255);
    QTest::newRow("garbage") << "blue-ish" << false << QColor();
    QTest::newRow("dollar alone") << "$" << false << QColor();
    QTest::newRow("empty") << "" << false << QColor();
}

void TestSettings::colourTextReading()
{
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(QColor, color);
    const auto read = ColorText::fromText(text);
    QCOMPARE(read.has_value(), readable);
    if (readable)
        QCOMPARE(*read, color);
}

void TestSettings::firstRunGivesTheDefaults()
{
    SettingsFile file(path_);
    const SettingsValues v = file.load(SettingsValues());
    QVERIFY(file.hasBeenRead());
    QCOMPARE(v.window, QRect(3, 3, 775, 590));
    QCOMPARE(v.textSize, 8);
    QCOMPARE(v.textColor, QColor(0, 0, 0));
    QCOMPARE(v.playToScore, 30);
    QCOMPARE(v.boardSize, 7);
    QCOMPARE(v.minLetters, 4);
    QCOMPARE(v.timePerTurn, 45); // the stored default 1, brought into the round-time box's range
    QCOMPARE(v.timeBetweenRounds, 10);
    QCOMPARE(v.turnSound, 0);
    QCOMPARE(v.clickLetters, 1);
    QCOMPARE(v.disableTyping, 1);
    QCOMPARE(v.wordsListTop, 98);
    QCOMPARE(v.wordsListLeft, 42);
    QVERIFY(v.playSounds);
    QVERIFY(v.chatterSounds);
    QCOMPARE(v.tiles, QString());
    QCOMPARE(v.phrases, SettingsValues::builtinPhrases);
    QVERIFY(!QFile::exists(path_));
}

void TestSettings::everyKeyRoundTrips()
{
    SettingsFile writer(path_);
    writer.load(SettingsValues());
    const SettingsValues stored = changedEverywhere();
    QVERIFY(writer.save(stored));

    SettingsFile reader(path_);
    QCOMPARE(reader.load(SettingsValues()), stored);

    const QByteArray text = readAll(path_);
    QVERIFY(text.startsWith(
        "[Wendlewick]\nTextsize=14\nTop=50\nLeft=40\nWidth=900\nHeight=640\n"
        "Textcolor=$00563412\nPlaytoscore=500\nTimeperturn=95\nBoardsize=11\nMinletters=6\n"
        "Timebetweenrounds=60\nWordslisttop=300\nWordslistleft=610\nTurnsound=1\n"
        "Clickletters=0\nDisabletyping=0\nTiles=wood\nPlaysounds=false\nChatterSounds=false\n"));
}

// Files of players who never switch speech on keep exactly their keys.
void TestSettings::theSpeechChoiceIsStoredOnlyOnceMade()
{
    SettingsFile file(path_);
    SettingsValues v = file.load(SettingsValues());
    QVERIFY(!v.speakAnnouncements);
    QVERIFY(file.save(v));
    QVERIFY(!readAll(path_).contains("Speakannouncements"));
    v.speakAnnouncements = true;
    QVERIFY(file.save(v));
    QVERIFY(SettingsFile(path_).load(SettingsValues()).speakAnnouncements);
    v.speakAnnouncements = false;
    QVERIFY(file.save(v));
    SettingsFile reader(path_);
    QVERIFY(!reader.load(SettingsValues()).speakAnnouncements);
    QVERIFY(readAll(path_).contains("Speakannouncements=false"));
}

void TestSettings::savingLeavesOtherSectionsUntouched()
{
    const QByteArray lobby = "[Lobby]\r\nTop=77\r\nName=Ann + Bob\r\n\r\n";
    const QByteArray after = "\r\n[Zeta]\r\nTextsize=99\r\n";
    writeAll(path_, lobby + "[Wendlewick]\r\nPhrase1=Hi all\r\n" + after);
    SettingsFile file(path_);
    file.load(SettingsValues());
    QVERIFY(file.save(changedEverywhere()));
    const QByteArray text = readAll(path_);
    QVERIFY(text.startsWith(QByteArray(lobby + "[Wendlewick]\r\nPhrase1=Hi all\r\nTextsize=14\r\n")));
    QVERIFY(text.endsWith(QByteArray("ChatterSounds=false\r\n" + after)));
}

void TestSettings::storedValuesAreReadWithoutRegardToCase()
{
    writeAll(path_, "[WENDLEWICK]\nTEXTSIZE=12\ntimebetweenrounds=5\nTEXTCOLOR=CLRED\nplaysounds=false\n");
    SettingsFile file(path_);
    const SettingsValues v = file.load(SettingsValues());
    QCOMPARE(v.textSize, 12);
    QCOMPARE(v.timeBetweenRounds, 5);
    QCOMPARE(v.textColor, QColor(255, 0, 0));
    QVERIFY(!v.playSounds);
    QVERIFY(file.save(v));
    QVERIFY(readAll(path_).startsWith(
        "[WENDLEWICK]\nTEXTSIZE=12\ntimebetweenrounds=5\nTEXTCOLOR=clRed\nplaysounds=false\nTop=3\n"));
}

void TestSettings::badValuesGiveTheDefaults_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("Textsize not a number") << QByteArray("Textsize=big") << "textSize" << 8;
    QTest::newRow("Textsize zero") << QByteArray("Textsize=0") << "textSize" << 8;
    QTest::newRow("Textsize huge") << QByteArray("Textsize=5000") << "textSize" << 8;
    QTest::newRow("Textsize 9 kept") << QByteArray("Textsize=9") << "textSize" << 9;
    QTest::newRow("Textsize hex") << QByteArray("Textsize=$C") << "textSize" << 12;
    QTest::newRow("Top not a number") << QByteArray("Top=up") << "top" << 3;
    QTest::newRow("Top beyond any int") << QByteArray("Top=99999999999") << "top" << 3;
    QTest::newRow("Top negative kept") << QByteArray("Top=-20") << "top" << -20;
    QTest::newRow("Width empty") << QByteArray("Width=") << "width" << 775;
    QTest::newRow("Width negative") << QByteArray("Width=-5") << "width" << 775;
    QTest::newRow("Height huge") << QByteArray("Height=100000") << "height" << 590;
    QTest::newRow("Wordslisttop not a number") << QByteArray("Wordslisttop=x") << "wordsListTop" << 98;
    QTest::newRow("Wordslistleft not a number") << QByteArray("Wordslistleft=1.5") << "wordsListLeft" << 42;
    QTest::newRow("Wordslistleft past any desktop")
        << QByteArray("Wordslistleft=2147483647") << "wordsListLeft" << 42;
    QTest::newRow("Wordslisttop past any desktop")
        << QByteArray("Wordslisttop=-2000000") << "wordsListTop" << 98;
    QTest::newRow("Wordslisttop negative kept") << QByteArray("Wordslisttop=-20") << "wordsListTop" << -20;
    QTest::newRow("Playtoscore not a number keeps the box")
        << QByteArray("Playtoscore=lots") << "playToScore" << 100;
    QTest::newRow("Playtoscore above the box") << QByteArray("Playtoscore=20000") << "playToScore" << 10000;
    QTest::newRow("Playtoscore below the box") << QByteArray("Playtoscore=-3") << "playToScore" << 0;
    QTest::newRow("Timeperturn not a number keeps the box")
        << QByteArray("Timeperturn=?") << "timePerTurn" << 60;
    QTest::newRow("Timeperturn above the box") << QByteArray("Timeperturn=900") << "timePerTurn" << 180;
    QTest::newRow("Boardsize naming no option: Random") << QByteArray("Boardsize=12") << "boardSize" << 8;
    QTest::newRow("Boardsize with a leading zero") << QByteArray("Boardsize=07") << "boardSize" << 8;
    QTest::newRow("Boardsize 9 kept") << QByteArray("Boardsize=9") << "boardSize" << 9;
    QTest::newRow("Minletters naming no option: 3") << QByteArray("Minletters=8") << "minLetters" << 3;
    QTest::newRow("Minletters 7 kept") << QByteArray("Minletters=7") << "minLetters" << 7;
    QTest::newRow("Turnsound other than 1") << QByteArray("Turnsound=yes") << "turnSound" << 0;
    QTest::newRow("Clickletters 0 marks") << QByteArray("Clickletters=0") << "clickLetters" << 0;
    QTest::newRow("Clickletters other marks") << QByteArray("Clickletters=x") << "clickLetters" << 0;
    QTest::newRow("Clickletters 1 leaves unmarked") << QByteArray("Clickletters=1") << "clickLetters" << 1;
    QTest::newRow("Disabletyping other marks") << QByteArray("Disabletyping=2") << "disableTyping" << 0;
    QTest::newRow("Textcolor unreadable is black") << QByteArray("Textcolor=clPink") << "textColor" << 0;
    QTest::newRow("Playsounds other than false") << QByteArray("Playsounds=FALSE") << "playSounds" << 1;
    QTest::newRow("ChatterSounds false") << QByteArray("ChatterSounds=false") << "chatterSounds" << 0;
}

void TestSettings::badValuesGiveTheDefaults()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(int, expected);
    writeAll(path_, "[Wendlewick]\n; one bad value\n" + line + "\n");
    const SettingsValues v = SettingsFile(path_).load(SettingsValues());
    const std::map<QString, int> fields {
        {QStringLiteral("textSize"), v.textSize},
        {QStringLiteral("top"), v.window.top()},
        {QStringLiteral("width"), v.window.width()},
        {QStringLiteral("height"), v.window.height()},
        {QStringLiteral("wordsListTop"), v.wordsListTop},
        {QStringLiteral("wordsListLeft"), v.wordsListLeft},
        {QStringLiteral("playToScore"), v.playToScore},
        {QStringLiteral("timePerTurn"), v.timePerTurn},
        {QStringLiteral("boardSize"), v.boardSize},
        {QStringLiteral("minLetters"), v.minLetters},
        {QStringLiteral("turnSound"), v.turnSound},
        {QStringLiteral("clickLetters"), v.clickLetters},
        {QStringLiteral("disableTyping"), v.disableTyping},
        {QStringLiteral("textColor"), int(v.textColor.rgb() & 0xFFFFFF)},
        {QStringLiteral("playSounds"), int(v.playSounds)},
        {QStringLiteral("chatterSounds"), int(v.chatterSounds)},
    };
    QVERIFY(fields.count(field));
    QCOMPARE(fields.at(field), expected);
}

void TestSettings::timeBetweenRoundsChoices_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("seconds");
    QTest::newRow("60 Extra Long") << QByteArray("60") << 60;
    QTest::newRow("15 Long") << QByteArray("15") << 15;
    QTest::newRow("5 Quick") << QByteArray("5") << 5;
    QTest::newRow("10 Normal") << QByteArray("10") << 10;
    QTest::newRow("30 Normal") << QByteArray("30") << 10;
    QTest::newRow("text Normal") << QByteArray("slow") << 10;
}

void TestSettings::timeBetweenRoundsChoices()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, seconds);
    writeAll(path_, "[Wendlewick]\nTimebetweenrounds=" + stored + "\n");
    QCOMPARE(SettingsFile(path_).load(SettingsValues()).timeBetweenRounds, seconds);
}

void TestSettings::storedSettingsAreNeverOverwrittenBeforeTheyWereRead()
{
    const QByteArray stored = "[Wendlewick]\nTextsize=14\nTop=200\n";
    writeAll(path_, stored);
    SettingsFile file(path_);
    QVERIFY(!file.hasBeenRead());
    QVERIFY(!file.save(SettingsValues()));
    QCOMPARE(readAll(path_), stored);

    const SettingsValues v = file.load(SettingsValues());
    QVERIFY(file.save(v));
    QVERIFY(readAll(path_).startsWith(stored));
}

void TestSettings::unreadableFileIsNeverOverwritten()
{
    QByteArray big = "[Wendlewick]\nTextsize=14\n";
    big += QByteArray(ProfileFile::maxFileSize, '\n');
    writeAll(path_, big);
    SettingsFile file(path_);
    SettingsValues before;
    before.textSize = 12;
    QCOMPARE(file.load(before), before);
    QVERIFY(!file.hasBeenRead());
    QVERIFY(!file.save(before));
    QCOMPARE(QFileInfo(path_).size(), big.size());
}

void TestSettings::phrasesAreStoredApartAndOnlyNonEmptyOnesReplaceTheBuiltIns()
{
    writeAll(path_, "[Wendlewick]\nPhrase2=\nPhrase3=/me dances\nPhrase9=" + QByteArray(80, 'x') + "\n");
    SettingsFile file(path_);
    SettingsValues v = file.load(SettingsValues());
    QCOMPARE(v.phrases[1], QStringLiteral("Good One!"));
    QCOMPARE(v.phrases[2], QStringLiteral("/me dances"));
    QCOMPARE(v.phrases[8], QString(50, u'x'));

    QVERIFY(file.save(v));
    QVERIFY(!readAll(path_).contains("Way To Go!"));
    v.phrases[0] = QStringLiteral("Hello there");
    QVERIFY(file.savePhrases(v));
    QCOMPARE(SettingsFile(path_).load(SettingsValues()).phrases[0], QStringLiteral("Hello there"));
}

void TestSettings::tileGroupNamesThatLoadNothing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("load");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("classic") << "classic"
                             << "";
    QTest::newRow("Classic") << "Classic"
                             << "";
    QTest::newRow("CLASSIC") << "CLASSIC"
                             << "";
    QTest::newRow("a path") << "../../etc/passwd"
                            << "";
    QTest::newRow("hidden") << ".wood"
                            << "";
    QTest::newRow("wood") << "wood"
                          << "wood";
}

void TestSettings::tileGroupNamesThatLoadNothing()
{
    QFETCH(QString, stored);
    QFETCH(QString, load);
    QCOMPARE(SettingsFile::tileGroupToLoad(stored), load);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
