#pragma once
// Which therapy protocols to recommend for the measurement under analysis. The same rules serve
// the user's protocols of the main database and the delivered ones of the system protocol
// database.

#include "core/analysis/analysis.h"
#include "core/records/protocolstore.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <vector>

namespace tork {

// What the conditions are tested against: the analysis of the measurement and the patient.
struct MatchInputs {
    AnalysisResult analysis;
    int age = 0;  // whole calendar years; 0 leaves every age limit aside
    bool isMale = true;
};

// The calendar year of today minus that of the birth date. An unknown birth date (a day count
// of 0 or less) gives 0, so that age limits are left aside rather than tested against a birth
// in 1899.
int matchingAge(double birthDate, const QDate& today);

MatchInputs matchInputs(const AnalysisRecord& record, const AnalysisResult& result, const QDate& today);

bool conditionSatisfied(const ConditionRecord& condition, const MatchInputs& inputs);
// Conditions in their reading order: recommended when one is satisfied and no "MUST" condition
// fails before the examination stops.
bool protocolRecommended(const std::vector<ConditionRecord>& conditions, const MatchInputs& inputs);

// Every protocol of the database (KAPRO in the order of KaProB, conditions from KAPRDT linked
// on ProNo) that is recommended, in reading order.
std::vector<ProtocolHeading> recommendProtocols(QSqlDatabase& db, const MatchInputs& inputs);

}  // namespace tork
