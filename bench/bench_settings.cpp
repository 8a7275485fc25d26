// Cost of the scrambling and of a full settings load and save.

#include "core/app/scramble.h"
#include "core/app/settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static void BM_ScrambleRoundTrip(benchmark::State& state)
{
    const QString text = QStringLiteral("T.O.R.K Analysis Data Report");
    for (auto _ : state) benchmark::DoNotOptimize(tork::unscramble(tork::scramble(text, 5), 5));
}
BENCHMARK(BM_ScrambleRoundTrip);

static void BM_SettingsSaveLoad(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KaDefE6c.ini");
    tork::Settings settings;
    for (auto _ : state) {
        settings.save(path);
        benchmark::DoNotOptimize(settings.load(path));
    }
}
BENCHMARK(BM_SettingsSaveLoad);

BENCHMARK_MAIN();
