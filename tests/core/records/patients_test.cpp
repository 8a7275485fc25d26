// Patients and measurements in the main database: storing, renumbering, deleting, the
// latest measurement date, and the patient list in every order with its look-ups.

#include "recordsfixture.h"
#include "support/tempfolder.h"

#include "core/records/patients.h"
#include "core/records/stdlayout.h"

#include <algorithm>

using namespace tork;
using namespace tork::test;

namespace {

class RecordsPatients : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(buildTemplateDatabase(folder.file("tork6.mdb")), QString());
        ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Shared), QString());
        db = database.db();
    }

    PatientRecord addPatient(const QString& number, const QString& name = {}, double birth = 0, bool male = true)
    {
        PatientRecord p;
        p.number = number;
        p.name = name;
        p.birthDate = birth;
        p.male = male;
        EXPECT_EQ(appendPatient(db, p), QString());
        return p;
    }

    MeasurementRecord addMeasurement(const QString& number, double when)
    {
        MeasurementRecord m;
        m.patientNumber = number;
        m.dateTime = when;
        m.values.fill(when / 1000);
        EXPECT_EQ(appendMeasurement(db, m), QString());
        return m;
    }

    TempProgramFolder folder;
    Database database;
    QSqlDatabase db;
};

}  // namespace

TEST_F(RecordsPatients, EveryFieldComesBackAsStored)
{
    PatientRecord p;
    p.number = "A-1";
    p.name = "Müller, Anna";
    p.male = false;
    p.birthDate = 25000;
    p.address = "Street 1";
    p.telephone = "01";
    p.mobile = "02";
    p.fax = "03";
    p.email = "a@b.c";
    p.memo = "line 1\r\nline 2";
    p.latestMeasurement = 45000.5;
    p.bloodType = "AB";
    p.height = 170.5;
    p.weight = 60.25;
    p.category = "cat";
    p.customerFlag = "fg";
    p.printFlag = true;
    ASSERT_EQ(appendPatient(db, p), QString());
    ASSERT_GT(p.rowId, 0);
    const auto back = findPatient(db, "A-1");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rowId, p.rowId);
    EXPECT_EQ(back->name, p.name);
    EXPECT_EQ(back->male, p.male);
    EXPECT_EQ(back->birthDate, p.birthDate);
    EXPECT_EQ(back->memo, p.memo);
    EXPECT_EQ(back->latestMeasurement, p.latestMeasurement);
    EXPECT_EQ(back->height, p.height);
    EXPECT_EQ(back->weight, p.weight);
    EXPECT_EQ(back->customerFlag, p.customerFlag);
    EXPECT_EQ(back->printFlag, p.printFlag);
    EXPECT_EQ(back->fax, p.fax);

    MeasurementRecord m;
    m.patientNumber = "A-1";
    m.dateTime = 45000.375;
    m.highPotential = true;
    for (int i = 0; i < 24; ++i) m.values[i] = 10.5 + i;
    m.memo = "memo";
    m.memo2 = "memo2";
    m.hasQuality = true;
    for (int i = 0; i < 24; ++i) m.quality[i] = i % 3 == 0 ? 100.0 : 2.5 * i;
    m.autoKey = "k";
    ASSERT_EQ(appendMeasurement(db, m), QString());
    const auto stored = findMeasurement(db, m.key);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->values, m.values);
    EXPECT_EQ(stored->quality, m.quality);
    EXPECT_TRUE(stored->highPotential);
    EXPECT_EQ(stored->memo2, "memo2");
    // STD holds exactly 24 fields of 5 characters.
    const QString std = queryValue(folder.file("tork6.mdb"), "SELECT STD FROM KADATA").toString();
    EXPECT_EQ(std, formatStd(m.quality));
    EXPECT_EQ(std.size(), 120);
    EXPECT_EQ(std.left(10), "100.0  2.5");
}

TEST_F(RecordsPatients, MeasurementWithoutQualityStoresAnEmptyStd)
{
    addPatient("1");
    MeasurementRecord m = addMeasurement("1", 45000);
    EXPECT_EQ(queryValue(folder.file("tork6.mdb"), "SELECT length(STD) FROM KADATA").toInt(), 0);
    EXPECT_FALSE(findMeasurement(db, m.key)->hasQuality);
}

TEST_F(RecordsPatients, TextTooLongIsRefusedNamingTheFieldAndNothingIsStored)
{
    PatientRecord p;
    p.number = QString(16, '1');
    const QString error = appendPatient(db, p);
    EXPECT_TRUE(error.contains("CustNo")) << qPrintable(error);
    EXPECT_TRUE(error.contains("15")) << qPrintable(error);
    EXPECT_EQ(patientCount(db), 0);
}

