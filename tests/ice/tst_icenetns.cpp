// Players behind home routers, on networks the test builds in namespaces: an
// "internet" holding the community's Prosody and coturn, and two homes, each behind a
// router that masquerades with nftables. wendlewick-host runs in home A and announces
// its game in the room; in home B the lobby's logic (icejoin) joins it and plays a
// round through each way there is: the router forwarding the game's port (direct),
// both routers mapping ports as they keep them (through both routers after STUN), and
// home B's router mapping every destination to a new port (only the relay works).
// Then the way breaks mid-game (home B's router drops every datagram for a while): the
// lobby's Rejoin finds a way again for the game, which comes back to its seat. Then the relay goes
// away mid-game: the joiner's game ends with a sentence that says so, and the host goes
// on. Prosody and coturn run the configurations the package
// ships, set up as the README says (only the internet's range is let through coturn,
// which otherwise relays to no private network).
//
// Needs root; skips with a message where namespaces are not permitted. Only private
// ranges are used, inside namespaces the test makes and removes (with the programs it
// started), whatever happens.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "prosodyserver.h"

#include <memory>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace {

const QString pid = QString::number(::getpid());
// Namespaces: the internet, two routers, two homes.
const QString inet = QStringLiteral("wwiceI") + pid;
const QString routerA = QStringLiteral("wwiceRA") + pid;
const QString routerB = QStringLiteral("wwiceRB") + pid;
const QString homeA = QStringLiteral("wwiceHA") + pid;
const QString homeB = QStringLiteral("wwiceHB") + pid;
// Where the internet sends what it has no route for.
const QString lost = QStringLiteral("wwiceV") + pid;
// Each router's side towards the internet.
const QString wanA = QStringLiteral("wiAI") + pid;
const QString wanB = QStringLiteral("wiBI") + pid;
const QString services = QStringLiteral("172.16.0.1");
const QString turnSecret = QStringLiteral("not-a-real-secret");
const QString lobbyDomain = QStringLiteral("lobby.test");

// Runs a command; the error, empty on success.
QString run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!input.isEmpty()) {
        p.write(input);
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("%1 %2: %3")
            .arg(program, arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAll()).trimmed());
    return {};
}

QString in(const QString &ns, const QStringList &command, const QByteArray &input = {})
{
    return run(QStringLiteral("ip"), QStringList {"netns", "exec", ns} + command, input);
}

// A program inside a namespace and what it printed.
struct Running
{
    QProcess process;
    QString said;
    qsizetype from = 0; // where waitFor() starts looking

    Running(const QString &ns, const QString &program, const QStringList &arguments)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("ip"), QStringList {"netns", "exec", ns, program} + arguments);
    }
    ~Running() { stop(); }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill();
        process.waitForFinished(5000);
    }
    // Whether the program ends by itself, without an error (a sanitizer's included).
    bool endsWell()
    {
        const bool ended = process.waitForFinished(10000);
        said += QString::fromLocal8Bit(process.readAll());
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    // From now on waitFor() looks only at what comes next.
    void mark()
    {
        said += QString::fromLocal8Bit(process.readAll());
        from = said.size();
    }
    // Waits until a line matches `pattern`; the match's first group (or whole).
    QString waitFor(const QString &pattern, int timeoutMs)
    {
        const QRegularExpression line(pattern, QRegularExpression::MultilineOption);
        QElapsedTimer t;
        t.start();
        for (;;) {
            said += QString::fromLocal8Bit(process.readAll());
            if (const QRegularExpressionMatch m = line.match(said, from); m.hasMatch())
                return m.lastCapturedIndex() > 0 ? m.captured(1) : m.captured(0);
            if (t.elapsed() > timeoutMs
                || (process.state() == QProcess::NotRunning && !process.bytesAvailable()))
                return {};
            process.waitForReadyRead(100);
        }
    }
};

} // namespace

class TestIceNetns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void aRoundIsPlayedThroughEachWay_data();
    void aRoundIsPlayedThroughEachWay();
    void aGameWhoseWayBrokeComesBackThroughANewOne();
    void aRelayThatGoesAwayEndsTheGameForTheJoinerOnly();

private:
    bool makeNetworks(QString *error);
    void removeNetworks();
    void removeLeftovers();
    std::unique_ptr<Running> joiner(const QString &mode);

    bool made_ = false;
    QTemporaryDir dir_;
    std::unique_ptr<ProsodyServer> prosody_;
    std::unique_ptr<Running> coturn_;
    std::unique_ptr<Running> host_;
};

