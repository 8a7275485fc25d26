// Which protocols a measurement's analysis recommends.

#include "core/app/formats.h"
#include "core/protocols/matching.h"
#include "core/records/connection.h"
#include "core/records/schema.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace {

using namespace tork;
using tork::test::TempProgramFolder;

const QDate kToday(2026, 12, 11);

ConditionRecord condition(const char* code, const char* required = "", bool must = false)
{
    ConditionRecord c;
    c.condition = QString::fromLatin1(code);
    c.required = QString::fromLatin1(required);
    c.must = must;
    return c;
}

MatchInputs normal()
{
    MatchInputs in;
    in.analysis.energyAverage = 45;
    in.age = 45;
    return in;
}

// Liver points are ME14 (left) and ME20 (right).
TEST(ProtocolMatching, RequiredNormalLiverHoldsOnlyWhenBothPointsAreNormal)
{
    const ConditionRecord normalLiver = condition("000000000000000000000000", "000000000000010000000000");
    const struct {
        int left, right;
        bool satisfied;
    } cases[] = {{0, 0, true}, {1, 0, false}, {0, -1, false}, {-3, 3, false}};
    for (const auto& c : cases) {
        MatchInputs in = normal();
        in.analysis.pointLevel[13] = c.left;
        in.analysis.pointLevel[19] = c.right;
        in.analysis.pointLevel[0] = 2;  // other meridians do not matter
        EXPECT_EQ(conditionSatisfied(normalLiver, in), c.satisfied) << c.left << " " << c.right;
    }
}

TEST(ProtocolMatching, MeridianDigitsReadBothSides)
{
    // Kidney: ME15 left, ME21 right.
    const struct {
        char digit;
        int left, right;
        bool satisfied;
    } cases[] = {
        {'1', -1, -2, true}, {'1', -1, 0, false}, {'2', 1, 3, true}, {'2', 1, -1, false},
        {'3', 0, 2, true},   {'3', -1, 0, true},  {'3', 0, 0, false}, {'4', 2, 2, false},
    };
    for (const auto& c : cases) {
        QString code(24, u'0');
        code[15] = QChar::fromLatin1(c.digit);
        MatchInputs in = normal();
        in.analysis.pointLevel[14] = c.left;
        in.analysis.pointLevel[20] = c.right;
        EXPECT_EQ(conditionSatisfied(condition(qPrintable(code)), in), c.satisfied) << c.digit << " " << c.left << " " << c.right;
    }
}

TEST(ProtocolMatching, StateItemsAndTheReversedMetabolism)
{
    const struct {
        const char* name;
        const char* code;
        int AnalysisResult::*state;
        int value;
        bool satisfied;
    } cases[] = {
        {"weak energy", "100000000000000000000000", &AnalysisResult::bodyEnergyState, -1, true},
        {"weak energy, strong state", "100000000000000000000000", &AnalysisResult::bodyEnergyState, 2, false},
        {"strong mind", "020000000000000000000000", &AnalysisResult::mentalState, 1, true},
        {"either mind", "030000000000000000000000", &AnalysisResult::mentalState, -3, true},
        {"atypical bone and muscle", "001000000000000000000000", &AnalysisResult::musculoskeletalState, -2, true},
        {"atypical bone and muscle, normal", "001000000000000000000000", &AnalysisResult::musculoskeletalState, 0, false},
        {"low metabolism is a raised state", "000100000000000000000000", &AnalysisResult::metabolismState, 2, true},
        {"low metabolism, lowered state", "000100000000000000000000", &AnalysisResult::metabolismState, -2, false},
        {"high metabolism is a lowered state", "000200000000000000000000", &AnalysisResult::metabolismState, -1, true},
        {"atypical autonomic nerves", "000010000000000000000000", &AnalysisResult::autonomicState, 3, true},
    };
    for (const auto& c : cases) {
        MatchInputs in = normal();
        in.analysis.*c.state = c.value;
        EXPECT_EQ(conditionSatisfied(condition(c.code), in), c.satisfied) << c.name;
    }

    // Elements by their rows of the five-elements table: Metal row 4, Water row 5.
    MatchInputs in = normal();
    in.analysis.elementLevel[4][0] = -1;
    in.analysis.elementLevel[5][0] = 2;
    in.analysis.elementLevel[1][0] = -2;  // Mo.Fire alone is no element item
    EXPECT_TRUE(conditionSatisfied(condition("000000000000000000001000"), in));   // Metal hypo
    EXPECT_FALSE(conditionSatisfied(condition("000000000000000000010000"), in));  // Earth hypo
    EXPECT_TRUE(conditionSatisfied(condition("000000000000000000000200"), in));   // Water hyper
    EXPECT_FALSE(conditionSatisfied(condition("000000000000000001000000"), in));  // Wood hypo
    EXPECT_FALSE(conditionSatisfied(condition("000000000000000000100000"), in));  // Fire hypo
    in.analysis.elementLevel[6][0] = 1;                                            // Fire (both)
    EXPECT_TRUE(conditionSatisfied(condition("000000000000000000200000"), in));   // Fire hyper
}

