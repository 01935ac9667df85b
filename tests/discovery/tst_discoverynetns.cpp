// Discovery over a real link: a host and a lobby in two network namespaces joined by
// a veth pair that the test makes and removes, so that multicast and broadcast never
// leave this machine. Needs root; skips where namespaces are not permitted.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>

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

// A program inside one of the namespaces, with discovery on, and what it printed.
struct Running
{
    QProcess process;
    QString said;

    Running(const QString &ns, const QString &program, const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WENDLEWICK_DISCOVERY"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("ip"), QStringList {"netns", "exec", ns, program} + arguments);
    }

    ~Running()
    {
        process.kill();
        process.waitForFinished();
    }

    // Waits until a line of the output matches `pattern`.
    bool waitFor(const QString &pattern)
    {
        const QRegularExpression line(pattern, QRegularExpression::MultilineOption);
        QElapsedTimer t;
        t.start();
        while (!line.match(said).hasMatch()) {
            if (t.elapsed() > 10000 || (process.state() == QProcess::NotRunning && !process.bytesAvailable()))
                return false;
            process.waitForReadyRead(200);
            said += QString::fromLocal8Bit(process.readAll());
        }
        return true;
    }
};

// The windowless host on `port`, once it has set up its discovery and its signals.
std::unique_ptr<Running> startHost(const QString &port)
{
    auto host
        = std::make_unique<Running>(hostNs, QStringLiteral(WENDLEWICK_HOST), QStringList {"--port", port});
    if (!host->waitFor(QStringLiteral("announcing the game"))
        || !host->waitFor(QStringLiteral("listening on port")))
        qWarning("%s", qPrintable(host->said));
    return host;
}

// Forged queries sent from the lobby's side; what the helper printed at its end.
QString forge(const QStringList &arguments)
{
    Running forger(lobbyNs, QStringLiteral(DISCOVERY_FORGE), arguments);
    if (!forger.waitFor(QStringLiteral("^answered ")))
        return forger.said;
    return forger.said.trimmed();
}

// A lobby's browser that asks once, when it starts.
std::unique_ptr<Running> startLobby()
{
    return std::make_unique<Running>(lobbyNs, QStringLiteral(DISCOVERY_BROWSE), QStringList {"600000"});
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
    void aQueryFromASubnetsOwnAddressIsNotAnswered_data();
    void aQueryFromASubnetsOwnAddressIsNotAnswered();
    void forgedSourcesOffTheSubnetLeaveRealLobbiesAnswered();

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
        // Eight more lobbies on the lobby's side, and a host that takes datagrams from
        // any source, as a host whose system does no reverse-path filtering does.
        {"-n", lobbyNs, "addr", "add", "10.77.72.10/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.11/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.12/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.13/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.14/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.15/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.16/24", "dev", lobbyLink},
        {"-n", lobbyNs, "addr", "add", "10.77.72.17/24", "dev", lobbyLink},
        {"netns", "exec", hostNs, "sh", "-c",
            QStringLiteral("for f in all default %1; do echo 0 > /proc/sys/net/ipv4/conf/$f/rp_filter; done")
                .arg(hostLink)},
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
    // The lobby asks before the host runs: only the hello can tell it.
    auto lobby = startLobby();
    QVERIFY2(lobby->waitFor(QStringLiteral("^listening$")), qPrintable(lobby->said));
    auto host = startHost(QStringLiteral("7780"));
    QVERIFY2(lobby->waitFor(QStringLiteral("^found  10\\.77\\.72\\.1 7780$")), qPrintable(lobby->said));

    host->process.terminate();
    QVERIFY(host->process.waitForFinished(10000));
    QVERIFY2(lobby->waitFor(QStringLiteral("^lost$")), qPrintable(lobby->said));
}

void TestDiscoveryNetns::aLobbyStartedLaterFindsTheHostByAsking()
{
    auto host = startHost(QStringLiteral("7781"));
    auto lobby = startLobby();
    QVERIFY2(lobby->waitFor(QStringLiteral("^found  10\\.77\\.72\\.1 7781$")), qPrintable(lobby->said));
}

void TestDiscoveryNetns::aQueryFromASubnetsOwnAddressIsNotAnswered_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("the broadcast address: the answer would reach every machine") << "10.77.72.255";
}

void TestDiscoveryNetns::aQueryFromASubnetsOwnAddressIsNotAnswered()
{
    QFETCH(QString, source);
    auto host = startHost(QStringLiteral("7782"));
    QCOMPARE(forge({"broadcast", "10.77.72.1", "7773", source}), QStringLiteral("answered 0"));
    // The same helper hears a real lobby's answer.
    QCOMPARE(forge({"broadcast", "10.77.72.1", "7773", "10.77.72.2"}), QStringLiteral("answered 1"));
}

void TestDiscoveryNetns::forgedSourcesOffTheSubnetLeaveRealLobbiesAnswered()
{
    auto host = startHost(QStringLiteral("7783"));
    QStringList arguments {"flood", "10.77.72.1", "7773", "2000"};
    for (int last = 10; last <= 17; ++last)
        arguments << QStringLiteral("10.77.72.%1").arg(last);
    const QString said = forge(arguments);
    qInfo("%s", qPrintable(said));
    QVERIFY2(said.startsWith(QLatin1String("answered 8 of 8")), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestDiscoveryNetns)
#include "tst_discoverynetns.moc"