bool TestIceNetns::makeNetworks(QString *error)
{
    const QString ip = QStringLiteral("ip");
    const auto link = [](const QString &a, const QString &b) {
        return std::pair<QString, QString> {a + pid, b + pid};
    };
    const auto [iToA, aToI] = link(QStringLiteral("wiIA"), QStringLiteral("wiAI"));
    const auto [iToB, bToI] = link(QStringLiteral("wiIB"), QStringLiteral("wiBI"));
    const auto [aToHome, homeToA] = link(QStringLiteral("wiAH"), QStringLiteral("wiHA"));
    const auto [bToHome, homeToB] = link(QStringLiteral("wiBH"), QStringLiteral("wiHB"));
    QList<QStringList> steps;
    for (const QString &ns : {inet, routerA, routerB, homeA, homeB, lost})
        steps << QStringList {"netns", "add", ns};
    made_ = true;
    const QList<std::tuple<QString, QString, QString, QString>> pairs {{iToA, inet, aToI, routerA},
        {iToB, inet, bToI, routerB}, {aToHome, routerA, homeToA, homeA}, {bToHome, routerB, homeToB, homeB}};
    for (const auto &[a, nsA, b, nsB] : pairs)
        steps << QStringList {
            "link", "add", a, "netns", nsA, "type", "veth", "peer", "name", b, "netns", nsB};
    const QList<std::tuple<QString, QString, QString>> addresses {{inet, iToA, "172.16.1.1/24"},
        {inet, iToB, "172.16.2.1/24"}, {routerA, aToI, "172.16.1.2/24"}, {routerA, aToHome, "10.1.0.1/24"},
        {routerB, bToI, "172.16.2.2/24"}, {routerB, bToHome, "10.2.0.1/24"}, {homeA, homeToA, "10.1.0.2/24"},
        {homeB, homeToB, "10.2.0.2/24"}, {inet, "lo", services + "/32"}};
    for (const auto &[ns, dev, address] : addresses)
        steps << QStringList {"-n", ns, "addr", "add", address, "dev", dev};
    for (const auto &[a, nsA, b, nsB] : pairs)
        steps << QStringList {"-n", nsA, "link", "set", a, "up"}
              << QStringList {"-n", nsB, "link", "set", b, "up"};
    for (const QString &ns : {inet, routerA, routerB, homeA, homeB})
        steps << QStringList {"-n", ns, "link", "set", "lo", "up"};
    // What the internet has no route for (the homes' own addresses) leaves by a link to
    // nowhere and is lost, as on the internet, instead of failing at the sender.
    const QString nowhere = QStringLiteral("wiIX") + pid;
    const QString hole = QStringLiteral("wiXI") + pid;
    steps << QStringList {"-n", inet, "link", "add", nowhere, "type", "veth", "peer", "name", hole, "netns",
        lost}
          << QStringList {"-n", inet, "link", "set", nowhere, "up"}
          << QStringList {"-n", lost, "link", "set", hole, "up"}
          << QStringList {"-n", inet, "route", "add", "default", "dev", nowhere};
    steps << QStringList {"-n", routerA, "route", "add", "default", "via", "172.16.1.1"}
          << QStringList {"-n", routerB, "route", "add", "default", "via", "172.16.2.1"}
          << QStringList {"-n", homeA, "route", "add", "default", "via", "10.1.0.1"}
          << QStringList {"-n", homeB, "route", "add", "default", "via", "10.2.0.1"};
    for (const QStringList &step : steps)
        if (QString e = run(ip, step); !e.isEmpty()) {
            *error = e;
            return false;
        }
    // The internet routes between the routers, never into the homes (it has no route
    // there); each router masquerades what leaves for the internet.
    for (const QString &ns : {inet, routerA, routerB})
        if (QString e = in(ns, {"sysctl", "-qw", "net.ipv4.ip_forward=1"}); !e.isEmpty()) {
            *error = e;
            return false;
        }
    for (const auto &[ns, wan] : {std::pair {routerA, wanA}, {routerB, wanB}}) {
        // As home routers do, nothing from the internet is let in unless it answers what
        // went out (or the port is forwarded); it is dropped without a word.
        const QByteArray rules = QStringLiteral(
            "table ip wwnat {\n"
            "  chain pre { type nat hook prerouting priority dstnat; }\n"
            "  chain post { type nat hook postrouting priority srcnat; oifname \"%1\" masquerade; }\n"
            "  chain tohere { type filter hook input priority filter;\n"
            "    iifname \"%1\" ct state established,related accept; iifname \"%1\" drop; }\n"
            "  chain through { type filter hook forward priority filter;\n"
            "    iifname \"%1\" ct state established,related accept;\n"
            "    iifname \"%1\" ct status dnat accept; iifname \"%1\" drop; }\n"
            "}\n")
                                     .arg(wan)
                                     .toUtf8();
        if (QString e = in(ns, {"nft", "-f", "-"}, rules); !e.isEmpty()) {
            *error = e;
            return false;
        }
    }
    // The homes find the community's server by its name, as on the internet.
    for (const QString &ns : {homeA, homeB}) {
        QDir().mkpath(QStringLiteral("/etc/netns/") + ns);
        QFile hosts(QStringLiteral("/etc/netns/%1/hosts").arg(ns));
        if (!hosts.open(QIODevice::WriteOnly)) {
            *error = hosts.errorString();
            return false;
        }
        hosts.write(
            QStringLiteral("127.0.0.1 localhost\n%1 %2 rooms.%2\n").arg(services, lobbyDomain).toUtf8());
    }
    return true;
}

