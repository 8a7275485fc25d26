// The main database at practice scale: 100 000 patients and 1 000 000 fully filled
// measurements. Measures the transfer of such a database as tork.mdb, opening the patient
// list in each sort order with its first screen of rows, a prefix search, and one patient's
// measurements newest first.
//
// The old database is generated once in a temporary folder (one transaction, SQL only).

#include "core/app/programfolder.h"
#include "core/app/startupdisplay.h"
#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "core/records/patients.h"
#include "core/records/schema.h"
#include "core/records/transfer.h"
#include "benchmain.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace tork;

namespace {

constexpr int kPatients = 100000;
constexpr int kMeasurements = 1000000;
constexpr int kScreenRows = 40;

class SilentDisplay final : public StartupDisplay {
public:
    void setLight(int, StepLight) override {}
    void setCaption(const QString&) override {}
    void setStatusText(const QString&) override {}
    void setProgress(int percent) override { percent_ = percent; }
    int progress() const override { return percent_; }
    void processEvents() override {}

private:
    int percent_ = 0;
};

void check(const QString& error)
{
    if (!error.isEmpty()) {
        std::fprintf(stderr, "bench_records: %s\n", qPrintable(error));
        std::exit(1);
    }
}

// The generated old database and a main database that received it.
struct Scale {
    QTemporaryDir dir;
    QString oldDatabase;
    QString templateDatabase;
    Database main;

    // One transaction of SQL-generated rows, fully filled, STD included.
    void generate()
    {
        Database old;
        check(old.open(oldDatabase, OpenMode::Create));
        QSqlDatabase db = old.db();
        QString std;
        for (int i = 0; i < 24; ++i) std += QStringLiteral("%1").arg(QString::number(50.0 + i, 'f', 1), 5);
        check(execute(db, "BEGIN"));
        // SQL printf formats stand in these statements, so numbers are joined in rather than arg()-ed.
        const QString upTo = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ");
        check(execute(db, upTo.arg(kPatients) + QStringLiteral(
            "INSERT INTO KACUST (CustNo, Name, Sex, DBirth, Addr, Tel, Tel2, Tel3, EMail, Memo, PREMEA, BType, Height, Weight, CustCat, CustFG, PrtFG) "
            "SELECT printf('%06d', i), printf('Name %05d', (i * 7919) % 100000), i % 2, 10000 + (i * 37) % 20000, "
            "printf('%d Long Street, Town %d', i, i % 977), printf('0%09d', i * 3), printf('0170%07d', i), printf('0%09d', i * 7), "
            "printf('patient%d@example.org', i), 'Notes on the patient', 0, 'A', 170.5, 70.25, 'C', 'F', 0 FROM n")));
        QString me;
        QString values;
        for (int k = 1; k <= 24; ++k) {
            me += QStringLiteral(", ME%1").arg(k);
            values += QStringLiteral(", ((i * ") + QString::number(k * 31 + 7) + QStringLiteral(") % 2000) / 10.0");
        }
        check(execute(db, upTo.arg(kMeasurements) + QStringLiteral("INSERT INTO KADATA (CustNo, MeDate, MeVota") + me +
                              QStringLiteral(", MEMO1, MEMO2, STD, AutoKey, PrtFG) SELECT printf('%06d', (i % ") + QString::number(kPatients) +
                              QStringLiteral(") + 1), 40000 + (i * 13) % 6000 + (i % 86400) / 86400.0, i % 2") + values +
                              QStringLiteral(", 'Measured after rest', '', '") + std + QStringLiteral("', 'K', 0 FROM n")));
        check(execute(db, "COMMIT"));
    }

