// The digit strings of a protocol condition and the boxes of the condition editor.

#include "core/protocols/conditioncode.h"

#include <gtest/gtest.h>

namespace {

using namespace tork;

TEST(ConditionCode, BoxesEncodeIntoTheirDigits)
{
    const struct {
        const char* name;
        void (*tick)(ConditionBoxes&);
        const char* condition;
        const char* required;
    } cases[] = {
        {"nothing", [](ConditionBoxes&) {}, "000000000000000000000000", "000000000000000000000000"},
        {"weak and strong body energy", [](ConditionBoxes& b) { b.first[1] = b.second[1] = true; },
         "300000000000000000000000", "000000000000000000000000"},
        {"range with nothing selected", [](ConditionBoxes& b) { b.energyRange = true; b.first[1] = true; },
         "400000000000000000000000", "000000000000000000000000"},
        {"range smaller than", [](ConditionBoxes& b) { b.energyRange = true; b.energyComparison = EnergyComparison::Smaller; },
         "600000000000000000000000", "000000000000000000000000"},
        {"liver hypo and hyper", [](ConditionBoxes& b) { b.first[14] = b.second[14] = true; },
         "000000000000030000000000", "000000000000000000000000"},
        {"atypical bone and muscle, fragile mind, high metabolism",
         [](ConditionBoxes& b) { b.first[3] = true; b.first[2] = true; b.second[4] = true; },
         "011200000000000000000000", "000000000000000000000000"},
        {"water hyper required", [](ConditionBoxes& b) { b.second[22] = true; b.required[22] = true; },
         "000000000000000000000200", "000000000000000000000100"},
        {"every tick required still ends in 00", [](ConditionBoxes& b) { b.required.fill(true); b.required[0] = false; },
         "000000000000000000000000", "111111111111111111111100"},
        {"both age limits, female", [](ConditionBoxes& b) { b.ageAtLeast = b.ageAtMost = true; b.gender = GenderLimit::Female; },
         "000000000000000000000032", "000000000000000000000000"},
        {"lowest age, male", [](ConditionBoxes& b) { b.ageAtLeast = true; b.gender = GenderLimit::Male; },
         "000000000000000000000011", "000000000000000000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConditionBoxes boxes;
        c.tick(boxes);
        const ConditionCode code = encodeCondition(boxes);
        EXPECT_EQ(code.condition, QString::fromLatin1(c.condition));
        EXPECT_EQ(code.required, QString::fromLatin1(c.required));
        // What the editor shows for the stored strings is what was ticked, apart from boxes the
        // range hides.
        ConditionBoxes shown = boxes;
        if (boxes.energyRange) {
            shown.first[1] = shown.second[1] = false;
            if (shown.energyComparison == EnergyComparison::None) shown.energyComparison = EnergyComparison::Equal;
        }
        EXPECT_EQ(decodeCondition(code.condition, code.required), shown);
    }
}

TEST(ConditionCode, StoredStringsDecodeIntoBoxes)
{
    const ConditionBoxes empty = decodeCondition(QString(), QString());
    EXPECT_EQ(empty, ConditionBoxes{});

    const ConditionBoxes range = decodeCondition("500000000000000000000000", "100000000000000000000000");
    EXPECT_TRUE(range.energyRange);
    EXPECT_EQ(range.energyComparison, EnergyComparison::Greater);
    EXPECT_FALSE(range.first[1] || range.second[1]);
    EXPECT_TRUE(range.required[1]);

    // Short strings and stray characters count as zeros; a missing tick string as no ticks.
    const ConditionBoxes shortOne = decodeCondition("00000x2", "");
    EXPECT_TRUE(shortOne.second[7]);
    EXPECT_FALSE(shortOne.first[6] || shortOne.second[6]);
    EXPECT_EQ(shortOne.gender, GenderLimit::None);

    const ConditionBoxes age = decodeCondition("000000000000000000000021", "000000000000000000000000");
    EXPECT_FALSE(age.ageAtLeast);
    EXPECT_TRUE(age.ageAtMost);
    EXPECT_EQ(age.gender, GenderLimit::Male);
}

TEST(ConditionCode, ProblemsOfStoredConditions)
{
    const struct {
        const char* condition;
        const char* required;
        int ageLow;
        int ageHigh;
        const char* problem;  // empty: sound
    } cases[] = {
        {"000001000000000000000000", "000001000000000000000000", 0, 0, ""},
        {"", "000000000000010000000000", 0, 0, ""},  // a required normal liver
        {"000000000000000000000001", "", 0, 0, ""},  // every male patient
        {"000000000000000000000030", "", 40, 60, ""},
        {"000000000000000000000030", "", 60, 40, "lowest age 60"},
        {"000000000000000000000020", "", 60, 40, ""},  // only the highest age counts
        {"", "", 0, 0, "never be satisfied"},
        {"000000000000000000000000", "000000000000000000000000", 30, 50, "never be satisfied"},
        {"700000000000000000000000", "", 0, 0, "item 1"},
        {"003000000000000000000000", "", 0, 0, "item 3"},
        {"000040000000000000000000", "", 0, 0, "item 5"},
        {"000004000000000000000000", "", 0, 0, "item 6"},
        {"000000000000000000000040", "", 0, 0, "item 23"},
        {"000000000000000000000003", "", 0, 0, "item 24"},
        {"100000000000000000000000", "100000000000000000000001", 0, 0, "ProAnd item 24"},
        {"100000000000000000000000", "200000000000000000000000", 0, 0, "ProAnd item 1"},
        {"10000000000000000000000", "", 0, 0, "ProCond must hold 24"},
        {"100000000000000000000000", "1", 0, 0, "ProAnd must hold 24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.condition) + " / " + c.required);
        const QString problem = conditionCodeProblem(c.condition, c.required, c.ageLow, c.ageHigh);
        if (*c.problem == 0)
            EXPECT_TRUE(problem.isEmpty()) << qPrintable(problem);
        else
            EXPECT_TRUE(problem.contains(QString::fromLatin1(c.problem))) << qPrintable(problem);
    }
}

}  // namespace
