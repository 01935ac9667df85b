// Discovery over a real link: a host and a lobby in two network namespaces joined by
// a veth pair that the test makes and removes, so that multicast and broadcast never
// leave this machine. Needs root; skips where namespaces are not permitted.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

namespace {

const QString hostNs = QStringLiteral("wwhost%1").arg(::getpid());
const QString lobbyNs = QStringLiteral("wwlobby%1").arg(::getpid());
const QString hostLink = QStringLiteral("wwh%1").arg(::getpid());
const QString lobbyLink = QStringLiteral("wwl%1").arg(::getpid());

// Runs `ip` with the arguments; the error text, empty on success.
QString ip(const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ip"), arguments);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("ip %1: %2")
            .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAll()).trimmed());
    return {};
}

// Starts `program` inside namespace `ns`, with discovery on.
void startIn(QProcess &p, const QString &ns, const QString &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WENDLEWICK_DISCOVERY"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ip"), QStringList {"netns", "exec", ns, program} + arguments);
}

bool waitForLine(QProcess &p, QString &said, const QRegularExpression &line)
{
    QElapsedTimer t;
    t.start();
    while (!line.match(said).hasMatch()) {
        if (t.elapsed() > 10000 || (p.state() == QProcess::NotRunning && !p.bytesAvailable()))
            return false;
        p.waitForReadyRead(200);
        said += QString::fromLocal8Bit(p.readAll());
    }
    return true;
}

} // namespace

class TestDiscoveryNetns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void aHostsHelloAndGoodbyeReachALobbyNextDoor();
    void aLobbyStartedLaterFindsTheHostByAsking();

private:
    bool made_ = false;
};

void TestDiscoveryNetns::initTestCase()
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        QSKIP("needs root and the ip command to make network namespaces");
    const QList<QStringList> steps {
        {"netns", "add", hostNs},
        {"netns", "add", lobbyNs},
        {"link", "add", hostLink, "type", "veth", "peer", "name", lobbyLink},
        {"link", "set", hostLink, "netns", hostNs},
        {"link", "set", lobbyLink, "netns", lobbyNs},
        {"-n", hostNs, "addr", "add", "10.77.72.1/24", "brd", "+", "dev", hostLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.2/24", "brd", "+", "dev", lobbyLink},
        {"-n", hostNs, "link", "set", hostLink, "up"},
        {"-n", lobbyNs, "link", "set", lobbyLink, "up"},
        {"-n", hostNs, "link", "set", "lo", "up"},
        {"-n", lobbyNs, "link", "set", "lo", "up"},
    };
    made_ = true;
    for (const QStringList &step : steps)
        if (const QString error = ip(step); !error.isEmpty())
            QSKIP(qPrintable(QStringLiteral("network namespaces are not permitted here (%1)").arg(error)));
}

void TestDiscoveryNetns::cleanupTestCase()
{
    if (!made_)
        return;
    // The veth pair goes with its namespaces.
    ip({"netns", "del", hostNs});
    ip({"netns", "del", lobbyNs});
}

void TestDiscoveryNetns::aHostsHelloAndGoodbyeReachALobbyNextDoor()
{
    // The lobby asks once, before the host runs: only the hello can tell it.
    QProcess lobby;
    startIn(lobby, lobbyNs, QStringLiteral(DISCOVERY_BROWSE), {QStringLiteral("600000")});
    QString heard;
    QVERIFY2(waitForLine(lobby, heard,
                 QRegularExpression(QStringLiteral("^listening$"), QRegularExpression::MultilineOption)),
        qPrintable(heard));

    QProcess host;
    startIn(
        host, hostNs, QStringLiteral(WENDLEWICK_HOST), {QStringLiteral("--port"), QStringLiteral("7780")});
    QString logged;
    QVERIFY2(waitForLine(host, logged, QRegularExpression(QStringLiteral("announcing the game.*\n.*listening on port"))),
        qPrintable(logged));
    QVERIFY2(waitForLine(lobby, heard, QRegularExpression(QStringLiteral("found  10\\.77\\.72\\.1 7780"))),
        qPrintable(heard));

    host.terminate();
    QVERIFY(host.waitForFinished(10000));
    QVERIFY2(waitForLine(lobby, heard,
                 QRegularExpression(QStringLiteral("^lost$"), QRegularExpression::MultilineOption)),
        qPrintable(heard));
    lobby.kill();
    lobby.waitForFinished();
}

void TestDiscoveryNetns::aLobbyStartedLaterFindsTheHostByAsking()
{
    QProcess host;
    startIn(
        host, hostNs, QStringLiteral(WENDLEWICK_HOST), {QStringLiteral("--port"), QStringLiteral("7781")});
    QString logged;
    QVERIFY2(waitForLine(host, logged, QRegularExpression(QStringLiteral("announcing the game.*\n.*listening on port"))),
        qPrintable(logged));

    QProcess lobby;
    startIn(lobby, lobbyNs, QStringLiteral(DISCOVERY_BROWSE), {QStringLiteral("600000")});
    QString heard;
    QVERIFY2(waitForLine(lobby, heard, QRegularExpression(QStringLiteral("found  10\\.77\\.72\\.1 7781"))),
        qPrintable(heard));
    lobby.kill();
    lobby.waitForFinished();
    host.terminate();
    host.waitForFinished();
}

QTEST_GUILESS_MAIN(TestDiscoveryNetns)
#include "tst_discoverynetns.moc"
