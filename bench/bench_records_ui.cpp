// The records windows over a practice-scale main database: 100 000 patients with three
// measurements each. Measures opening the browser until its first screen of patients is
// drawn, a column sort, a prefix search, and moving to another patient until his
// measurements are drawn.
//
// The database is generated once in a temporary folder (one transaction, prepared inserts).

#include "core/app/programstate.h"
#include "core/measure/currentmeasurement.h"
#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "ui/records/patientlistpanel.h"
#include "ui/records/tkaread.h"
#include "benchmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

using namespace tork;

namespace {

constexpr int kPatients = 100000;
constexpr int kMeasurementsEach = 3;

void check(const QString& error)
{
    if (!error.isEmpty()) {
        std::fprintf(stderr, "bench_records_ui: %s\n", qPrintable(error));
        std::exit(1);
    }
}

struct Practice {
    QTemporaryDir dir;
    Database main;
    ProgramState state;
    CurrentMeasurement measurement;

    Practice()
    {
        const QString path = dir.filePath("tork6.mdb");
        check(buildTemplateDatabase(path));
        check(main.open(path, OpenMode::Shared));
        QSqlDatabase db = main.db();
        Savepoint work(db);
        check(work.error());
        static const char* names[] = {"Berg", "Adler", "Christensen", "Dahl", "Engel", "Fischer", "Graf", "Hahn"};
        std::mt19937 random(7);
        QSqlQuery patient(db);
        patient.prepare("INSERT INTO KACUST (CustNo, Name, Sex, DBirth, Addr, Tel, Tel2, Tel3, EMail, PREMEA) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        QString measurementSql = "INSERT INTO KADATA (CustNo, MeDate, MeVota, MEMO1, STD";
        for (int i = 1; i <= 24; ++i) measurementSql += QString(", ME%1").arg(i);
        measurementSql += ") VALUES (?, ?, ?, ?, ?" + QString(", ?").repeated(24) + ")";
        QSqlQuery measurement(db);
        measurement.prepare(measurementSql);
        for (int n = 1; n <= kPatients; ++n) {
            const QString number = QString::asprintf("%06d", int(random() % 900000 + 100000)) + QString::number(n);
            const double latest = 44000 + random() % 2000;
            patient.addBindValue(number);
            patient.addBindValue(QString("%1 %2").arg(names[random() % 8]).arg(n));
            patient.addBindValue(int(random() % 2));
            patient.addBindValue(double(15000 + random() % 25000));
            patient.addBindValue(QString("Street %1").arg(random() % 500));
            patient.addBindValue(QString::number(random() % 10000000));
            patient.addBindValue(QString::number(random() % 10000000));
            patient.addBindValue(QString());
            patient.addBindValue(QString("p%1@example.org").arg(n));
            patient.addBindValue(latest);
            if (!patient.exec()) check(patient.lastError().text());
            for (int k = 0; k < kMeasurementsEach; ++k) {
                measurement.addBindValue(number);
                measurement.addBindValue(latest - k * 30 + 0.4);
                measurement.addBindValue(int(k % 2));
                measurement.addBindValue(QString("memo\r\n"));
                measurement.addBindValue(QString("  90.0").repeated(24).left(120));
                for (int i = 0; i < 24; ++i) measurement.addBindValue(double(10 + random() % 150));
                if (!measurement.exec()) check(measurement.lastError().text());
            }
        }
        check(work.release());
        state.patientSortColumn = 2;
    }

    RecordsContext context()
    {
        RecordsContext c;
        c.state = &state;
        c.measurement = &measurement;
        c.db = main.db();
        return c;
    }
};

Practice& practice()
{
    static Practice p;
    return p;
}

// Draws the visible part of a grid, which pulls its rows through the model.
void draw(QTableView* grid) { benchmark::DoNotOptimize(grid->viewport()->grab()); }

void BM_OpenBrowserFirstScreen(benchmark::State& bench)
{
    Practice& p = practice();
    p.state.patient.number = "5";
    for (auto _ : bench) {
        TKaread browser(p.context(), true);
        browser.resize(1100, 720);
        draw(browser.patientList()->grid());
    }
}
BENCHMARK(BM_OpenBrowserFirstScreen)->Unit(benchmark::kMillisecond);

void BM_ColumnSort(benchmark::State& bench)
{
    Practice& p = practice();
    TKaread browser(p.context(), true);
    browser.resize(1100, 720);
    const int columns[] = {1, 2, 4, 6, 8};
    int next = 0;
    for (auto _ : bench) {
        browser.patientList()->HeaderClick(columns[next++ % 5]);
        draw(browser.patientList()->grid());
    }
}
BENCHMARK(BM_ColumnSort)->Unit(benchmark::kMillisecond);

void BM_PrefixSearch(benchmark::State& bench)
{
    Practice& p = practice();
    p.state.patientSortColumn = 2;
    TKaread browser(p.context(), true);
    browser.resize(1100, 720);
    PatientListPanel* list = browser.patientList();
    const char* texts[] = {"Hahn 7", "Adler 12", "Graf 99", "Dahl 5", "Berg 4711", "Fischer 3"};
    int next = 0;
    for (auto _ : bench) {
        list->searchBox()->setText(QString::fromLatin1(texts[next++ % 6]));
        list->SearchButtonClick();
        draw(list->grid());
    }
}
BENCHMARK(BM_PrefixSearch)->Unit(benchmark::kMillisecond);

void BM_MoveToAnotherPatient(benchmark::State& bench)
{
    Practice& p = practice();
    TKaread browser(p.context(), true);
    browser.resize(1100, 720);
    std::mt19937 random(11);
    for (auto _ : bench) {
        browser.patientList()->selectRow(int(random() % kPatients));
        draw(browser.patientList()->grid());
        draw(browser.measurementGrid());
    }
}
BENCHMARK(BM_MoveToAnotherPatient)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
