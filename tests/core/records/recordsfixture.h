#pragma once
// Small databases for the records tests, made in temporary folders: the delivered files,
// old main databases of older layouts, and a display that records what the start-up showed.

#include "core/app/startupdisplay.h"
#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "core/records/schema.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSqlQuery>
#include <QStringList>
#include <array>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace tork::test {

// Runs STATEMENTS on the database file PATH (made when missing); each must succeed.
inline void runSql(const QString& path, const QStringList& statements)
{
    Database database;
    ASSERT_EQ(database.open(path, OpenMode::Create), QString());
    QSqlDatabase db = database.db();
    for (const QString& statement : statements) ASSERT_EQ(execute(db, statement), QString()) << qPrintable(statement);
}

// The first column of the first row of QUERY on PATH.
inline QVariant queryValue(const QString& path, const QString& query)
{
    Database database;
    if (!database.open(path, OpenMode::ReadOnly).isEmpty()) return {};
    QSqlDatabase db = database.db();
    QSqlQuery q(db);
    if (!q.exec(query) || !q.next()) return {};
    return q.value(0);
}

// The delivered files a complete installation has: template, reference and protocol databases.
inline void installDeliveredFiles(const QString& folder, bool withTemplate = true)
{
    if (withTemplate) {
        ASSERT_EQ(buildTemplateDatabase(QDir(folder).filePath(kTemplateDatabaseFile)), QString());
    }
    ASSERT_EQ(buildReferenceDatabase(QDir(folder).filePath(kReferenceDatabaseFile), {}, {}), QString());
    ASSERT_EQ(buildSystemProtocolDatabase(QDir(folder).filePath(kSystemProtocolDatabaseFile), {}), QString());
}

// Which optional column groups an old main database has.
struct OldLayout {
    bool std = true;          // KADATA.STD
    int protocolTexts = 13;   // how many of ProFN, ProScrp1..4, ProPrg1..4, ProParm1..4 (in order)
    bool ages = true;         // KAPRDT.ProAGL, ProAGH
};

// The statements that make the four tables of an old main database (no PREMEA needed).
inline QStringList oldLayoutTables(const OldLayout& layout = {})
{
    QString me;
    for (int i = 1; i <= 24; ++i) me += QStringLiteral(", ME%1 DOUBLE").arg(i);
    QStringList texts{"ProFN"};
    for (const char* stem : {"ProScrp", "ProPrg", "ProParm"})
        for (int i = 1; i <= 4; ++i) texts << QString::fromLatin1(stem) + QString::number(i);
    QString proTexts;
    for (int i = 0; i < layout.protocolTexts; ++i) proTexts += QStringLiteral(", ") + texts[i] + QStringLiteral(" TEXT");
    return {
        "CREATE TABLE KaCust (CustNo TEXT, Name TEXT, Sex BOOLEAN, DBirth DATETIME, Addr TEXT, Tel TEXT, Tel2 TEXT, Tel3 TEXT, "
        "EMail TEXT, Memo TEXT, PREMEA DATETIME, BType TEXT, Height DOUBLE, Weight DOUBLE, CustCat TEXT, CustFG TEXT, PrtFG BOOLEAN)",
        "CREATE TABLE KaData (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CustNo TEXT, MeDate DATETIME, MeVota BOOLEAN" + me +
            ", MEMO1 TEXT, MEMO2 TEXT" + (layout.std ? QStringLiteral(", STD TEXT") : QString()) + ", AutoKey TEXT, PrtFG BOOLEAN)",
        "CREATE TABLE KaPro (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, "
        "ProScal BOOLEAN, PrtFG BOOLEAN" + proTexts + ")",
        QStringLiteral("CREATE TABLE KaPrDt (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT, ProSubN TEXT, ProNote TEXT, "
                       "ProAnd TEXT, ProCond TEXT%1, ProEng DOUBLE, ProFlg BOOLEAN, PrtFG BOOLEAN)")
            .arg(layout.ages ? QStringLiteral(", ProAGL INTEGER, ProAGH INTEGER") : QString()),
    };
}

inline QString insertOldPatient(const QString& number, const QString& name)
{
    return QStringLiteral("INSERT INTO KaCust (CustNo, Name, Sex, DBirth) VALUES ('%1', '%2', 1, 20000.75)")
        .arg(QString(number).replace("'", "''"), name);
}

inline QString insertOldMeasurement(const QString& number, double date)
{
    return QStringLiteral("INSERT INTO KaData (CustNo, MeDate, MeVota, ME1, ME24, MEMO1) VALUES ('%1', %2, 0, 12.5, 99.5, 'memo')")
        .arg(QString(number).replace("'", "''")).arg(date, 0, 'f', 6);
}

class RecordingDisplay final : public StartupDisplay {
public:
    std::array<StepLight, 8> lights{};   // index 1..7
    QString caption;
    QString status;
    QList<int> progressShown;
    int processed = 0;

    void setLight(int n, StepLight state) override { lights.at(n) = state; }
    void setCaption(const QString& text) override { caption = text; }
    void setStatusText(const QString& text) override { status = text; }
    void setProgress(int percent) override { progressShown << percent; }
    int progress() const override { return progressShown.isEmpty() ? 0 : progressShown.last(); }
    void processEvents() override { ++processed; }
};

}  // namespace tork::test
