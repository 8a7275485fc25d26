#pragma once
// One measurement as JSON in, its complete analysis as JSON out (the companion tool's
// exchange format for scripts and batch work).

#include "core/analysis/analysis.h"
#include "core/analysis/statements.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace tork {

struct MeasurementInput {
    AnalysisRecord record;
    std::optional<std::array<double, kMeridianCount>> compensationFactors;  // absent: the settings' set
};

struct MeasurementInputParse {
    std::optional<MeasurementInput> input;
    QString error;  // why the text is not an analysable measurement; empty when input is set
};

// {"values":[24], "quality":[24, optional], "isMale":bool, "birthDate":day count or 0,
//  "measuredAt":day count, "compensationFactors":[12, optional]}. Other keys are ignored.
MeasurementInputParse parseMeasurementJson(const QByteArray& text);

// Every field of the result under its own name, the six thresholds as Te, Th, Td, Tl, Tf1,
// Tf2, the five statements and the three lists of {"text", "key"}.
QJsonObject analysisToJson(const AnalysisResult& result, const AnalysisTexts& texts);

// The first ME number (1..24) whose value is not above 0, or 0 when every value is.
int firstUnfinishedPoint(const AnalysisRecord& record);

}  // namespace tork
