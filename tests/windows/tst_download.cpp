#include "fakeshell.h"
#include "httptestserver.h"
#include "tdownload.h"
#include "weblinks.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Records every request; one for another machine goes to a closed loopback port
// instead, so that nothing a test asks for leaves this machine.
class RecordingNetwork : public QNetworkAccessManager
{
public:
    QList<QUrl> requested;

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override
    {
        requested << request.url();
        QNetworkRequest kept(request);
        if (!QHostAddress(request.url().host()).isLoopback())
            kept.setUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
        return QNetworkAccessManager::createRequest(op, kept, data);
    }
};

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void finishedDownloadIsWrittenAndItsInstallerStarted_data();
    void finishedDownloadIsWrittenAndItsInstallerStarted();
    void requestCarriesTheAgentAndAcceptHeaders();
    void stoppingDuringTransferNeverStartsTheInstaller();
    void httpErrorAbortsWithoutWritingTheInstaller_data();
    void httpErrorAbortsWithoutWritingTheInstaller();
    void installerThatCannotStartLeavesTheProgramRunning();
    void unreachableServerIsReportedAndTheButtonsReset();
    void oversizedInstallerIsRefused_data();
    void oversizedInstallerIsRefused();
    void playWithOthers_data();
    void playWithOthers();
    void playSoloGameOnlyClosesTheWindow();

private:
    QString text(const char *label) const { return window_->findChild<QLabel *>(label)->text(); }
    QPushButton *button(const char *name) const { return window_->findChild<QPushButton *>(name); }
    QString messageText() const
    {
        const auto boxes = window_->findChildren<QMessageBox *>();
        return boxes.isEmpty() ? QString() : boxes.constLast()->text();
    }
    void serve(const QString &path);
    QString downloaded(const QString &name) const { return QDir(dataDir_->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> dataDir_;
    std::unique_ptr<HttpTestServer> server_;
    FakeShell shell_;
    RecordingNetwork network_;
    std::unique_ptr<Tdownload> window_;
};

void TestDownload::init()
{
    dataDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dataDir_->isValid());
    qputenv("WENDLEWICK_DATA_DIR", dataDir_->path().toUtf8());
    qunsetenv("WENDLEWICK_LOBBY_PATH");
    server_ = std::make_unique<HttpTestServer>();
    QVERIFY(server_->start());
    shell_ = FakeShell();
    network_.requested.clear();
    window_ = std::make_unique<Tdownload>(nullptr, &shell_, &network_);
}

void TestDownload::cleanup()
{
    window_.reset();
    server_.reset();
    dataDir_.reset();
    qunsetenv("WENDLEWICK_DOWNLOAD_URL");
    qunsetenv("WENDLEWICK_DATA_DIR");
    qunsetenv("WENDLEWICK_LOBBY_PATH");
}

void TestDownload::serve(const QString &path)
{
    qputenv("WENDLEWICK_DOWNLOAD_URL", server_->url(path).toString().toUtf8());
}

void TestDownload::finishedDownloadIsWrittenAndItsInstallerStarted_data()
{
    QTest::addColumn<bool>("sendLength");
    QTest::addColumn<int>("maximumWhileRunning");
    QTest::newRow("size announced") << true << 100000;
    QTest::newRow("size unknown, busy bar") << false << 0;
}

