// Installs the build into a staging folder (cmake --install --prefix), checks what was
// installed with the desktop's own validators, and starts the installed game from there.
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString appId = QStringLiteral(WENDLEWICK_APP_ID);

// Every file below `folder`, as paths relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Runs a program to its end; its exit code, with its output in `output`.
int run(const QString &program, const QStringList &arguments, QString &output,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(120000))
        return -1;
    output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyPartIsInstalled_data();
    void everyPartIsInstalled();
    void theDesktopFilesPassTheirValidators_data();
    void theDesktopFilesPassTheirValidators();
    void theServiceUnitStartsTheInstalledHost();
    void theInstalledGameFindsItsDataAndWritesNothingBesideItself();

private:
    QString prefixPath(const QString &relative) const { return QDir(prefix_).filePath(relative); }

    QTemporaryDir stage_;
    QString prefix_;
};

void TestInstall::initTestCase()
{
    QVERIFY(stage_.isValid());
    prefix_ = stage_.filePath(QStringLiteral("usr"));
    QString output;
    QCOMPARE(run(QStringLiteral(CMAKE_COMMAND),
                 {QStringLiteral("--install"), QStringLiteral(WENDLEWICK_BINARY_DIR),
                     QStringLiteral("--prefix"), prefix_},
                 output),
        0);
}

void TestInstall::everyPartIsInstalled_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("game") << "bin/wendlewick";
    QTest::newRow("lobby") << "bin/wendlewick-lobby";
    QTest::newRow("host") << "bin/wendlewick-host";
    for (const char *group : {"wood", "stone", "highcontrast"})
        QTest::newRow(group) << QStringLiteral("share/wendlewick/tiles/%1.bmp").arg(QLatin1String(group));
    QTest::newRow("menu entry") << QStringLiteral("share/applications/%1.desktop").arg(appId);
    QTest::newRow("metainfo") << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512})
        QTest::addRow("icon %d", size)
            << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId);
    QTest::newRow("scalable icon") << QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId);
    QTest::newRow("game's manual") << "share/man/man6/wendlewick.6.gz";
    QTest::newRow("lobby's manual") << "share/man/man6/wendlewick-lobby.6.gz";
    QTest::newRow("host's manual") << "share/man/man6/wendlewick-host.6.gz";
    QTest::newRow("service") << "lib/systemd/system/wendlewick-host@.service";
    QTest::newRow("copyright") << "share/doc/wendlewick/copyright";
}

void TestInstall::everyPartIsInstalled()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo(prefixPath(path)).isFile(), qPrintable(path));
}

void TestInstall::theDesktopFilesPassTheirValidators_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("menu entry") << "desktop-file-validate"
                                << QStringList {QStringLiteral("share/applications/%1.desktop").arg(appId)};
    QTest::newRow("metainfo") << "appstreamcli"
                              << QStringList {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                     QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId)};
}

void TestInstall::theDesktopFilesPassTheirValidators()
{
    QFETCH(QString, validator);
    QFETCH(QStringList, arguments);
    const QString program = QStandardPaths::findExecutable(validator);
    if (program.isEmpty())
        QSKIP(qPrintable(validator + QStringLiteral(" is not installed (scripts/install-deps.sh test)")));
    arguments.last() = prefixPath(arguments.last());
    QString output;
    QVERIFY2(run(program, arguments, output) == 0, qPrintable(output));
}

void TestInstall::theServiceUnitStartsTheInstalledHost()
{
    QFile unit(prefixPath(QStringLiteral("lib/systemd/system/wendlewick-host@.service")));
    QVERIFY(unit.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(unit.readAll());
    QVERIFY2(text.contains(QStringLiteral("\nExecStart=") + prefixPath(QStringLiteral("bin/wendlewick-host"))
                 + QStringLiteral(" --port %i ")),
        qPrintable(text));

    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty())
        QSKIP("systemd-analyze is not installed: the unit is not verified");
    // A template is verified through one of its instances.
    QTemporaryDir units;
    const QString instance = units.filePath(QStringLiteral("wendlewick-host@7772.service"));
    QVERIFY(QFile::copy(unit.fileName(), instance));
    QString output;
    QVERIFY2(run(analyze, {QStringLiteral("verify"), QStringLiteral("--man=no"), instance}, output) == 0,
        qPrintable(output));
}

void TestInstall::theInstalledGameFindsItsDataAndWritesNothingBesideItself()
{
    const QStringList installed = filesBelow(stage_.path());
    // A home of its own, and no system data folders: only the staging folder holds
    // the program's data.
    QTemporaryDir home;
    QVERIFY(home.isValid());
    for (const char *folder : {"cwd", "run", "config", "data", "none"})
        QVERIFY(QDir(home.path()).mkdir(QLatin1String(folder)));
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WENDLEWICK_DATA_DIR"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), home.filePath(QStringLiteral("none")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
        QStringLiteral("wendlewick.data.info=true\nwendlewick.startup.info=true"));

    QProcess game;
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(home.filePath(QStringLiteral("cwd")));
    game.setProcessChannelMode(QProcess::MergedChannels);
    // One argument takes no role: the window waits for a game and uses no network.
    game.start(prefixPath(QStringLiteral("bin/wendlewick")), {QStringLiteral("Tester")});
    QVERIFY(game.waitForStarted());
    QString said;
    QTRY_VERIFY2_WITH_TIMEOUT(
        (said += QString::fromUtf8(game.readAll())).contains(QStringLiteral("main window shown")),
        qPrintable(said), 60000);

    const QString userFolder = home.filePath(QStringLiteral("config/Wendlewick/Wendlewick"));
    const QString wordList = QDir(userFolder).filePath(QStringLiteral("English"));
    QVERIFY2(said.contains(QStringLiteral("installed: yes")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("settings and tally in ") + userFolder), qPrintable(said));
    QVERIFY2(QRegularExpression(QStringLiteral("word list ") + QRegularExpression::escape(wordList)
                 + QStringLiteral(" with [1-9]\\d+ words"))
                 .match(said)
                 .hasMatch(),
        qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("tile groups highcontrast, stone, wood from ")
                 + prefixPath(QStringLiteral("share/wendlewick/tiles"))),
        qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("built-in sounds 32 of 32")), qPrintable(said));
    QVERIFY(QFile::exists(wordList));

    // Asked to stop, it closes as the player would and takes its word list away.
    game.terminate();
    QVERIFY(game.waitForFinished(30000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
    QVERIFY(!QFile::exists(wordList));
    QCOMPARE(filesBelow(home.filePath(QStringLiteral("cwd"))), QStringList());
    QCOMPARE(filesBelow(stage_.path()), installed);
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
