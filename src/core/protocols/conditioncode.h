#pragma once
// The encoding of a protocol condition: ProCond holds one decimal digit per condition item
// (24 items), ProAnd one "1"/"0" per item saying whether the item is ticked as required (items
// 1 to 22; the age and gender items have no tick). ConditionBoxes is the same condition as the
// condition editor shows it, box by box.

#include <QString>
#include <array>

namespace tork {

constexpr int kConditionItemCount = 24;
constexpr int kRequirableItemCount = 22;

// Item positions (1-based, as in the digit strings).
enum ConditionItem : int {
    BodyEnergyItem = 1,       // "Weak" / "Strong", or a "Range" comparison with ProEng
    MentalItem = 2,           // "Fragile" / "Strong"
    BoneMuscleItem = 3,       // "Atypical"
    MetabolismItem = 4,       // "Low" / "High"
    AutonomicItem = 5,        // "Atypical"
    FirstMeridianItem = 6,    // 6..17: Lung .. Bladder, "Hypo" / "Hyper"
    LastMeridianItem = 17,
    FirstElementItem = 18,    // 18..22: Wood, Fire, Earth, Metal, Water, "Hypo" / "Hyper"
    LastElementItem = 22,
    AgeItem = 23,             // "  >=" ProAGL, "  <=" ProAGH
    GenderItem = 24,          // 0 no limit, 1 "Male", 2 "Female"
};

// First digit of the body energy range comparisons: 4 "= Equal to", 5 "> Greater then",
// 6 "< Smaller then".
constexpr int kEnergyRangeDigit = 4;

// The empty condition, "000000000000000000000000".
QString emptyConditionCode();
// A stored ProCond or ProAnd as it is read: trimmed, and the empty condition when empty.
QString storedConditionCode(const QString& code);

// The digit of an item: a missing or non-digit character counts as 0.
int conditionDigit(const QString& code, int item);
// Whether an item is ticked as required ("1" at its place of ProAnd).
bool itemRequired(const QString& requiredCode, int item);

enum class EnergyComparison { None = -1, Equal = 0, Greater = 1, Smaller = 2 };
enum class GenderLimit { None = 0, Male = 1, Female = 2 };

struct ConditionBoxes {
    // Indexed by item position 1..22 (index 0 unused). The first box is "Weak", "Fragile",
    // "Atypical", "Low" or "Hypo"; the second "Strong", "High" or "Hyper" (the two
    // "Atypical" items have no second box).
    std::array<bool, kRequirableItemCount + 1> first{};
    std::array<bool, kRequirableItemCount + 1> second{};
    std::array<bool, kRequirableItemCount + 1> required{};
    bool energyRange = false;
    EnergyComparison energyComparison = EnergyComparison::None;
    bool ageAtLeast = false;  // "  >=" ProAGL
    bool ageAtMost = false;   // "  <=" ProAGH
    GenderLimit gender = GenderLimit::None;

    bool operator==(const ConditionBoxes&) const = default;
};

struct ConditionCode {
    QString condition;  // ProCond
    QString required;   // ProAnd
};

// Empty strings decode as the empty condition.
ConditionBoxes decodeCondition(const QString& condition, const QString& required);
ConditionCode encodeCondition(const ConditionBoxes& boxes);

// Why a stored condition is not one the editor can write or can never be satisfied, or empty
// when it is sound: a digit string that does not survive decoding and encoding unchanged, an
// age range whose lowest age is above its highest, or a condition without any item that could
// hit.
QString conditionCodeProblem(const QString& condition, const QString& required, int ageLow, int ageHigh);

}  // namespace tork