void TestIceNetns::removeLeftovers()
{
    // A run that was killed could not remove its namespaces: those of processes gone.
    QProcess list;
    list.start(QStringLiteral("ip"), {"netns", "list"});
    list.waitForFinished(10000);
    static const QRegularExpression ours(
        QStringLiteral("^(wwice[A-Z]+)(\\d+)\\b"), QRegularExpression::MultilineOption);
    for (auto it = ours.globalMatch(QString::fromLocal8Bit(list.readAll())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (::kill(pid_t(m.captured(2).toLongLong()), 0) == 0 || errno != ESRCH)
            continue;
        const QString ns = m.captured(1) + m.captured(2);
        run(QStringLiteral("ip"), {"netns", "del", ns});
        QDir(QStringLiteral("/etc/netns/") + ns).removeRecursively();
    }
}

void TestIceNetns::removeNetworks()
{
    if (!std::exchange(made_, false))
        return;
    // The links and the rules go with their namespaces.
    for (const QString &ns : {inet, routerA, routerB, homeA, homeB, lost}) {
        run(QStringLiteral("ip"), {"netns", "del", ns});
        QDir(QStringLiteral("/etc/netns/") + ns).removeRecursively();
    }
    // Only when nobody else keeps files there.
    QDir().rmdir(QStringLiteral("/etc/netns"));
}

void TestIceNetns::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("needs root to make network namespaces");
    for (const char *tool : {"ip", "nft", "turnserver", "prosody"})
        QVERIFY2(
            !QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/sbin", "/usr/bin", "/sbin"})
                 .isEmpty(),
            qPrintable(QStringLiteral("%1 is missing: scripts/install-deps.sh test installs it").arg(tool)));
    if (const QString e = run(QStringLiteral("ip"), {"netns", "add", inet}); !e.isEmpty())
        QSKIP(qPrintable(QStringLiteral("network namespaces are not permitted here (%1)").arg(e)));
    run(QStringLiteral("ip"), {"netns", "del", inet});
    removeLeftovers();
    QString error;
    QVERIFY2(makeNetworks(&error), qPrintable(error));

    // The shipped configurations, with the secret put in as the README does (its
    // commented line taken in) and the test's domain.
    const auto shipped = [](const QString &name, const QString &comment) {
        QFile f(QStringLiteral(WENDLEWICK_SOURCE_DIR "/dist/") + name);
        QString text = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        const QRegularExpression secret(
            QStringLiteral("^%1(.*)CHANGE-THIS-SECRET").arg(comment), QRegularExpression::MultilineOption);
        return text.replace(secret, QStringLiteral("\\1") + turnSecret)
            .replace(QStringLiteral("lobby.example.org"), lobbyDomain);
    };
    // coturn, with the internet's range let through.
    QString turnConfig = shipped(QStringLiteral("coturn/wendlewick-turnserver.conf"), QStringLiteral("#"));
    QVERIFY(turnConfig.contains(QStringLiteral("\nstatic-auth-secret=") + turnSecret));
    QVERIFY(turnConfig.contains(QStringLiteral("denied-peer-ip=172.16.0.0-172.31.255.255\n")));
    turnConfig.replace(QStringLiteral("denied-peer-ip=172.16.0.0-172.31.255.255\n"), QString())
        .replace(QStringLiteral("\nsyslog\n"), QStringLiteral("\n"));
    QFile turnFile(dir_.filePath(QStringLiteral("turnserver.conf")));
    QVERIFY(turnFile.open(QIODevice::WriteOnly));
    turnFile.write(turnConfig.toUtf8());
    turnFile.close();
    coturn_ = std::make_unique<Running>(inet, QStringLiteral("turnserver"),
        QStringList {"-c", turnFile.fileName(), "--listening-ip=" + services, "--relay-ip=" + services,
            "--log-file=stdout", "--pidfile=" + dir_.filePath("turnserver.pid"),
            "--userdb=" + dir_.filePath("turndb")});
    QVERIFY2(!coturn_->waitFor(QStringLiteral("Total General servers"), 10000).isEmpty(),
        qPrintable(coturn_->said));

    // Prosody, with the room made by its admin.
    prosody_ = std::make_unique<ProsodyServer>();
    ProsodyServer::Options options;
    options.domain = lobbyDomain;
    options.address = services;
    options.wrapper = QStringList {"ip", "netns", "exec", inet};
    const QString config = shipped(QStringLiteral("prosody/wendlewick-lobby.cfg.lua"), QStringLiteral("--"));
    QVERIFY(config.contains(QStringLiteral("\nturn_external_secret = \"%1\"").arg(turnSecret)));
    QVERIFY2(prosody_->startWith(config, options), qPrintable(prosody_->errorString() + prosody_->log()));
    QVERIFY2(
        prosody_->shell(
            QStringLiteral("muc:create('%1', { persistent = true; public = true })").arg(prosody_->room())),
        qPrintable(prosody_->errorString()));

    host_ = std::make_unique<Running>(homeA, QStringLiteral(WENDLEWICK_HOST),
        QStringList {"--port", "7772", "--lobby-server",
            QStringLiteral("%1:%2").arg(lobbyDomain).arg(prosody_->port()), "--lobby-ca",
            prosody_->certificateFile(), "--lobby-name", "Host A"});
    QVERIFY2(!host_->waitFor(QStringLiteral("lobby: In the room"), 20000).isEmpty(), qPrintable(host_->said));
}