TEST(ProtocolMatching, EnergyRangeComparesTheWholePartOfTheAverage)
{
    const struct {
        char digit;
        double average;
        bool satisfied;
    } cases[] = {
        {'5', 41.0, true}, {'5', 40.9, false}, {'4', 40.9, true}, {'4', 41.0, false}, {'6', 39.99, true}, {'6', 40.5, false},
    };
    for (const auto& c : cases) {
        QString code(24, u'0');
        code[0] = QChar::fromLatin1(c.digit);
        ConditionRecord range = condition(qPrintable(code), "100000000000000000000000");
        range.energy = 40;
        MatchInputs in = normal();
        in.analysis.energyAverage = c.average;
        EXPECT_EQ(conditionSatisfied(range, in), c.satisfied) << c.digit << " " << c.average;
    }
}

TEST(ProtocolMatching, AgeAndGenderLimits)
{
    ConditionRecord middleAged = condition("000001000000000000000030");  // lung hypo, 40 to 60
    middleAged.ageLow = 40;
    middleAged.ageHigh = 60;
    MatchInputs in = normal();
    in.analysis.pointLevel[0] = in.analysis.pointLevel[6] = -1;
    // Age 0 (born this calendar year, or an unknown birth date) leaves the limits aside.
    for (const auto& [age, satisfied] : std::vector<std::pair<int, bool>>{{39, false}, {40, true}, {60, true}, {61, false}, {0, true}}) {
        in.age = age;
        EXPECT_EQ(conditionSatisfied(middleAged, in), satisfied) << "age " << age;
    }

    // Age limits alone make a condition; gender alone does too.
    in = normal();
    EXPECT_TRUE(conditionSatisfied(middleAged, in));
    const ConditionRecord male = condition("000000000000000000000001");
    const ConditionRecord female = condition("000000000000000000000002");
    EXPECT_TRUE(conditionSatisfied(male, in));
    EXPECT_FALSE(conditionSatisfied(female, in));
    in.isMale = false;
    EXPECT_FALSE(conditionSatisfied(male, in));
    EXPECT_TRUE(conditionSatisfied(female, in));
}

TEST(ProtocolMatching, AgeIsTheDifferenceOfCalendarYears)
{
    EXPECT_EQ(matchingAge(toDayCount(QDate(1965, 12, 31)), kToday), 61);
    EXPECT_EQ(matchingAge(toDayCount(QDate(2026, 1, 1)), kToday), 0);
    // An unknown birth date leaves the age limits aside instead of reading a birth in 1899.
    EXPECT_EQ(matchingAge(0, kToday), 0);
    EXPECT_EQ(matchingAge(-5, kToday), 0);

    AnalysisRecord record;
    record.birthDate = toDayCount(QDate(1965, 12, 31));
    record.isMale = false;
    AnalysisResult result;
    result.mentalState = -2;
    const MatchInputs in = matchInputs(record, result, kToday);
    EXPECT_EQ(in.age, 61);
    EXPECT_FALSE(in.isMale);
    EXPECT_EQ(in.analysis.mentalState, -2);
}

