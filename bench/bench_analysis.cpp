// Analyses per second: the computation alone, with the statements and lists, and with the
// JSON the companion tool prints.

#include "core/analysis/analysis.h"
#include "core/analysis/analysisjson.h"
#include "core/analysis/statements.h"
#include "core/records/referencetexts.h"

#include <QJsonDocument>
#include <benchmark/benchmark.h>

namespace {

// A measurement with mixed levels: several meridians atypical, states off 0.
tork::AnalysisRecord benchRecord()
{
    tork::AnalysisRecord record;
    const double values[24] = {82, 44, 51, 38, 60, 71, 77, 40, 55, 36, 58, 66,
                               21, 48, 33, 52, 61, 45, 26, 50, 30, 57, 63, 42};
    for (int i = 0; i < 24; ++i) {
        record.values[i] = values[i];
        record.quality[i] = 95 + 0.1 * i;
    }
    record.isMale = false;
    record.birthDate = 25000;
    record.measuredAt = 45600.4;
    return record;
}

void BM_ComputeAnalysis(benchmark::State& state)
{
    const tork::AnalysisRecord record = benchRecord();
    const auto& factors = tork::builtInCompensationFactors();
    for (auto _ : state) benchmark::DoNotOptimize(tork::computeAnalysis(record, factors));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeAnalysis);

void BM_ComputeWithStatementsAndLists(benchmark::State& state)
{
    const tork::AnalysisRecord record = benchRecord();
    const auto& factors = tork::builtInCompensationFactors();
    for (auto _ : state) {
        const tork::AnalysisResult result = tork::computeAnalysis(record, factors);
        benchmark::DoNotOptimize(tork::buildAnalysisTexts(result));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeWithStatementsAndLists);

void BM_ComposeEveryExplanation(benchmark::State& state)
{
    tork::InMemoryReferenceTexts texts;
    tork::ReferenceEntry entry;
    for (int f = 0; f < tork::kReferenceFieldCount; ++f)
        entry.fields[f] = QStringLiteral("A reference text line\r\nand a second line of it.");
    for (int key = 1; key <= 17; ++key) texts.insert(key, entry);
    const tork::AnalysisResult result = tork::computeAnalysis(benchRecord(), tork::builtInCompensationFactors());
    const tork::AnalysisTexts lists = tork::buildAnalysisTexts(result);
    for (auto _ : state) {
        for (const auto& e : lists.analysisList)
            benchmark::DoNotOptimize(tork::composeExplanation(tork::ListKind::Analysis, e.key, result, texts));
        for (const auto& e : lists.dietaryList)
            benchmark::DoNotOptimize(tork::composeExplanation(tork::ListKind::Dietary, e.key, result, texts));
        for (const auto& e : lists.protocolsList)
            benchmark::DoNotOptimize(tork::composeExplanation(tork::ListKind::Protocols, e.key, result, texts));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeEveryExplanation);

void BM_AnalyseToJson(benchmark::State& state)
{
    const tork::AnalysisRecord record = benchRecord();
    const auto& factors = tork::builtInCompensationFactors();
    for (auto _ : state) {
        const tork::AnalysisResult result = tork::computeAnalysis(record, factors);
        benchmark::DoNotOptimize(
            QJsonDocument(tork::analysisToJson(result, tork::buildAnalysisTexts(result))).toJson(QJsonDocument::Compact));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnalyseToJson);

}  // namespace

BENCHMARK_MAIN();