void TestIceNetns::cleanupTestCase()
{
    host_.reset();
    prosody_.reset();
    coturn_.reset();
    removeNetworks();
}

std::unique_ptr<Running> TestIceNetns::joiner(const QString &mode)
{
    return std::make_unique<Running>(homeB, QStringLiteral(ICEJOIN),
        QStringList {QStringLiteral("%1:%2").arg(lobbyDomain).arg(prosody_->port()),
            prosody_->certificateFile(), "Ann", mode, "3000"});
}

void TestIceNetns::aRoundIsPlayedThroughEachWay_data()
{
    QTest::addColumn<bool>("forwarded");
    QTest::addColumn<bool>("randomPorts");
    QTest::addColumn<QString>("way");
    QTest::newRow("the host's router forwards the port") << true << false << "directly";
    QTest::newRow("both routers keep ports") << false << false << "directly through both routers";
    QTest::newRow("the joiner's router maps at random")
        << false << true << "through the community's relay server";
}

void TestIceNetns::aRoundIsPlayedThroughEachWay()
{
    QFETCH(bool, forwarded);
    QFETCH(bool, randomPorts);
    QFETCH(QString, way);
    QVERIFY(in(routerA, {"nft", "flush", "chain", "ip", "wwnat", "pre"}).isEmpty());
    if (forwarded)
        QVERIFY(in(routerA,
            {"nft", "add", "rule", "ip", "wwnat", "pre", "iifname", wanA, "tcp", "dport", "7772", "dnat",
                "to", "10.1.0.2"})
                    .isEmpty());
    QVERIFY(in(routerB, {"nft", "flush", "chain", "ip", "wwnat", "post"}).isEmpty());
    QStringList masquerade {"nft", "add", "rule", "ip", "wwnat", "post", "oifname", wanB, "masquerade"};
    if (randomPorts)
        masquerade << "fully-random";
    QVERIFY(in(routerB, masquerade).isEmpty());

    auto ann = joiner(QStringLiteral("round"));
    // The host's announced address is its router's, as the community server sees it.
    QVERIFY2(!ann->waitFor(QStringLiteral("^listed 172\\.16\\.1\\.2 7772 ice=1$"), 30000).isEmpty(),
        qPrintable(ann->said));
    QVERIFY2(!ann->waitFor(QStringLiteral("^status \\+\\d+ The game is running, connected %1\\.$")
                               .arg(QRegularExpression::escape(way)),
                     30000)
                  .isEmpty(),
        qPrintable(ann->said));
    const QString roster = ann->waitFor(QStringLiteral("^roster (\\d+)$"), 10000);
    const QString verdict = ann->waitFor(QStringLiteral("^verdict (\\d+)$"), 10000);
    QVERIFY2(!roster.isEmpty() && !verdict.isEmpty(), qPrintable(ann->said));
    QVERIFY2(!ann->waitFor(QStringLiteral("^round over$"), 15000).isEmpty(), qPrintable(ann->said));
    QVERIFY2(
        !ann->waitFor(QStringLiteral("^ended The game has ended"), 10000).isEmpty(), qPrintable(ann->said));
    qInfo("%s: from Join to the roster %s ms, claim to verdict %s us", QTest::currentDataTag(),
        qPrintable(roster), qPrintable(verdict));
    for (const QString &line : ann->said.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("status")))
            qInfo("  %s", qPrintable(line));
}

