// Reading and saving the settings file, as the program does at start-up and after
// every option the player changes (each save is atomic and synced to disk).
#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString preparedFile(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("orinlobby.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    // A lobby section in front, as a shared file has.
    for (int i = 0; i < 40; ++i)
        file.write("[Lobby" + QByteArray::number(i) + "]\nName=Somebody\nTop=10\nLeft=10\n\n");
    file.close();
    SettingsFile settings(path);
    settings.save(settings.load(SettingsValues()));
    return path;
}

void BM_SettingsLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = preparedFile(dir);
    for (auto _ : state) {
        SettingsFile settings(path);
        benchmark::DoNotOptimize(settings.load(SettingsValues()));
    }
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMicrosecond);

void BM_SettingsSave(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = preparedFile(dir);
    SettingsFile settings(path);
    SettingsValues values = settings.load(SettingsValues());
    for (auto _ : state) {
        values.textSize = values.textSize == 8 ? 10 : 8;
        benchmark::DoNotOptimize(settings.save(values));
    }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
