#pragma once
// A stored measurement (KADATA) and its patient (KACUST) as the record under analysis.

#include "core/analysis/analysis.h"
#include "core/records/patients.h"

#include <QSqlDatabase>
#include <optional>

namespace tork {

// The measurement's columns and the patient's number, name, telephone, gender and birth date.
// Without a patient row the record keeps the measurement's patient number, a male gender and
// an unknown birth date.
AnalysisRecord analysisRecordOf(const MeasurementRecord& measurement, const std::optional<PatientRecord>& patient);

struct StoredMeasurement {
    enum class Status {
        Loaded,
        Missing,     // no row with the key
        Unfinished,  // a value at 0 or below: not analysed
    };
    Status status = Status::Missing;
    AnalysisRecord record;       // filled for Loaded and Unfinished
    bool patientFound = false;   // the measurement's patient number names a KACUST row
};

StoredMeasurement loadStoredMeasurement(QSqlDatabase& db, qint64 measurementKey);

}  // namespace tork
