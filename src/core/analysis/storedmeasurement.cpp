#include "core/analysis/storedmeasurement.h"

namespace tork {

AnalysisRecord analysisRecordOf(const MeasurementRecord& measurement, const std::optional<PatientRecord>& patient)
{
    AnalysisRecord record;
    record.values = measurement.values;
    record.quality = measurement.quality;
    record.measuredAt = measurement.dateTime;
    record.highPotential = measurement.highPotential;
    record.notes = measurement.memo;
    record.measurementKey = int(measurement.key);
    record.patientNo = measurement.patientNumber;
    if (patient) {
        record.name = patient->name;
        record.telephone = patient->telephone;
        record.isMale = patient->male;
        record.birthDate = patient->birthDate;
    }
    return record;
}

StoredMeasurement loadStoredMeasurement(QSqlDatabase& db, qint64 measurementKey)
{
    StoredMeasurement stored;
    const std::optional<MeasurementRecord> measurement = findMeasurement(db, measurementKey);
    if (!measurement) return stored;
    const std::optional<PatientRecord> patient = findPatient(db, measurement->patientNumber);
    stored.patientFound = patient.has_value();
    stored.record = analysisRecordOf(*measurement, patient);
    stored.status = stored.record.isAnalysable() ? StoredMeasurement::Status::Loaded : StoredMeasurement::Status::Unfinished;
    return stored;
}

}  // namespace tork
