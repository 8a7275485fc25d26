#include "core/protocols/conditioncode.h"

namespace tork {
namespace {

bool isSingleBoxItem(int item) { return item == BoneMuscleItem || item == AutonomicItem; }

}  // namespace

QString emptyConditionCode() { return QString(kConditionItemCount, u'0'); }

QString storedConditionCode(const QString& code)
{
    const QString trimmed = code.trimmed();
    return trimmed.isEmpty() ? emptyConditionCode() : trimmed;
}

int conditionDigit(const QString& code, int item)
{
    const int at = item - 1;
    if (at < 0 || at >= code.size() || !code[at].isDigit()) return 0;
    return code[at].digitValue();
}

bool itemRequired(const QString& requiredCode, int item)
{
    const int at = item - 1;
    return at >= 0 && at < requiredCode.size() && requiredCode[at] == u'1';
}

ConditionBoxes decodeCondition(const QString& condition, const QString& required)
{
    const QString c = storedConditionCode(condition);
    const QString a = storedConditionCode(required);
    ConditionBoxes boxes;
    for (int item = 1; item <= kRequirableItemCount; ++item) {
        const int d = conditionDigit(c, item);
        boxes.required[item] = itemRequired(a, item);
        if (item == BodyEnergyItem && d >= kEnergyRangeDigit && d <= kEnergyRangeDigit + 2) {
            boxes.energyRange = true;
            boxes.energyComparison = EnergyComparison(d - kEnergyRangeDigit);
        } else if (isSingleBoxItem(item)) {
            boxes.first[item] = d >= 1 && d <= 3;
        } else {
            boxes.first[item] = d == 1 || d == 3;
            boxes.second[item] = d == 2 || d == 3;
        }
    }
    const int age = conditionDigit(c, AgeItem);
    boxes.ageAtLeast = age == 1 || age == 3;
    boxes.ageAtMost = age == 2 || age == 3;
    const int gender = conditionDigit(c, GenderItem);
    boxes.gender = gender == 1 ? GenderLimit::Male : gender == 2 ? GenderLimit::Female : GenderLimit::None;
    return boxes;
}

ConditionCode encodeCondition(const ConditionBoxes& boxes)
{
    ConditionCode code{emptyConditionCode(), emptyConditionCode()};
    const auto put = [](QString& s, int item, int digit) { s[item - 1] = QChar(u'0' + digit); };
    for (int item = 1; item <= kRequirableItemCount; ++item) {
        int digit = 0;
        if (item == BodyEnergyItem && boxes.energyRange)
            digit = kEnergyRangeDigit + std::max(0, int(boxes.energyComparison));
        else if (isSingleBoxItem(item))
            digit = boxes.first[item] ? 1 : 0;
        else
            digit = (boxes.first[item] ? 1 : 0) + (boxes.second[item] ? 2 : 0);
        put(code.condition, item, digit);
        put(code.required, item, boxes.required[item] ? 1 : 0);
    }
    put(code.condition, AgeItem, (boxes.ageAtLeast ? 1 : 0) + (boxes.ageAtMost ? 2 : 0));
    put(code.condition, GenderItem, int(boxes.gender));
    return code;
}

QString conditionCodeProblem(const QString& condition, const QString& required, int ageLow, int ageHigh)
{
    const QString c = storedConditionCode(condition);
    const QString a = storedConditionCode(required);
    if (c.size() != kConditionItemCount) return QStringLiteral("ProCond must hold 24 digits");
    if (a.size() != kConditionItemCount) return QStringLiteral("ProAnd must hold 24 digits");
    const ConditionCode again = encodeCondition(decodeCondition(c, a));
    for (int item = 1; item <= kConditionItemCount; ++item) {
        if (c[item - 1] != again.condition[item - 1])
            return QStringLiteral("ProCond item %1: \"%2\" is not a choice of this item").arg(item).arg(c[item - 1]);
        if (a[item - 1] != again.required[item - 1])
            return QStringLiteral("ProAnd item %1: \"%2\" is not allowed here").arg(item).arg(a[item - 1]);
    }
    if (conditionDigit(c, AgeItem) == 3 && ageLow > ageHigh)
        return QStringLiteral("the lowest age %1 is above the highest age %2").arg(ageLow).arg(ageHigh);
    bool canHit = conditionDigit(c, AgeItem) != 0 || conditionDigit(c, GenderItem) != 0;
    for (int item = 1; item <= kRequirableItemCount && !canHit; ++item)
        canHit = conditionDigit(c, item) != 0 || itemRequired(a, item);
    if (!canHit) return QStringLiteral("no item is set, so the condition can never be satisfied");
    return {};
}

}  // namespace tork