TEST_F(RecordsPatients, NumbersWithQuotesAndWildcardsAreOnlyEverValues)
{
    for (const QString& number : {QStringLiteral("O'Neil"), QStringLiteral("x' OR '1'='1"), QStringLiteral("5%"), QStringLiteral("a_b")}) {
        addPatient(number);
        addMeasurement(number, 45000);
    }
    addPatient("5");
    addMeasurement("5", 46000);
    EXPECT_EQ(measurementsOf(db, "x' OR '1'='1").size(), 1u);
    EXPECT_EQ(measurementsOf(db, "5%").at(0).dateTime, 45000);
    EXPECT_TRUE(findPatient(db, "O'Neil"));
    EXPECT_FALSE(findPatient(db, "a%b"));
    ASSERT_EQ(refreshLatestMeasurement(db, "O'Neil"), QString());
    EXPECT_EQ(findPatient(db, "O'Neil")->latestMeasurement, 45000);
}

TEST_F(RecordsPatients, MeasurementsNewestFirstAndOnlyThePatientsOwn)
{
    addPatient("12");
    addPatient("123");
    addMeasurement("12", 45000.5);
    addMeasurement("123", 47000);
    addMeasurement("12", 46000.25);
    addMeasurement("12", 44000);
    const auto list = measurementsOf(db, "12");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].dateTime, 46000.25);
    EXPECT_EQ(list[1].dateTime, 45000.5);
    EXPECT_EQ(list[2].dateTime, 44000);
    EXPECT_EQ(measurementCount(db, "12"), 3);
    EXPECT_EQ(measurementCount(db), 4);
}

TEST_F(RecordsPatients, LatestMeasurementDateFollowsTheNewestOwnMeasurement)
{
    addPatient("12");
    addPatient("123");
    addPatient("9");
    addMeasurement("12", 45000.5);
    const MeasurementRecord newest = addMeasurement("12", 46000.25);
    addMeasurement("123", 47000);
    ASSERT_EQ(rebuildLatestMeasurements(db), QString());
    EXPECT_EQ(findPatient(db, "12")->latestMeasurement, 46000.25);
    EXPECT_EQ(findPatient(db, "123")->latestMeasurement, 47000);
    EXPECT_EQ(findPatient(db, "9")->latestMeasurement, 0);

    ASSERT_EQ(deleteMeasurement(db, newest.key), QString());
    ASSERT_EQ(refreshLatestMeasurement(db, "12"), QString());
    EXPECT_EQ(findPatient(db, "12")->latestMeasurement, 45000.5);
    for (const auto& m : measurementsOf(db, "12")) ASSERT_EQ(deleteMeasurement(db, m.key), QString());
    ASSERT_EQ(refreshLatestMeasurement(db, "12"), QString());
    EXPECT_EQ(findPatient(db, "12")->latestMeasurement, 0);
    EXPECT_EQ(findPatient(db, "123")->latestMeasurement, 47000);
}

TEST_F(RecordsPatients, RenumberingTakesTheMeasurementsAlongAndDeletingTakesThemAway)
{
    PatientRecord p = addPatient("12", "Twelve");
    addPatient("123", "Other");
    addMeasurement("12", 45000);
    addMeasurement("123", 45001);
    p.number = "120";
    ASSERT_EQ(updatePatient(db, p, "12"), QString());
    EXPECT_FALSE(findPatient(db, "12"));
    EXPECT_EQ(measurementCount(db, "120"), 1);
    EXPECT_EQ(measurementCount(db, "12"), 0);

    ASSERT_EQ(deletePatient(db, *findPatient(db, "120")), QString());
    EXPECT_EQ(patientCount(db), 1);
    EXPECT_EQ(measurementCount(db), 1);
    EXPECT_EQ(measurementCount(db, "123"), 1);
}

TEST_F(RecordsPatients, MeasurementKeysAreNeverReused)
{
    addPatient("1");
    const MeasurementRecord first = addMeasurement("1", 1);
    const MeasurementRecord second = addMeasurement("1", 2);
    ASSERT_EQ(deleteMeasurement(db, second.key), QString());
    const MeasurementRecord third = addMeasurement("1", 3);
    EXPECT_GT(third.key, second.key);
    EXPECT_GT(second.key, first.key);
}

TEST(RecordsPatientOrder, SortKeysChooseFieldAndDirection)
{
    const struct {
        int key;
        const char* column;
        bool descending;
    } cases[] = {{0, "CustNo", true},   {1, "CustNo", false},  {-1, "CustNo", true}, {2, "Name", false},
                 {3, "Sex", false},     {4, "DBirth", false},  {-5, "DBirth", true}, {6, "PREMEA", false},
                 {7, "Tel", false},     {8, "Addr", false},    {9, "EMail", false},  {10, "Tel2", false},
                 {-11, "Tel3", true}};
    for (const auto& c : cases) {
        const PatientOrder order = PatientOrder::fromSortKey(c.key);
        EXPECT_EQ(order.column(), c.column) << c.key;
        EXPECT_EQ(order.descending, c.descending) << c.key;
    }
}

