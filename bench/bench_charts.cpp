// Time to draw each chart at the screen canvas size (965 x 554) into an image, background
// pictures included when the delivered ones are found.

#include "core/analysis/analysis.h"
#include "core/app/programfolder.h"
#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"
#include "benchmain.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

struct Sample {
    tork::AnalysisRecord record;
    tork::AnalysisResult result;
    tork::MeridianTables tables;
    QString pictures;
};

const Sample& sample()
{
    static const Sample s = [] {
        Sample m;
        const double values[] = {80, 40, 55, 30, 45, 60, 75, 52, 35, 48, 41, 58,
                                 20, 66, 47, 39, 70, 44, 25, 61, 50, 36, 72, 49};
        for (int i = 0; i < tork::kPointCount; ++i) m.record.values[i] = values[i];
        m.record.measuredAt = 46367.3125;
        m.result = tork::computeAnalysis(m.record, m.tables.compensationFactors());
        m.pictures = QDir(tork::deliveredDataPath()).filePath(QStringLiteral("Data"));
        return m;
    }();
    return s;
}

void BM_DrawChart(benchmark::State& state)
{
    const auto kind = tork::charts::kAllChartKinds[state.range(0)];
    state.SetLabel(tork::charts::chartKindName(kind).toStdString());
    const Sample& s = sample();
    QImage image(965, 554, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(tork::charts::colour::canvasFace);
        QPainter painter(&image);
        benchmark::DoNotOptimize(tork::charts::drawChart(painter, QRectF(0, 0, 965, 554), kind, 1,
                                                         tork::charts::ChartData{s.record, s.result, s.tables, s.pictures}));
    }
}
BENCHMARK(BM_DrawChart)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QGuiApplication>(argc, argv); }