void TestIceNetns::aGameWhoseWayBrokeComesBackThroughANewOne()
{
    auto ann = joiner(QStringLiteral("return"));
    QVERIFY2(!ann->waitFor(QStringLiteral("^holding$"), 40000).isEmpty(), qPrintable(ann->said));
    const QString cut = in(routerB, {"nft", "-f", "-"},
        "table ip wwcut {\n chain cut {\n  type filter hook forward priority 0;\n  meta l4proto udp drop\n "
        "}\n}\n");
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    auto uncut = qScopeGuard([] { in(routerB, {"nft", "delete", "table", "ip", "wwcut"}); });
    // The game's connection closes once nothing came for the joiner's 3 s.
    QVERIFY2(
        !ann->waitFor(QStringLiteral("^status \\+\\d+ The way to the host was lost: nothing came through "
                                     "the community's relay server for 3 seconds\\. Looking for it again"),
                10000)
             .isEmpty(),
        qPrintable(ann->said));
    QVERIFY2(!ann->waitFor(QStringLiteral("^lost$"), 5000).isEmpty(), qPrintable(ann->said));
    // The way can be found again. The game gives up with its seat kept, the lobby's
    // Rejoin starts it again on the same local end, and it comes back (its token first)
    // through a new way; the host's end of the old way, still waiting for its own
    // silence, is taken over.
    uncut.dismiss();
    QVERIFY(in(routerB, {"nft", "delete", "table", "ip", "wwcut"}).isEmpty());
    host_->mark();
    ann->process.write("go\n");
    QVERIFY2(!ann->waitFor(QStringLiteral("^rejoin$"), 10000).isEmpty(), qPrintable(ann->said));
    QVERIFY2(!ann->waitFor(QStringLiteral("^back$"), 20000).isEmpty(), qPrintable(ann->said));
    QVERIFY(ann->said.contains(
        QStringLiteral("The game is connected again, through the community's relay server.")));
    QVERIFY2(
        !host_->waitFor(QStringLiteral("slot 1: \"Ann\" is back"), 5000).isEmpty(), qPrintable(host_->said));
    // Its goodbye, right before the game ended, gets there: the seat is not kept.
    QVERIFY2(
        !host_->waitFor(QStringLiteral("slot 1: \"Ann\" left"), 5000).isEmpty(), qPrintable(host_->said));
    QVERIFY2(!ann->waitFor(QStringLiteral("^ended "), 10000).isEmpty(), qPrintable(ann->said));
    QVERIFY2(ann->endsWell(), qPrintable(ann->said));
}

void TestIceNetns::aRelayThatGoesAwayEndsTheGameForTheJoinerOnly()
{
    // Home B's router still maps at random: only the relay carries the game.
    auto ann = joiner(QStringLiteral("hold"));
    QVERIFY2(!ann->waitFor(QStringLiteral("^holding$"), 40000).isEmpty(), qPrintable(ann->said));
    QVERIFY(ann->said.contains(QStringLiteral("through the community's relay server")));

    host_->mark();
    coturn_->process.kill();
    QVERIFY2(
        !ann->waitFor(QStringLiteral("^ended The connection to the game was lost: nothing came through the "
                                     "community's relay server for 3 seconds\\.$"),
                15000)
             .isEmpty(),
        qPrintable(ann->said));
    QVERIFY2(ann->endsWell(), qPrintable(ann->said));
    // The host lets that player go and carries on.
    QVERIFY2(!host_
                  ->waitFor(QStringLiteral("the connection through the routers from \"Ann\" ended \\(nothing "
                                           "arrived any more\\)"),
                      20000)
                  .isEmpty(),
        qPrintable(host_->said));
    QVERIFY(host_->waitFor(QStringLiteral("slot 1: \"Ann\" left"), 5000).size() > 0);
    QCOMPARE(host_->process.state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestIceNetns)
#include "tst_icenetns.moc"
