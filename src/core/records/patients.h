#pragma once
// Patients (KACUST) and their measurements (KADATA) in the main database.
// Every value goes into a statement as a bound parameter; nothing typed by the operator is
// ever part of SQL text.

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace tork {

struct PatientRecord {
    qint64 rowId = 0;              // the engine's row identity; 0 for a patient not stored yet
    QString number;                // CustNo
    QString name;                  // Name
    bool male = true;              // Sex
    double birthDate = 0;          // DBirth, day count, 0 = unknown
    QString address;               // Addr
    QString telephone;             // Tel
    QString mobile;                // Tel2
    QString fax;                   // Tel3
    QString email;                 // EMail
    QString memo;                  // Memo
    double latestMeasurement = 0;  // PREMEA, 0 = none
    QString bloodType;             // BType, carried only
    double height = 0;             // Height, carried only
    double weight = 0;             // Weight, carried only
    QString category;              // CustCat, carried only
    QString customerFlag;          // CustFG, carried only
    bool printFlag = false;        // PrtFG, carried only
};

struct MeasurementRecord {
    qint64 key = 0;                       // MKEY; 0 for a measurement not stored yet
    QString patientNumber;                // CustNo
    double dateTime = 0;                  // MeDate
    bool highPotential = false;           // MeVota
    std::array<double, 24> values{};      // ME1..ME24 by ME number
    QString memo;                         // MEMO1
    QString memo2;                        // MEMO2, carried only
    bool hasQuality = false;              // false: STD is empty
    std::array<double, 24> quality{};     // STD
    QString autoKey;                      // AutoKey, carried only
    bool printFlag = false;               // PrtFG, carried only
};

// ---- patients ----

// Returns an error text or empty; sets record.rowId.
QString appendPatient(QSqlDatabase& db, PatientRecord& record);
// Writes the row record.rowId. When the number changed from previousNumber, the patient's
// measurements are renumbered with him, in the same transaction.
QString updatePatient(QSqlDatabase& db, const PatientRecord& record, const QString& previousNumber);
// Deletes the patient row and every measurement with his number, in one transaction.
QString deletePatient(QSqlDatabase& db, const PatientRecord& record);
std::optional<PatientRecord> findPatient(QSqlDatabase& db, const QString& number,
                                         Qt::CaseSensitivity cs = Qt::CaseSensitive);
std::optional<PatientRecord> patientByRowId(QSqlDatabase& db, qint64 rowId);
int patientCount(QSqlDatabase& db);

// ---- measurements ----

// A patient's measurements, newest first.
std::vector<MeasurementRecord> measurementsOf(QSqlDatabase& db, const QString& number);
int measurementCount(QSqlDatabase& db, const QString& number);
int measurementCount(QSqlDatabase& db);
std::optional<MeasurementRecord> findMeasurement(QSqlDatabase& db, qint64 key);
// Sets record.key to the engine's new key.
QString appendMeasurement(QSqlDatabase& db, MeasurementRecord& record);
QString updateMeasurement(QSqlDatabase& db, const MeasurementRecord& record);
QString deleteMeasurement(QSqlDatabase& db, qint64 key);

// ---- PREMEA ----

// Sets the patients' (with this exact number) latest measurement date to the newest MeDate
// of their own measurements, 0 when none remains.
QString refreshLatestMeasurement(QSqlDatabase& db, const QString& number);
QString setLatestMeasurement(QSqlDatabase& db, const QString& number, double dateTime);
// Recomputes every patient's latest measurement date from the measurements whose number is
// exactly his ("12" never takes the dates of "123"); never below 0. `progress` is called with
// patients done and the patient count between batches. Runs inside the caller's transaction
// when there is one.
QString rebuildLatestMeasurements(QSqlDatabase& db, const std::function<void(int done, int total)>& progress = {});

// ---- the patient list ----

// The sortable fields of the patient list, by sort column 1..11 (the age column sorts by birth date).
enum class PatientSortField { Number, Name, Sex, BirthDate, LatestMeasurement, Telephone, Address, Email, Mobile, Fax };

struct PatientOrder {
    PatientSortField field = PatientSortField::Number;
    bool descending = true;

    // Signed sort column 1..11, negative = descending, 0 taken as -1.
    static PatientOrder fromSortKey(int sortKey);
    QString column() const;   // KACUST column name
    bool isText() const;
};

// A snapshot-free view of KACUST in one order: the count comes from COUNT(*), rows come a
// page at a time through ORDER BY .. LIMIT, and look-ups return a row's position in the order.
// Rows with the same sort value keep the order in which they were stored.
class PatientList {
public:
    PatientList(QSqlDatabase db, PatientOrder order);

    PatientOrder order() const { return order_; }
    // Re-reads the count (after any change).
    void refresh();
    int count() const { return count_; }
    std::vector<PatientRecord> rows(int first, int count) const;
    std::optional<PatientRecord> row(int position) const;

    // First row, in the list's order, whose sort column begins with TEXT (letter case counts).
    // Text columns only; nullopt when nothing matches or the column is not text.
    std::optional<int> locatePrefix(const QString& text) const;
    // First row, in the list's order, whose date part of the sort column equals DAY (birth date, latest measurement).
    std::optional<int> locateDay(double day) const;
    // First row, in the list's order, whose number begins with NUMBER (letter case counts).
    std::optional<int> locateNumberPrefix(const QString& number) const;
    // First row, in the list's order, whose number equals NUMBER ignoring letter case.
    std::optional<int> locateNumberIgnoringCase(const QString& number) const;

private:
    std::optional<int> locateFirst(const QString& condition, const QVariantList& values) const;
    int positionOf(const QVariant& sortValue, qint64 rowId) const;

    QSqlDatabase db_;
    PatientOrder order_;
    int count_ = 0;
};

// The upper bound of the text range of every text beginning with PREFIX (for "col >= prefix AND col < bound").
QString prefixUpperBound(const QString& prefix);

}  // namespace tork