// The list in each order against the same order computed here; ties keep the stored order.
TEST_F(RecordsPatients, ListPagesThroughEveryOrderAndLocatesRows)
{
    const struct {
        const char* number;
        const char* name;
        double birth;
        bool male;
    } rows[] = {{"123", "Berg", 20000, true}, {"12", "Adler", 30000, false}, {"7", "berg", 20000, true},
                {"1200", "Zoll", 10000.5, false}, {"a1", "", 0, true}, {"A1", "Adler", 30000, true},
                {"99", "Ähren", 25000, false}};
    std::vector<PatientRecord> stored;
    for (const auto& r : rows) stored.push_back(addPatient(r.number, r.name, r.birth, r.male));

    for (int key : {1, -1, 2, -2, 3, -3, 4, -4}) {
        SCOPED_TRACE(key);
        const PatientOrder order = PatientOrder::fromSortKey(key);
        std::vector<PatientRecord> expected = stored;
        const auto sortValue = [&](const PatientRecord& p) -> QVariant {
            switch (order.field) {
            case PatientSortField::Number: return p.number;
            case PatientSortField::Name: return p.name;
            case PatientSortField::Sex: return p.male ? 1 : 0;
            default: return p.birthDate;
            }
        };
        std::sort(expected.begin(), expected.end(), [&](const PatientRecord& a, const PatientRecord& b) {
            const QVariant va = sortValue(a), vb = sortValue(b);
            // Text orders by its UTF-8 bytes, numbers by value; equal values by stored order.
            int cmp = va.typeId() == QMetaType::QString ? va.toString().toUtf8().compare(vb.toString().toUtf8())
                                                        : (va.toDouble() < vb.toDouble() ? -1 : va.toDouble() > vb.toDouble());
            if (cmp == 0) cmp = a.rowId < b.rowId ? -1 : 1;
            return order.descending ? cmp > 0 : cmp < 0;
        });
        PatientList list(db, order);
        ASSERT_EQ(list.count(), int(stored.size()));
        QStringList paged;
        for (int first = 0; first < list.count(); first += 3)
            for (const PatientRecord& p : list.rows(first, 3)) paged << p.number;
        QStringList wanted;
        for (const PatientRecord& p : expected) wanted << p.number;
        EXPECT_EQ(paged, wanted);
        // Every row is found again at its own position (the first of the numbers equal but for case).
        for (int i = 0; i < int(expected.size()); ++i) {
            const auto position = list.locateNumberIgnoringCase(expected[i].number);
            ASSERT_TRUE(position) << qPrintable(expected[i].number);
            const auto sameNumber = [&](const PatientRecord& p) { return p.number.compare(expected[i].number, Qt::CaseInsensitive) == 0; };
            EXPECT_EQ(*position, int(std::find_if(expected.begin(), expected.end(), sameNumber) - expected.begin()))
                << qPrintable(expected[i].number);
        }
    }
}

TEST_F(RecordsPatients, PrefixSearchFindsTheFirstMatchInTheCurrentOrder)
{
    for (const char* number : {"123", "12", "1200", "7", "13", "a1", "A1"}) addPatient(number, QStringLiteral("N%1").arg(number));
    PatientList ascending(db, PatientOrder::fromSortKey(1));     // 12 1200 123 13 7 A1 a1
    PatientList descending(db, PatientOrder::fromSortKey(-1));   // a1 A1 7 13 123 1200 12
    const struct {
        const PatientList* list;
        const char* text;
        int position;   // -1: not found
    } cases[] = {{&ascending, "12", 0},  {&ascending, "123", 2}, {&ascending, "13", 3}, {&ascending, "a", 6},
                 {&ascending, "A", 5},   {&ascending, "8", -1},  {&descending, "12", 4}, {&descending, "120", 5},
                 {&descending, "1", 3},  {&descending, "a1", 0}, {&ascending, "", -1}};
    for (const auto& c : cases) {
        const auto found = c.list->locatePrefix(c.text);
        EXPECT_EQ(found.value_or(-1), c.position) << c.text << (c.list == &ascending ? " ascending" : " descending");
        if (found) {
            EXPECT_TRUE(c.list->row(*found)->number.startsWith(c.text));
        }
    }
    // Located by number while sorted by name: the row of "1200" in name order.
    PatientList byName(db, PatientOrder::fromSortKey(2));
    const auto position = byName.locateNumberPrefix("1200");
    ASSERT_TRUE(position);
    EXPECT_EQ(byName.row(*position)->number, "1200");
}

TEST_F(RecordsPatients, DateSearchFindsTheDayAndNotTheTextColumns)
{
    addPatient("1", "a", 20000);
    addPatient("2", "b", 30000.5);
    addPatient("3", "c", 30000);
    PatientList byBirth(db, PatientOrder::fromSortKey(4));
    EXPECT_EQ(byBirth.locateDay(30000.9).value_or(-1), 1);
    EXPECT_FALSE(byBirth.locateDay(25000));
    EXPECT_FALSE(byBirth.locatePrefix("3"));
    PatientList byName(db, PatientOrder::fromSortKey(2));
    EXPECT_FALSE(byName.locateDay(30000));
}
