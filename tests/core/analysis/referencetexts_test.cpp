// Reading the scrambled texts of KAMTDB from a reference database file.

#include "core/analysis/statements.h"
#include "core/app/scramble.h"
#include "core/records/referencetexts.h"
#include "records.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace tork {
namespace {

// Writes KAMTDB with the given rows (column name -> stored text) into a new file.
void writeReferenceDatabase(const QString& path, const QList<std::pair<int, QHash<QString, QString>>>& rows)
{
    const QString connection = QStringLiteral("reference-fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QStringList columns;
        for (int f = 0; f < kReferenceFieldCount; ++f) columns << referenceColumnName(ReferenceField(f)) + " TEXT";
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE KAMTDB (MKEY INTEGER, %1, DtGpM BLOB)").arg(columns.join(", "))))
            << query.lastError().text().toStdString();
        for (const auto& [key, fields] : rows) {
            QSqlQuery insert(db);
            QStringList names{"MKEY"};
            QStringList marks{"?"};
            for (auto it = fields.begin(); it != fields.end(); ++it) {
                names << it.key();
                marks << "?";
            }
            ASSERT_TRUE(insert.prepare(QStringLiteral("INSERT INTO KAMTDB (%1) VALUES (%2)").arg(names.join(", "), marks.join(", "))));
            insert.addBindValue(key);
            for (auto it = fields.begin(); it != fields.end(); ++it) insert.addBindValue(it.value());
            ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

TEST(ReferenceTexts, ReadsAndUnscramblesARow)
{
    test::TempProgramFolder folder;
    const QString path = folder.file(kReferenceDatabaseFileName);
    writeReferenceDatabase(path, {
        {1, {{"DtMA1", scramble("The lung governs qi.\r\nSecond line", 1)}, {"dtmh5", scramble("Excess: LU", 1)}}},
        {2, {{"DtMA1", "not scrambled text"}, {"DtMA3", scramble("Pears", 1)}}},
    });

    const ReferenceDatabase texts(path);
    ASSERT_TRUE(texts.isOpen());
    const std::optional<ReferenceEntry> lung = texts.entry(1);
    ASSERT_TRUE(lung.has_value());
    EXPECT_EQ(lung->text(ReferenceField::DtMA1), "The lung governs qi.\r\nSecond line");
    EXPECT_EQ(lung->text(ReferenceField::DtMH5), "Excess: LU");
    EXPECT_EQ(lung->text(ReferenceField::DtML1), "");  // NULL column

    const std::optional<ReferenceEntry> pericardium = texts.entry(2);
    ASSERT_TRUE(pericardium.has_value());
    EXPECT_EQ(pericardium->text(ReferenceField::DtMA1), "");  // unreadable text shows as empty
    EXPECT_EQ(pericardium->text(ReferenceField::DtMA3), "Pears");

    EXPECT_FALSE(texts.entry(3).has_value());

    // The analysis explanation reads through the same interface.
    const AnalysisResult result = computeAnalysis(test::mixedRecord(), test::kUnitFactors);
    const Explanation explanation = composeExplanation(ListKind::Analysis, 1, result, texts);
    EXPECT_EQ(explanation.ryodorakuLines, QStringList{"Excess: LU"});
    EXPECT_EQ(explanation.lines.mid(4, 2), (QStringList{"The lung governs qi.", "Second line"}));
    EXPECT_EQ(composeExplanation(ListKind::Analysis, 3, result, texts), Explanation{});
}

TEST(ReferenceTexts, MissingFileOrTableHasNoRows)
{
    test::TempProgramFolder folder;
    const QString missing = folder.file(kReferenceDatabaseFileName);
    {
        const ReferenceDatabase texts(missing);
        EXPECT_FALSE(texts.isOpen());
        EXPECT_FALSE(texts.entry(1).has_value());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));  // looking did not create an empty database

    const QString other = folder.file("empty.mdb");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "empty-fixture");
        db.setDatabaseName(other);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE OTHER (X INTEGER)");
        db.close();
    }
    QSqlDatabase::removeDatabase("empty-fixture");
    const ReferenceDatabase noTable(other);
    EXPECT_FALSE(noTable.entry(1).has_value());
}

}  // namespace
}  // namespace tork
