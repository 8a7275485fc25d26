// Reading the scrambled texts of KAMTDB from a reference database file.

#include "core/analysis/statements.h"
#include "core/app/scramble.h"
#include "core/records/referencetexts.h"
#include "core/records/schema.h"
#include "records.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStringList>

namespace tork {
namespace {

// Writes KAMTDB with the given rows (column name -> stored text) into a new file.
void writeReferenceDatabase(const QString& path, const QList<std::pair<int, QHash<QString, QString>>>& rows)
{
    Database file;
    ASSERT_EQ(file.open(path, OpenMode::Create), "");
    QSqlDatabase db = file.db();
    ASSERT_EQ(createTables(db, referenceDatabaseTables()), "");
    for (const auto& [key, fields] : rows) {
        QStringList names{"MKEY"};
        QVariantList values{key};
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            names << it.key();
            values << it.value();
        }
        const QString marks = QStringList(names.size(), "?").join(", ");
        ASSERT_EQ(execute(db, QStringLiteral("INSERT INTO KAMTDB (%1) VALUES (%2)").arg(names.join(", "), marks), values), "");
    }
}

TEST(ReferenceTexts, ReadsAndUnscramblesARow)
{
    test::TempProgramFolder folder;
    const QString path = folder.file(kReferenceDatabaseFile);
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
    const QString missing = folder.file(kReferenceDatabaseFile);
    {
        const ReferenceDatabase texts(missing);
        EXPECT_FALSE(texts.isOpen());
        EXPECT_FALSE(texts.entry(1).has_value());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));  // looking did not create an empty database

    const QString other = folder.file("empty.mdb");
    {
        Database file;
        ASSERT_EQ(file.open(other, OpenMode::Create), "");
        QSqlDatabase db = file.db();
        ASSERT_EQ(execute(db, "CREATE TABLE OTHER (X INTEGER)"), "");
    }
    const ReferenceDatabase noTable(other);
    EXPECT_FALSE(noTable.entry(1).has_value());
}

}  // namespace
}  // namespace tork