void TestDownload::finishedDownloadIsWrittenAndItsInstallerStarted()
{
    QFETCH(bool, sendLength);
    QFETCH(int, maximumWhileRunning);
    QByteArray body(100000, '\0');
    for (qsizetype i = 0; i < body.size(); ++i)
        body[i] = char(i * 7 % 251);
    server_->body = body;
    server_->sendLength = sendLength;
    server_->sendAtOnce = 0;
    serve(QStringLiteral("/files/lobbysetup.exe"));
    QSignalSpy exits(window_.get(), &Tdownload::exitRequested);

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QCOMPARE(window_->downloadState(), Tdownload::Downloading);
    QCOMPARE(text("infolabel2"), QStringLiteral("lobbysetup.exe"));
    QVERIFY(!button("getbutton")->isEnabled());
    QVERIFY(button("abortbutton")->isEnabled());
    QVERIFY(text("infolabel").startsWith(QStringLiteral("Loading")));

    // The headers alone: one dot for each header line, and the body announced.
    const QString dots(sendLength ? 3 : 2, QLatin1Char('.'));
    QTRY_COMPARE(text("infolabel"), QStringLiteral("Loading") + dots);
    QCOMPARE(text("infolabel3"), QStringLiteral("Downloading: lobbysetup.exe"));

    server_->release(1000);
    QTRY_COMPARE(text("infolabel"), QStringLiteral("1000 bytes"));
    QCOMPARE(window_->findChild<QProgressBar *>("progressbar_download")->maximum(), maximumWhileRunning);
    QVERIFY(shell_.started.isEmpty());

    server_->release();
    QTRY_COMPARE(text("infolabel"), QStringLiteral("Received 100000 bytes"));
    QCOMPARE(text("infolabel3"), QStringLiteral("Installing"));
    QVERIFY(button("getbutton")->isEnabled());
    QVERIFY(!button("abortbutton")->isEnabled());

    QFile file(downloaded(QStringLiteral("lobbysetup.exe")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
    QCOMPARE(shell_.started.size(), 1);
    QCOMPARE(shell_.started.at(0).first, file.fileName());
    QCOMPARE(shell_.started.at(0).second,
        (QStringList {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")}));
    QCOMPARE(exits.size(), 1);
}

void TestDownload::requestCarriesTheAgentAndAcceptHeaders()
{
    server_->body = "x";
    serve(QStringLiteral("/setup.exe"));
    QSignalSpy requests(server_.get(), &HttpTestServer::requestReceived);
    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QVERIFY(requests.wait());
    QVERIFY(server_->requestHead().startsWith("GET /setup.exe HTTP/1."));
    QCOMPARE(server_->requestHeader("User-Agent"), QByteArray("Mozilla/3.0 (compatible)"));
    QCOMPARE(server_->requestHeader("Accept"),
        QByteArray("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*"));
}

void TestDownload::stoppingDuringTransferNeverStartsTheInstaller()
{
    {
        QFile earlier(downloaded(QStringLiteral("setup.exe")));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the installer downloaded last week");
    }
    server_->body = QByteArray(50000, 'a');
    server_->sendAtOnce = 2000;
    serve(QStringLiteral("/setup.exe"));
    QSignalSpy exits(window_.get(), &Tdownload::exitRequested);

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QTRY_COMPARE(text("infolabel"), QStringLiteral("2000 bytes"));
    QTest::mouseClick(button("abortbutton"), Qt::LeftButton);

    QTRY_VERIFY(button("getbutton")->isEnabled());
    QCOMPARE(text("infolabel"), QStringLiteral("Download Aborted"));
    QCOMPARE(text("infolabel3"), QStringLiteral("Download Aborted"));
    QCOMPARE(window_->downloadState(), Tdownload::Aborted);
    QVERIFY(!button("abortbutton")->isEnabled());

    QVERIFY(shell_.started.isEmpty());
    QCOMPARE(exits.size(), 0);
    // The stopped transfer neither left a truncated installer nor spoilt the earlier one.
    QFile earlier(downloaded(QStringLiteral("setup.exe")));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("the installer downloaded last week"));
}

void TestDownload::httpErrorAbortsWithoutWritingTheInstaller_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("info");
    const QByteArray page = "<html>no such file</html>";
    const QString aborted = QStringLiteral("Download Aborted");
    QTest::newRow("404") << 404 << QByteArray("Not Found") << page << aborted;
    QTest::newRow("403") << 403 << QByteArray("Forbidden") << page << aborted;
    QTest::newRow("500") << 500 << QByteArray("Internal Server Error") << page << aborted;
    // A final answer that is not the file: no redirect to follow.
    QTest::newRow("300 without a location") << 300 << QByteArray("Multiple Choices") << page << aborted;
    QTest::newRow("204 no content") << 204 << QByteArray("No Content") << QByteArray()
                                    << QStringLiteral("Download failed: the server sent no file");
}

void TestDownload::httpErrorAbortsWithoutWritingTheInstaller()
{
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(QByteArray, body);
    QFETCH(QString, info);
    server_->status = status;
    server_->reason = reason;
    server_->body = body;
    serve(QStringLiteral("/missing/setup.exe"));
    QSignalSpy exits(window_.get(), &Tdownload::exitRequested);

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QTRY_COMPARE(text("infolabel"), info);
    QCOMPARE(window_->downloadState(), status >= 300 ? Tdownload::Aborted : Tdownload::Idle);
    QVERIFY(button("getbutton")->isEnabled());
    QVERIFY(!button("abortbutton")->isEnabled());
    QVERIFY(!QFile::exists(downloaded(QStringLiteral("setup.exe"))));
    QVERIFY(shell_.started.isEmpty());
    QCOMPARE(exits.size(), 0);
}

void TestDownload::installerThatCannotStartLeavesTheProgramRunning()
{
    shell_.startSucceeds = false;
    server_->body = QByteArray(3000, 'z');
    serve(QStringLiteral("/setup.exe"));
    QSignalSpy exits(window_.get(), &Tdownload::exitRequested);

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QTRY_COMPARE(messageText(), QStringLiteral("An Error has Occurred."));
    QCOMPARE(text("infolabel"), QStringLiteral("Received 3000 bytes"));
    QCOMPARE(shell_.started.size(), 1);
    QCOMPARE(exits.size(), 0);
    QVERIFY(button("getbutton")->isEnabled());
}

void TestDownload::unreachableServerIsReportedAndTheButtonsReset()
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    qputenv("WENDLEWICK_DOWNLOAD_URL",
        QByteArray("http://127.0.0.1:") + QByteArray::number(closedPort) + "/setup.exe");

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QTRY_VERIFY(button("getbutton")->isEnabled());
    QVERIFY2(
        text("infolabel").startsWith(QStringLiteral("Download failed: ")), qPrintable(text("infolabel")));
    QVERIFY(!button("abortbutton")->isEnabled());
    QVERIFY(shell_.started.isEmpty());
    QVERIFY(!QFile::exists(downloaded(QStringLiteral("setup.exe"))));
}

void TestDownload::oversizedInstallerIsRefused_data()
{
    QTest::addColumn<bool>("sendLength");
    QTest::newRow("announced too large") << true;
    QTest::newRow("grows too large") << false;
}

void TestDownload::oversizedInstallerIsRefused()
{
    QFETCH(bool, sendLength);
    window_->setSizeLimit(5000);
    server_->body = QByteArray(20000, 'q');
    server_->sendLength = sendLength;
    serve(QStringLiteral("/setup.exe"));

    QTest::mouseClick(button("getbutton"), Qt::LeftButton);
    QTRY_VERIFY(button("getbutton")->isEnabled());
    QCOMPARE(text("infolabel"), QStringLiteral("Download failed: the file is too large"));
    QVERIFY(shell_.started.isEmpty());
    QVERIFY(!QFile::exists(downloaded(QStringLiteral("setup.exe"))));
}

void TestDownload::playWithOthers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("exits");
    QTest::newRow("no lobby") << "Button2" << false << true
                              << QStringLiteral(
                                     "Please close the game and open the Orinco Lobby using the icon on "
                                     "your desktop or using the your Window's start-up menu.")
                              << 0;
    QTest::newRow("lobby starts") << "Button2" << true << true << QString() << 1;
    QTest::newRow("lobby fails to start")
        << "Button2" << true << false << QStringLiteral("An Error has Occurred.") << 0;
    // The lobby beside the game needs no download, and the built-in address leads nowhere.
    QTest::newRow("download offer, lobby installed: it starts")
        << "getbutton" << true << true << QString() << 1;
    QTest::newRow("download offer, no lobby: nothing to fetch")
        << "getbutton" << false << true << Tdownload::noDownloadText << 0;
}

void TestDownload::playWithOthers()
{
    QFETCH(QString, button);
    QFETCH(bool, installed);
    QFETCH(bool, starts);
    QFETCH(QString, message);
    QFETCH(int, exits);
    const QString lobby = downloaded(QStringLiteral("OrincoLobby.exe"));
    if (installed) {
        QFile file(lobby);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    qputenv("WENDLEWICK_LOBBY_PATH", lobby.toUtf8());
    shell_.startSucceeds = starts;
    QSignalSpy exitSpy(window_.get(), &Tdownload::exitRequested);

    QTest::mouseClick(this->button(qPrintable(button)), Qt::LeftButton);
    QCOMPARE(messageText(), message);
    QCOMPARE(exitSpy.size(), exits);
    QVERIFY(network_.requested.isEmpty());
    QCOMPARE(window_->downloadState(), Tdownload::Idle);
    if (installed)
        QCOMPARE(shell_.started.value(0).first, lobby);
    else
        QVERIFY(shell_.started.isEmpty());
}

void TestDownload::playSoloGameOnlyClosesTheWindow()
{
    QSignalSpy exits(window_.get(), &Tdownload::exitRequested);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    QCOMPARE(exits.size(), 0);
    QVERIFY(shell_.started.isEmpty());
}

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
