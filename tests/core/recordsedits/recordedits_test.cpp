// Record edit helpers: the date search text, the manual entry cells, the "###.#" format,
// memo lines and the rewrite of a measurement's entered columns.

#include "support/tempfolder.h"

#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "core/records/patients.h"
#include "core/records/recordedits.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

using namespace tork;
using namespace tork::test;

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

TEST(RecordEditsSearchDate, ShortFormatsAndTwoDigitYears)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDate today(2026, 12, 11);
    const struct {
        QLocale locale;
        const char* text;
        QDate expected;   // invalid: no date
    } cases[] = {
        {us, "5/3/13", QDate(2013, 5, 3)},
        {us, "5/3/50", QDate(1950, 5, 3)},
        {us, "12/11/26", QDate(2026, 12, 11)},    // today itself stays in this century
        {us, "12/12/26", QDate(1926, 12, 12)},    // tomorrow of a birth date is a century back
        {us, "5/3/1913", QDate(1913, 5, 3)},
        {us, " 7/4/1976 ", QDate(1976, 7, 4)},
        {us, "13/40/20", QDate()},
        {us, "abc", QDate()},
        {us, "", QDate()},
        {german, "03.05.13", QDate(2013, 5, 3)},
        {german, "03.05.1913", QDate(1913, 5, 3)},
    };
    for (const auto& c : cases) {
        const auto date = parseSearchDate(QString::fromLatin1(c.text), c.locale, today);
        if (c.expected.isValid()) {
            ASSERT_TRUE(date) << c.text;
            EXPECT_EQ(*date, c.expected) << c.text;
        } else {
            EXPECT_FALSE(date) << c.text;
        }
    }
}

TEST(RecordEditsCells, KeyFilterTakesDigitsAndTheListedSigns)
{
    for (QChar c : QStringLiteral("0123456789.-%&'("))
        EXPECT_TRUE(isManualEntryCharacter(c)) << QString(c).toStdString();
    for (QChar c : QStringLiteral("aZ ,+)e/*"))
        EXPECT_FALSE(isManualEntryCharacter(c)) << QString(c).toStdString();
}

TEST(RecordEditsCells, NumbersAreBlankedClampedAndShownWithOneDecimal)
{
    const QLocale c = QLocale::c();
    const struct {
        const char* typed;
        bool converts;
        const char* shown;
        double stored;
    } cases[] = {
        {"250", true, "200.0", 200},  {"200", true, "200.0", 200},  {"12.34", true, " 12.3", 12.34},
        {"0.1", true, "  0.1", 0.1},  {"0.09", true, "", 0.09},     {"0.05", true, "", 0.05},
        {"", true, "", 0},            {"   ", true, "", 0},         {"-5", true, "", 0},
        {" 7 ", true, "  7.0", 7},    {"1-2", false, "", 0},        {"%", false, "", 0},
        {"(", false, "", 0},          {"..", false, "", 0},
    };
    for (const auto& k : cases) {
        const auto number = parseCellNumber(QString::fromLatin1(k.typed), c);
        ASSERT_EQ(number.has_value(), k.converts) << k.typed;
        if (!number) continue;
        EXPECT_EQ(cellText(*number), QString::fromLatin1(k.shown)) << k.typed;
        EXPECT_DOUBLE_EQ(storedCellValue(*number), k.stored) << k.typed;
    }
    // A comma locale reads its own separator and the point as well.
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(*parseCellNumber(QStringLiteral("12,5"), german), 12.5);
    EXPECT_DOUBLE_EQ(*parseCellNumber(QStringLiteral("12.5"), german), 12.5);
}

TEST(RecordEditsFormats, PointValuesInTheListFormat)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, ""}, {12.5, "12.5"}, {12.0, "12"}, {0.5, ".5"}, {199.96, "200"}, {0.04, ""}, {7.25, "7.3"}, {100.1, "100.1"}};
    for (const auto& c : cases) EXPECT_EQ(pointValueText(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(RecordEditsMemo, LinesEndedByCarriageReturnAndLineFeed)
{
    EXPECT_EQ(memoFromLines({"first", "second"}), "first\r\nsecond\r\n");
    EXPECT_EQ(memoFromLines({}), "");
    EXPECT_EQ(linesFromMemo("first\r\nsecond\r\n"), QStringList({"first", "second"}));
    EXPECT_EQ(linesFromMemo("one\ntwo"), QStringList({"one", "two"}));
    EXPECT_EQ(linesFromMemo("a\r\n\r\nb"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(linesFromMemo("").isEmpty());
}

TEST(RecordEditsMessages, TakenNumberNamesTheHolderTrimmed)
{
    EXPECT_EQ(numberTakenMessage("  Anna Berg "), "atient number is already taken and is named\r\n [ Anna Berg ] ! \r\nPlease input a new number.");
}

TEST(RecordEditsMeasurement, EnteredValuesRewriteOnlyTheirColumns)
{
    TempProgramFolder folder;
    ASSERT_EQ(buildTemplateDatabase(folder.file("tork6.mdb")), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Shared), QString());
    QSqlDatabase db = database.db();

    MeasurementRecord m;
    m.patientNumber = "P1";
    m.dateTime = 45000.5;
    m.values.fill(10);
    m.hasQuality = true;
    m.quality.fill(87.5);
    m.memo2 = "kept";
    ASSERT_EQ(appendMeasurement(db, m), QString());
    QSqlQuery raw(db);
    ASSERT_TRUE(raw.exec("UPDATE KADATA SET STD = '  odd text kept as it is' WHERE MKEY = " + QString::number(m.key)));

    std::array<double, 24> values{};
    for (int i = 0; i < 24; ++i) values[i] = i + 1;
    ASSERT_EQ(updateEnteredValues(db, m.key, 45001.25, true, "new memo", values), QString());

    const auto stored = findMeasurement(db, m.key);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->patientNumber, "P1");
    EXPECT_DOUBLE_EQ(stored->dateTime, 45001.25);
    EXPECT_TRUE(stored->highPotential);
    EXPECT_EQ(stored->memo, "new memo");
    EXPECT_EQ(stored->memo2, "kept");
    EXPECT_EQ(stored->values, values);
    QSqlQuery std(db);
    ASSERT_TRUE(std.exec("SELECT STD FROM KADATA WHERE MKEY = " + QString::number(m.key)) && std.next());
    EXPECT_EQ(std.value(0).toString(), "  odd text kept as it is");
}
