// Loading a stored measurement and its patient into the record under analysis.

#include "core/analysis/storedmeasurement.h"
#include "core/records/connection.h"
#include "core/records/schema.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tork {
namespace {

class StoredMeasurementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(file_.open(folder_.file(kMainDatabaseFile), OpenMode::Create), "");
        db_ = file_.db();
        ASSERT_EQ(createTables(db_, mainDatabaseTables()), "");
        PatientRecord patient;
        patient.number = "P-7";
        patient.name = "Mei Ling";
        patient.male = false;
        patient.birthDate = 29000;
        patient.telephone = "555 0107";
        ASSERT_EQ(appendPatient(db_, patient), "");
    }

    qint64 store(const QString& number, std::array<double, 24> values)
    {
        MeasurementRecord m;
        m.patientNumber = number;
        m.dateTime = 45000.5;
        m.highPotential = true;
        m.values = values;
        m.memo = "tired\r\nslept badly";
        EXPECT_EQ(appendMeasurement(db_, m), "");
        return m.key;
    }

    static std::array<double, 24> valuesFrom(double first)
    {
        std::array<double, 24> values;
        for (int i = 0; i < 24; ++i) values[i] = first + i;
        return values;
    }

    test::TempProgramFolder folder_;
    Database file_;
    QSqlDatabase db_;
};

TEST_F(StoredMeasurementTest, LoadsTheRowAndItsPatient)
{
    const qint64 key = store("P-7", valuesFrom(30));
    // Quality as the measurement window writes it, with one unreadable field.
    QString std = QString(" 96.5").repeated(24);
    std.replace(5, 5, " x.y ");
    ASSERT_EQ(execute(db_, "UPDATE KADATA SET STD = ? WHERE MKEY = ?", {std, key}), "");

    const StoredMeasurement stored = loadStoredMeasurement(db_, key);
    ASSERT_EQ(stored.status, StoredMeasurement::Status::Loaded);
    EXPECT_TRUE(stored.patientFound);
    const AnalysisRecord& r = stored.record;
    EXPECT_EQ(r.values, valuesFrom(30));
    EXPECT_EQ(r.quality[0], 96.5);
    EXPECT_EQ(r.quality[1], 0);
    EXPECT_EQ(r.quality[23], 96.5);
    EXPECT_EQ(r.measuredAt, 45000.5);
    EXPECT_TRUE(r.highPotential);
    EXPECT_EQ(r.notes, "tired\r\nslept badly");
    EXPECT_EQ(r.measurementKey, key);
    EXPECT_EQ(r.patientNo, "P-7");
    EXPECT_EQ(r.name, "Mei Ling");
    EXPECT_EQ(r.telephone, "555 0107");
    EXPECT_FALSE(r.isMale);
    EXPECT_EQ(r.birthDate, 29000);
}

TEST_F(StoredMeasurementTest, EmptyQualityGivesZeros)
{
    const StoredMeasurement stored = loadStoredMeasurement(db_, store("P-7", valuesFrom(30)));
    EXPECT_EQ(stored.record.quality, (std::array<double, 24>{}));
}

TEST_F(StoredMeasurementTest, UnfinishedMissingAndOrphanRows)
{
    std::array<double, 24> zero = valuesFrom(30);
    zero[23] = 0;
    std::array<double, 24> negative = valuesFrom(30);
    negative[4] = -1;
    EXPECT_EQ(loadStoredMeasurement(db_, store("P-7", zero)).status, StoredMeasurement::Status::Unfinished);
    EXPECT_EQ(loadStoredMeasurement(db_, store("P-7", negative)).status, StoredMeasurement::Status::Unfinished);

    const qint64 nulls = store("P-7", valuesFrom(30));
    ASSERT_EQ(execute(db_, "UPDATE KADATA SET ME12 = NULL WHERE MKEY = ?", {nulls}), "");
    EXPECT_EQ(loadStoredMeasurement(db_, nulls).status, StoredMeasurement::Status::Unfinished);

    EXPECT_EQ(loadStoredMeasurement(db_, 9999).status, StoredMeasurement::Status::Missing);

    const StoredMeasurement orphan = loadStoredMeasurement(db_, store("GONE", valuesFrom(10)));
    EXPECT_EQ(orphan.status, StoredMeasurement::Status::Loaded);
    EXPECT_FALSE(orphan.patientFound);
    EXPECT_EQ(orphan.record.patientNo, "GONE");
    EXPECT_TRUE(orphan.record.isMale);
    EXPECT_EQ(orphan.record.birthDate, 0);
}

}  // namespace
}  // namespace tork