    Scale()
    {
        oldDatabase = dir.filePath("generated.mdb");
        templateDatabase = dir.filePath("KaSpa_60.mdb");
        check(buildTemplateDatabase(templateDatabase));
        check(buildTemplateDatabase(oldDatabase));
        generate();

        // The main database for the list and search figures is the transferred one.
        const QString folder = dir.filePath("main");
        QDir().mkpath(folder);
        QFile::copy(templateDatabase, folder + "/tork6.mdb");
        QFile::copy(oldDatabase, folder + "/tork.mdb");
        check(main.open(folder + "/tork6.mdb", OpenMode::Shared));
        QSqlDatabase mainDb = main.db();
        SilentDisplay display;
        const TransferOutcome outcome = transferOldDatabase(mainDb, ProgramFolder(folder), display, QDate::currentDate());
        check(outcome.error);
    }
};

Scale& scale()
{
    static Scale instance;
    return instance;
}

void BM_TransferOldDatabase(benchmark::State& state)
{
    Scale& s = scale();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = s.dir.filePath(QStringLiteral("transfer-%1").arg(++round));
        QDir().mkpath(folder);
        QFile::copy(s.templateDatabase, folder + "/tork6.mdb");
        QFile::copy(s.oldDatabase, folder + "/tork.mdb");
        {
            Database main;
            check(main.open(folder + "/tork6.mdb", OpenMode::Shared));
            QSqlDatabase db = main.db();
            SilentDisplay display;
            state.ResumeTiming();
            const TransferOutcome outcome = transferOldDatabase(db, ProgramFolder(folder), display, QDate::currentDate());
            state.PauseTiming();
            check(outcome.error);
        }
        QDir(folder).removeRecursively();
        state.ResumeTiming();
    }
    state.counters["rows_per_second"] = benchmark::Counter(double(kPatients + kMeasurements) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TransferOldDatabase)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

// Sort key as the patient list keeps it: column 1..11, negative = descending.
void BM_PatientListFirstScreen(benchmark::State& state)
{
    QSqlDatabase db = scale().main.db();
    const PatientOrder order = PatientOrder::fromSortKey(int(state.range(0)));
    for (auto _ : state) {
        PatientList list(db, order);
        benchmark::DoNotOptimize(list.rows(0, kScreenRows));
    }
    state.SetLabel(order.column().toStdString() + (order.descending ? " DESC" : " ASC"));
}
BENCHMARK(BM_PatientListFirstScreen)
    ->Unit(benchmark::kMillisecond)
    ->ArgsProduct({{1, -1, 2, -2, 3, -3, 4, -4, 6, -6, 7, 8, 9, 10, 11}});

// A screen of rows far down the list (the grid scrolled to the middle).
void BM_PatientListMiddleScreen(benchmark::State& state)
{
    QSqlDatabase db = scale().main.db();
    PatientList list(db, PatientOrder::fromSortKey(2));
    for (auto _ : state) benchmark::DoNotOptimize(list.rows(kPatients / 2, kScreenRows));
}
BENCHMARK(BM_PatientListMiddleScreen)->Unit(benchmark::kMillisecond);

void BM_PrefixSearch(benchmark::State& state)
{
    QSqlDatabase db = scale().main.db();
    const PatientOrder order = PatientOrder::fromSortKey(int(state.range(0)));
    PatientList list(db, order);
    const QString text = order.field == PatientSortField::Name ? QStringLiteral("Name 5") : QStringLiteral("0512");
    for (auto _ : state) benchmark::DoNotOptimize(list.locatePrefix(text));
    state.SetLabel(order.column().toStdString() + (order.descending ? " DESC" : " ASC"));
}
BENCHMARK(BM_PrefixSearch)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(-1)->Arg(2)->Arg(-2);

void BM_PatientMeasurementsNewestFirst(benchmark::State& state)
{
    QSqlDatabase db = scale().main.db();
    int n = 0;
    for (auto _ : state) {
        n = (n + 7919) % kPatients;
        benchmark::DoNotOptimize(measurementsOf(db, QString::asprintf("%06d", n + 1)));
    }
}
BENCHMARK(BM_PatientMeasurementsNewestFirst)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QCoreApplication>(argc, argv); }
