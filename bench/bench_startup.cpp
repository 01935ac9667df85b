// Time from starting the program to its main window being shown (headless), over
// whole processes, and the same for creating and showing the main window in a
// running application.
#include "tchat.h"

#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

void BM_ProgramStartToMainWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("wendlewick.startup.info=true"));
        env.insert(QStringLiteral("WENDLEWICK_DATA_DIR"), dir.path());
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.setReadChannel(QProcess::StandardError);

        const auto start = std::chrono::steady_clock::now();
        program.start(QStringLiteral(WENDLEWICK_BIN), {});
        QByteArray said;
        while (!said.contains("main window shown") && program.waitForReadyRead(10000))
            said += program.readAllStandardError();
        const auto shown = std::chrono::steady_clock::now();
        program.kill();
        program.waitForFinished();
        if (!said.contains("main window shown")) {
            state.SkipWithError("the program did not report its window");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_ProgramStartToMainWindowShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_MainWindowCreatedAndShown(benchmark::State &state)
{
    QTemporaryDir dir;
    qputenv("WENDLEWICK_DATA_DIR", dir.path().toLocal8Bit());
    for (auto _ : state) {
        Tchat::Setup setup;
        setup.dictionaryFolder = dir.path();
        setup.settingsPath = dir.filePath(QStringLiteral("orinlobby.ini"));
        setup.markerFolder = dir.path();
        setup.tallyFolder = dir.path();
        // Two arguments take no role: the window alone, no game host on the port.
        setup.arguments = QStringList {QStringLiteral("Bench"), QStringLiteral("127.0.0.1")};
        Tchat chat(setup);
        QSignalSpy shown(&chat, &Tchat::firstShown);
        chat.show();
        if (!shown.wait(5000)) {
            state.SkipWithError("no first paint");
            break;
        }
    }
}
BENCHMARK(BM_MainWindowCreatedAndShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
