#include "core/protocols/matching.h"

#include "core/app/formats.h"
#include "core/protocols/conditioncode.h"

#include <QHash>
#include <cmath>

namespace tork {
namespace {

// Left and right point (ME numbers) of the meridian items Lung .. Bladder.
constexpr std::array<std::array<int, 2>, 12> kMeridianItemPoints{{
    {1, 7}, {6, 12}, {2, 8}, {5, 11}, {3, 9}, {4, 10}, {13, 19}, {18, 24}, {14, 20}, {17, 23}, {15, 21}, {16, 22}}};

// Rows of the five-elements table for the element items Wood, Fire (both), Earth, Metal, Water.
constexpr std::array<int, 5> kElementRowsOfItems{0, 6, 3, 4, 5};

// A state item: digit 1 hits below normal, 2 above, 3 either way; a required 0 hits on normal.
bool stateHits(int digit, bool required, int state)
{
    switch (digit) {
    case 0: return required && state == 0;
    case 1: return state < 0;
    case 2: return state > 0;
    case 3: return state != 0;
    default: return false;
    }
}

// "Atypical" items hit on any digit when the state is not normal.
bool atypicalHits(int digit, bool required, int state)
{
    if (digit == 0) return required && state == 0;
    return digit <= 3 && state != 0;
}

bool itemHits(int item, int digit, bool required, const ConditionRecord& condition, const MatchInputs& in)
{
    const AnalysisResult& a = in.analysis;
    switch (item) {
    case BodyEnergyItem: {
        const double whole = std::trunc(a.energyAverage);
        switch (digit) {
        case kEnergyRangeDigit: return whole == condition.energy;
        case kEnergyRangeDigit + 1: return whole > condition.energy;
        case kEnergyRangeDigit + 2: return whole < condition.energy;
        default: return stateHits(digit, required, a.bodyEnergyState);
        }
    }
    case MentalItem: return stateHits(digit, required, a.mentalState);
    case BoneMuscleItem: return atypicalHits(digit, required, a.musculoskeletalState);
    // "Low" metabolism is a raised yin/yang ratio, so the two choices read the state the other way.
    case MetabolismItem: return stateHits(digit, required, -a.metabolismState);
    case AutonomicItem: return atypicalHits(digit, required, a.autonomicState);
    case AgeItem:
        switch (digit) {
        case 1: return in.age >= condition.ageLow;
        case 2: return in.age <= condition.ageHigh;
        case 3: return in.age >= condition.ageLow && in.age <= condition.ageHigh;
        default: return false;
        }
    case GenderItem: return (digit == 1 && in.isMale) || (digit == 2 && !in.isMale);
    default: break;
    }
    if (item >= FirstMeridianItem && item <= LastMeridianItem) {
        const auto [left, right] = kMeridianItemPoints[item - FirstMeridianItem];
        const int l = a.pointLevel[left - 1];
        const int r = a.pointLevel[right - 1];
        switch (digit) {
        case 0: return required && l == 0 && r == 0;
        case 1: return l < 0 && r < 0;
        case 2: return l > 0 && r > 0;
        case 3: return l != 0 || r != 0;
        default: return false;
        }
    }
    return stateHits(digit, required, a.elementLevel[kElementRowsOfItems[item - FirstElementItem]][0]);
}

}  // namespace

int matchingAge(double birthDate, const QDate& today)
{
    if (birthDate <= 0) return 0;
    return today.year() - fromDayCount(birthDate).date().year();
}

MatchInputs matchInputs(const AnalysisRecord& record, const AnalysisResult& result, const QDate& today)
{
    return {result, matchingAge(record.birthDate, today), record.isMale};
}

bool conditionSatisfied(const ConditionRecord& condition, const MatchInputs& in)
{
    const QString code = storedConditionCode(condition.condition);
    const QString required = storedConditionCode(condition.required);
    bool result = false;
    for (int item = 1; item <= kConditionItemCount; ++item) {
        const int digit = conditionDigit(code, item);
        const bool isRequired = item <= kRequirableItemCount && itemRequired(required, item);
        if (item == AgeItem && in.age == 0) continue;
        const bool hits = itemHits(item, digit, isRequired, condition, in);
        const bool mustHold = item <= kRequirableItemCount ? isRequired : digit != 0;
        if (mustHold && !hits) return false;
        if (hits) result = true;
    }
    return result;
}

bool protocolRecommended(const std::vector<ConditionRecord>& conditions, const MatchInputs& in)
{
    bool mark = false;
    for (const ConditionRecord& condition : conditions) {
        const bool satisfied = conditionSatisfied(condition, in);
        if (condition.must && !satisfied) return false;
        if (satisfied) mark = true;
    }
    return mark;
}

std::vector<ProtocolHeading> recommendProtocols(QSqlDatabase& db, const MatchInputs& in)
{
    QHash<QString, std::vector<ConditionRecord>> conditionsByNumber;
    for (ConditionRecord& c : loadConditions(db)) conditionsByNumber[c.protocolNumber].push_back(std::move(c));
    std::vector<ProtocolHeading> recommended;
    for (ProtocolHeading& p : loadProtocolHeadings(db))
        if (protocolRecommended(conditionsByNumber.value(p.number), in)) recommended.push_back(std::move(p));
    return recommended;
}

}  // namespace tork
