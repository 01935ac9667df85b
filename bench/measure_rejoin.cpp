// The README's figure for coming back after a dropped connection: two real windows on
// 127.0.0.1 (Ann hosts, Bob joins through a relay that plays the network), a round
// running; the relay goes away for a while (Bob's window says it lost the connection
// and tries again with its real waits: at once, then 250 ms doubling up to 2 s) and
// comes back. Measured: from the network's return to Bob's board shown again (the
// notice gone, the word entry open), for outages of several lengths, each a few times,
// and of two kinds: connections refused (the relay's port closed) and connects left
// unanswered (SYNs dropped).
// Run from a Release build: QT_QPA_PLATFORM=offscreen build/release/bench/measure_rejoin
#include "clientdispatch.h"
#include "dropproxy.h"
#include "fakehostenvironment.h"
#include "fakeshell.h"
#include "gameoptions.h"
#include "gamesession.h"
#include "reconnectnotice.h"
#include "reconnector.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "tchat.h"
#include "tserver.h"
#include "windowsetup.h"
#include "wordentry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Kind
{
    const char *name;
    std::vector<int> outagesMs;
    int repeats;
    std::function<void(DropProxy &)> start;
};

std::unique_ptr<Tchat> window(const QStringList &arguments, quint16 port, const QTemporaryDir &dir,
    SoundPlayer &sounds, DesktopShell &shell)
{
    Tchat::Setup setup = windowSetup(dir.path());
    setup.arguments = arguments;
    setup.gamePort = port;
    setup.listenAddress = QHostAddress::LocalHost;
    setup.companionPort = 0;
    setup.draw = ScriptedDraw("catsdogelimbunky").draw();
    setup.soundPlayer = &sounds;
    setup.shell = &shell;
    auto chat = std::make_unique<Tchat>(setup);
    chat->show();
    return chat;
}

bool wait(const std::function<bool()> &done, int ms = 30000)
{
    return QTest::qWaitFor(done, ms);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir data, annDir, bobDir;
    qputenv("WENDLEWICK_DATA_DIR", data.path().toLocal8Bit());
    RecordingSoundPlayer sounds;
    FakeShell shell;

    auto ann = window({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, 0, annDir,
        sounds, shell);
    if (!wait([&] { return ann->state().isconnected && ann->roster()->row(1).name == "Ann"; }))
        qFatal("the host's window did not start");
    DropProxy proxy;
    if (!proxy.start(ann->server()->port()))
        qFatal("no relay");
    auto bob = window({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        proxy.port(), bobDir, sounds, shell);
    if (!wait([&] { return bob->reconnector()->ticket() && ann->roster()->row(2).name == "Bob"; }))
        qFatal("Bob did not join");
    GameOptions options;
    options.playToScore = 10000;
    options.roundTime = 600;
    options.sizeCode = 4;
    options.minLetters = 3;
    ann->dispatch()->startgame(options);
    if (!wait([&] { return bob->wordEntry()->entryOpen(); }))
        qFatal("the round did not start");

    // When the attempt that succeeds began: what is left after it is the return itself.
    QElapsedTimer attempt;
    QObject::connect(bob->reconnector(), &Reconnector::attempting, [&attempt] { attempt.start(); });
    // Waited on with the event loop running freely (QTest's polling waits sleep between
    // rounds, which would add to what is measured).
    const std::vector<Kind> kinds {
        {"refused", {300, 1000, 2500, 5000, 10000}, 9, [](DropProxy &p) { p.pause(); }},
        {"unanswered", {300, 1000, 2500, 5000, 10000}, 5,
            [](DropProxy &p) {
                if (!p.dropNewConnections())
                    qFatal("no silent listener");
            }},
    };
    // A kind's name as the argument measures that kind only.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const Kind &kind : kinds) {
        if (!only.isEmpty() && only != QLatin1String(kind.name))
            continue;
        std::printf("%s: outage ms | network back to board shown, ms (min / median / max of %d) | "
                    "attempts | last attempt to board, ms (median)\n",
            kind.name, kind.repeats);
        for (const int outage : kind.outagesMs) {
            std::vector<double> shown, returning;
            int attempts = 0;
            for (int i = 0; i < kind.repeats; ++i) {
                QSignalSpy attempting(bob->reconnector(), &Reconnector::attempting);
                kind.start(proxy);
                if (!attempting.wait(20000))
                    qFatal("the drop was not noticed");
                QEventLoop outageLoop;
                QTimer::singleShot(outage, &outageLoop, &QEventLoop::quit);
                outageLoop.exec();
                QSignalSpy finished(bob->reconnector(), &Reconnector::finished);
                QElapsedTimer back;
                if (!proxy.resume())
                    qFatal("the relay did not come back");
                back.start();
                if (!finished.wait(30000)
                    || finished.at(0).at(0).value<Reconnector::Outcome>() != Reconnector::Outcome::Returned
                    || !bob->wordEntry()->entryOpen() || bob->reconnectNotice()->isVisible())
                    qFatal("Bob did not come back");
                shown.push_back(double(back.nsecsElapsed()) / 1e6);
                returning.push_back(double(attempt.nsecsElapsed()) / 1e6);
                attempts += bob->reconnector()->attempts();
                // The host has seen Bob back before the next drop.
                if (!wait([&] { return !ann->roster()->row(2).away; }))
                    qFatal("the host still sees Bob away");
            }
            std::sort(shown.begin(), shown.end());
            std::sort(returning.begin(), returning.end());
            std::printf("%9d | %8.1f / %8.1f / %8.1f | %.1f | %.1f\n", outage, shown.front(),
                shown[shown.size() / 2], shown.back(), double(attempts) / kind.repeats,
                returning[returning.size() / 2]);
            std::fflush(stdout);
        }
    }
    return 0;
}
