// Protocol matching: one condition tested against an analysis, and a whole recommendation run
// over a main database holding many user protocols (the analysis window runs it each time
// another measurement is selected).

#include "core/analysis/analysis.h"
#include "core/protocols/conditioncode.h"
#include "core/protocols/matching.h"
#include "core/records/connection.h"
#include "core/records/schema.h"
#include "benchmain.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace tork;

// A measurement with several meridians and states off balance.
MatchInputs benchInputs()
{
    AnalysisRecord record;
    const double values[24] = {82, 44, 51, 38, 60, 71, 77, 40, 55, 36, 58, 66, 21, 48, 33, 52, 61, 45, 26, 50, 30, 57, 63, 42};
    for (int i = 0; i < 24; ++i) record.values[i] = values[i];
    record.isMale = false;
    record.birthDate = 25000;
    return matchInputs(record, computeAnalysis(record, builtInCompensationFactors()), QDate(2026, 12, 11));
}

// Condition i: one meridian or element item, its digit and whether it is required vary with i.
ConditionRecord benchCondition(int i)
{
    QString code(kConditionItemCount, u'0');
    QString required(kConditionItemCount, u'0');
    const int item = FirstMeridianItem + i % (LastElementItem - FirstMeridianItem + 1);
    code[item - 1] = QChar(u'1' + i % 3);
    if (i % 2) required[item - 1] = u'1';
    ConditionRecord c;
    c.condition = code;
    c.required = required;
    c.must = i % 5 == 0;
    return c;
}

void BM_ConditionSatisfied(benchmark::State& state)
{
    const MatchInputs inputs = benchInputs();
    std::vector<ConditionRecord> conditions;
    for (int i = 0; i < 64; ++i) conditions.push_back(benchCondition(i));
    size_t next = 0;
    for (auto _ : state) benchmark::DoNotOptimize(conditionSatisfied(conditions[next++ % conditions.size()], inputs));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConditionSatisfied);

// state.range(0) user protocols of three conditions each.
void BM_RecommendUserProtocols(benchmark::State& state)
{
    QTemporaryDir dir;
    Database database;
    if (!database.open(dir.filePath(QStringLiteral("tork6.mdb")), OpenMode::Create).isEmpty()) {
        state.SkipWithError("database cannot be made");
        return;
    }
    QSqlDatabase db = database.db();
    createTables(db, mainDatabaseTables());
    {
        Savepoint work(db);
        for (int p = 0; p < state.range(0); ++p) {
            ProtocolRecord protocol;
            protocol.number = QStringLiteral("U%1").arg(p, 5, 10, QChar(u'0'));
            protocol.name = QStringLiteral("Protocol %1").arg(p);
            protocol.description = QString(400, u'x');
            appendProtocol(db, protocol);
            for (int c = 0; c < 3; ++c) {
                ConditionRecord condition = benchCondition(p * 3 + c);
                condition.protocolNumber = protocol.number;
                appendCondition(db, condition);
            }
        }
        work.release();
    }
    const MatchInputs inputs = benchInputs();
    size_t recommended = 0;
    for (auto _ : state) recommended = recommendProtocols(db, inputs).size();
    state.counters["recommended"] = double(recommended);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RecommendUserProtocols)->Arg(35)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QCoreApplication>(argc, argv); }