TEST(ProtocolMatching, RequiredItemsMustAllHoldAndOneItemMustHit)
{
    MatchInputs in = normal();
    in.analysis.bodyEnergyState = -1;
    in.analysis.pointLevel[0] = in.analysis.pointLevel[6] = -2;  // lung hypo
    // Weak energy required and lung hypo required: both hold.
    EXPECT_TRUE(conditionSatisfied(condition("100001000000000000000000", "100001000000000000000000"), in));
    // A required strong mind fails the condition, whatever else hits.
    EXPECT_FALSE(conditionSatisfied(condition("120001000000000000000000", "110001000000000000000000"), in));
    // Unrequired items that do not hit have no effect.
    EXPECT_TRUE(conditionSatisfied(condition("120001000000000000000000", "100000000000000000000000"), in));
    // Only zero digits and no ticks never hit.
    EXPECT_FALSE(conditionSatisfied(condition("000000000000000000000000", "000000000000000000000000"), in));
    EXPECT_FALSE(conditionSatisfied(condition("", ""), in));
}

TEST(ProtocolMatching, MustConditionsDecideTheProtocol)
{
    MatchInputs in = normal();
    in.analysis.mentalState = 2;
    const ConditionRecord satisfied = condition("020000000000000000000000");
    const ConditionRecord failing = condition("100000000000000000000000");
    const ConditionRecord failingMust = condition("100000000000000000000000", "", true);
    const ConditionRecord satisfiedMust = condition("020000000000000000000000", "", true);
    const struct {
        const char* name;
        std::vector<ConditionRecord> conditions;
        bool recommended;
    } cases[] = {
        {"no conditions", {}, false},
        {"one satisfied", {satisfied}, true},
        {"one failing, one satisfied", {failing, satisfied}, true},
        {"satisfied, then a failing must", {satisfied, failingMust}, false},
        {"failing must, then satisfied", {failingMust, satisfied}, false},
        {"satisfied must", {failing, satisfiedMust}, true},
        {"zero digits only", {condition(""), condition("000000000000000000000000")}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(protocolRecommended(c.conditions, in), c.recommended) << c.name;
}

TEST(ProtocolMatching, RecommendsFromADatabaseInProtocolNumberOrder)
{
    TempProgramFolder folder;
    Database database;
    ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Create), QString());
    QSqlDatabase db = database.db();
    ASSERT_EQ(createTables(db, mainDatabaseTables()), QString());

    const auto addProtocol = [&](const char* number, const char* name, std::vector<ConditionRecord> conditions) {
        ProtocolRecord p;
        p.number = QString::fromLatin1(number);
        p.name = QString::fromLatin1(name);
        ASSERT_EQ(appendProtocol(db, p), QString());
        for (ConditionRecord& c : conditions) {
            c.protocolNumber = p.number;
            ASSERT_EQ(appendCondition(db, c), QString());
        }
    };
    addProtocol("P3", "Third", {condition("020000000000000000000000")});
    addProtocol("P1", "First", {condition("030000000000000000000000")});
    addProtocol("P2", "Not for this one", {condition("010000000000000000000000")});
    addProtocol("P0", "Without conditions", {});
    // A condition stored under another letter case belongs to another protocol.
    ConditionRecord stray = condition("020000000000000000000000");
    stray.protocolNumber = QStringLiteral("p0");
    ASSERT_EQ(appendCondition(db, stray), QString());

    MatchInputs in = normal();
    in.analysis.mentalState = 1;
    const std::vector<ProtocolHeading> recommended = recommendProtocols(db, in);
    ASSERT_EQ(recommended.size(), 2u);
    EXPECT_EQ(recommended[0].name, "First");
    EXPECT_EQ(recommended[1].name, "Third");
    EXPECT_EQ(recommended[1].number, "P3");
    EXPECT_NE(recommended[0].key, recommended[1].key);
    EXPECT_EQ(protocolByKey(db, recommended[1].key)->name, "Third");
}

}  // namespace
