#pragma once
// A measurement given as JSON to the companion tool (analyze, chart):
//
//   {
//     "values":  [24 numbers, microampere, ME1 .. ME24],          required, all above 0
//     "quality": [24 numbers, ME1 .. ME24],                        optional, zeros
//     "measuredAt": "2026-12-11T07:30:00" or a day count,          optional, none
//     "highPotential": false, "notes": "...", "measurementKey": 0,
//     "patientNo": "...", "name": "...", "telephone": "...",
//     "isMale": true, "birthDate": "1980-05-17" or a day count,    optional, unknown
//     "compensationFactors": [12 numbers, LU .. ST]                optional: the settings decide
//   }

#include "core/analysis/analysis.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace tork {

struct MeasurementJson {
    AnalysisRecord record;
    // Given in the file; otherwise the program folder's settings choose the factors.
    std::optional<std::array<double, kMeridianCount>> compensationFactors;
};

// Parses and checks the text; on failure returns nothing and sets *error to a sentence that
// names the offending field.
std::optional<MeasurementJson> readMeasurementJson(const QByteArray& text, QString* error);

}  // namespace tork
