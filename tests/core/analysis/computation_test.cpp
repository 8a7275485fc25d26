// The derived indices of one measurement, checked against hand-worked records and the
// boundary cases of every rule.

#include "core/analysis/analysis.h"
#include "records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace tork {
namespace {

using test::kUnitFactors;
using test::recordOf;
using test::splitRecord;

TEST(AnalysisComputation, AllFiftyMaleAged35)
{
    AnalysisRecord record = recordOf(50);
    record.birthDate = 20000;
    record.measuredAt = 20000 + 35 * 365;
    record.quality.fill(96);
    const AnalysisResult r = computeAnalysis(record, kUnitFactors);

    EXPECT_DOUBLE_EQ(r.energyAverage, 50);
    EXPECT_DOUBLE_EQ(r.qualityAverage, 96);
    EXPECT_DOUBLE_EQ(r.thresholdScale, 1.0);
    EXPECT_DOUBLE_EQ(r.thresholds.excess, 11.5);
    EXPECT_DOUBLE_EQ(r.thresholds.difference2, 41);
    for (int x = 0; x < kPointCount; ++x) {
        EXPECT_EQ(r.deviation[x], 0) << "ME" << x + 1;
        EXPECT_EQ(r.pointLevel[x], 0) << "ME" << x + 1;
        EXPECT_EQ(r.pointScore[x], 10.0) << "ME" << x + 1;
    }
    for (int m = 0; m < kMeridianCount; ++m) {
        EXPECT_EQ(r.meridianLevel[m], 0);
        EXPECT_EQ(r.sideLevel[m], 0);
        EXPECT_EQ(r.pairLevel[m], 0);
        EXPECT_EQ(r.coupleLevel[m], 0);
    }
    EXPECT_EQ(r.bodyEnergyState, 0);
    EXPECT_EQ(r.mentalState, 0);
    EXPECT_EQ(r.musculoskeletalState, 0);
    EXPECT_EQ(r.metabolismState, 0);
    EXPECT_EQ(r.autonomicState, 0);
    EXPECT_EQ(r.meridiansIndex, 10.0);
    // d = (50 - 63) / 63 x 100 x 0.3
    EXPECT_NEAR(r.integratedIndex, 90 - 1300.0 / 63 * 0.3, 1e-12);
    EXPECT_NEAR(r.integratedIndex, 83.81, 0.005);
    EXPECT_FALSE(r.energyLow);
}

TEST(AnalysisComputation, MixedLevelsFieldByField)
{
    const AnalysisResult r = computeAnalysis(test::mixedRecord(), kUnitFactors);

    EXPECT_DOUBLE_EQ(r.energyAverage, 50);
    const std::array<int, kPointCount> levels{2, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0,
                                              -2, 0, 0, 0, 0, 0, -2, 0, 0, 0, 0, 0};
    EXPECT_EQ(r.pointLevel, levels);
    EXPECT_DOUBLE_EQ(r.deviation[0], 30);
    EXPECT_DOUBLE_EQ(r.deviation[18], -25);

    const std::array<double, kTripleCount> triples{60, 50, 175.0 / 3, 50, 40, 50, 125.0 / 3, 50};
    for (int k = 0; k < kTripleCount; ++k) EXPECT_NEAR(r.tripleMean[k], triples[k], 1e-12) << "triple " << k + 1;
    EXPECT_NEAR(r.yinMean, 50, 1e-12);
    EXPECT_NEAR(r.yangMean, 50, 1e-12);
    EXPECT_NEAR(r.upperMean, (60 + 50 + 175.0 / 3 + 50) / 4, 1e-12);
    EXPECT_NEAR(r.lowerMean, (40 + 50 + 125.0 / 3 + 50) / 4, 1e-12);
    EXPECT_NEAR(r.leftMean, 50, 1e-12);
    EXPECT_NEAR(r.rightMean, 50, 1e-12);
    EXPECT_EQ(r.tripleMin, 40);
    EXPECT_EQ(r.tripleMax, 60);

    // Pairs 5 and 11 (LU-LI) lean to excess, 4 and 10 (SP-ST) to deficiency.
    const std::array<int, kPairCount> pairLevels{0, 0, 0, -1, 1, 0, 0, 0, 0, -1, 1, 0};
    EXPECT_EQ(r.pairLevel, pairLevels);
    EXPECT_EQ(r.coupleLevel, pairLevels);
    EXPECT_DOUBLE_EQ(r.pairMean[4], 65);
    EXPECT_DOUBLE_EQ(r.pairMean[9], 37.5);

    std::array<int, kMeridianCount> meridianLevels{};
    meridianLevels[LU - 1] = 2;
    meridianLevels[SP - 1] = -2;
    EXPECT_EQ(r.meridianLevel, meridianLevels);
    EXPECT_EQ(r.sideLevel, (std::array<int, kMeridianCount>{}));

    // Metal: LU 77.5, LI 50; Earth: SP 22.5, ST 50.
    EXPECT_DOUBLE_EQ(r.elementTable[4][1], 77.5);
    EXPECT_DOUBLE_EQ(r.elementTable[4][0], 63.75);
    EXPECT_DOUBLE_EQ(r.elementTable[3][0], 36.25);
    const std::array<int, 3> metal{1, 2, 0};
    const std::array<int, 3> earth{-1, -2, 0};
    const std::array<int, 3> neutral{0, 0, 0};
    EXPECT_EQ(r.elementLevel[4], metal);
    EXPECT_EQ(r.elementLevel[3], earth);
    for (int row : {0, 1, 2, 5, 6}) EXPECT_EQ(r.elementLevel[row], neutral) << "row " << row;

    EXPECT_EQ(r.bodyEnergyState, 0);
    EXPECT_EQ(r.mentalState, 1);  // 54.58 / 45.42 = 1.20
    EXPECT_EQ(r.musculoskeletalState, 0);
    EXPECT_EQ(r.metabolismState, 0);
    EXPECT_EQ(r.autonomicState, 0);  // 60 / 40 = 1.5 exactly

    // Unknown birth date: age 40, expected 58; penalties 4.8 + 2.4 + 2 + 2 + 1.
    EXPECT_NEAR(r.integratedIndex, 90 + (50.0 - 58) / 58 * 100 * 0.3 - 12.2, 1e-9);

    std::array<double, kPointCount> scores;
    scores.fill(10.0);
    scores[0] = 6.8;   // 76 - 3 - 2 - (1.2 + 2)
    scores[6] = 7.2;   // 80 - 3 - 2 - (1.2 + 2)
    scores[12] = 6.6;  // 76 - 4 - 2 - 1 - (1.2 + 2)
    scores[18] = 7.0;  // 80 - 4 - 2 - 1 - (1.2 + 2)
    scores[5] = scores[11] = scores[17] = scores[23] = 9.7;  // 100 - (2 + 0.6 + 0.6)
    EXPECT_EQ(r.pointScore, scores);
    EXPECT_NEAR(r.meridiansIndex, 226.4 / 24, 1e-12);
}

TEST(AnalysisComputation, FemaleMentalRatioAndExpectedEnergy)
{
    AnalysisRecord record = test::mixedRecord(false);
    record.birthDate = 30000;
    record.measuredAt = 30000 + 25 * 365;  // age 25: 68, less 6 %
    const AnalysisResult r = computeAnalysis(record, kUnitFactors);
    EXPECT_EQ(r.mentalState, 2);
    const double expected = 68 - 0.06 * 68;
    EXPECT_NEAR(r.integratedIndex, 90 + (50 - expected) / expected * 100 * 0.3 - 13.2, 1e-9);
}

TEST(AnalysisComputation, CompensationUsesTheMeridianFactorOnBothSides)
{
    const AnalysisResult r = computeAnalysis(recordOf(40), builtInCompensationFactors());
    EXPECT_DOUBLE_EQ(r.energyAverage, 40);  // the average is of measured values
    for (int me = 1; me <= kPointCount; ++me) {
        const double factor = builtInCompensationFactors()[meridianOfPoint(me) - 1];
        EXPECT_DOUBLE_EQ(r.compensated[me - 1], 40 * factor) << "ME" << me;
        EXPECT_DOUBLE_EQ(r.deviation[me - 1], 40 * factor - 40) << "ME" << me;
    }
    EXPECT_DOUBLE_EQ(r.compensated[HT - 1], 40 * 1.1081);
}

struct AverageCase {
    double value;
    bool isMale;
    int bodyEnergyState;
    bool energyLow;
};

TEST(AnalysisComputation, BodyEnergyAndLowEnergyBoundaries)
{
    const AverageCase cases[] = {
        {12, true, -3, true},    {12.01, true, -3, false}, {18.99, true, -3, false}, {19, true, -2, false},
        {29.99, true, -1, false}, {30, true, 0, false},     {64.99, true, 0, false},  {65, true, 1, false},
        {74.99, true, 2, false}, {75, true, 3, false},      {17.99, false, -3, false}, {18, false, -2, false},
        {27.99, false, -1, false}, {28, false, 0, false},   {62, false, 1, false},    {72, false, 3, false},
    };
    for (const AverageCase& c : cases) {
        const AnalysisResult r = computeAnalysis(recordOf(c.value, {}, c.isMale), kUnitFactors);
        EXPECT_EQ(r.bodyEnergyState, c.bodyEnergyState) << c.value << (c.isMale ? " male" : " female");
        EXPECT_EQ(r.energyLow, c.energyLow) << c.value;
    }
}

struct RatioCase {
    const char* name;
    std::function<bool(int)> numeratorPoint;  // points of the group above the ratio's line
    double a;                                // their value; the others are 50
    bool isMale;
    int AnalysisResult::*state;
    int expected;
};

bool handPoint(int me) { return me <= 12; }
bool leftSidePoint(int me) { return isLeftPoint(me); }
bool yinPoint(int me) { return isYinMeridian(meridianOfPoint(me)); }

TEST(AnalysisComputation, RatioStatesAtTheirBounds)
{
    const RatioCase cases[] = {
        {"upper/lower 1.2 male", handPoint, 60, true, &AnalysisResult::mentalState, 1},
        {"upper/lower 1.2 female", handPoint, 60, false, &AnalysisResult::mentalState, 2},
        {"upper/lower 0.88 male", handPoint, 44, true, &AnalysisResult::mentalState, 0},
        {"upper/lower 0.88 female", handPoint, 44, false, &AnalysisResult::mentalState, 0},
        {"upper/lower 0.72 male", handPoint, 36, true, &AnalysisResult::mentalState, -3},
        {"upper/lower 0.72 female", handPoint, 36, false, &AnalysisResult::mentalState, -2},
        {"upper/lower 1.4 male", handPoint, 70, true, &AnalysisResult::mentalState, 3},
        {"left/right 1.15", leftSidePoint, 57.5, true, &AnalysisResult::musculoskeletalState, 1},
        {"left/right 1.14", leftSidePoint, 57, false, &AnalysisResult::musculoskeletalState, 0},
        {"left/right 0.68", leftSidePoint, 34, true, &AnalysisResult::musculoskeletalState, -2},
        {"left/right 0.66", leftSidePoint, 33, true, &AnalysisResult::musculoskeletalState, -3},
        {"yin/yang 1.25", yinPoint, 62.5, true, &AnalysisResult::metabolismState, 1},
        {"yin/yang 0.62", yinPoint, 31, true, &AnalysisResult::metabolismState, -2},
        {"yin/yang 0.82", yinPoint, 41, false, &AnalysisResult::metabolismState, 0},
        {"yin/yang 1.45", yinPoint, 72.5, true, &AnalysisResult::metabolismState, 3},
    };
    for (const RatioCase& c : cases) {
        const AnalysisResult r = computeAnalysis(splitRecord(c.numeratorPoint, c.a, 50, c.isMale), kUnitFactors);
        EXPECT_EQ(r.*c.state, c.expected) << c.name;
    }
}

TEST(AnalysisComputation, AutonomicStateFromHighLowRatio)
{
    // The first triple (ME1-3) raised; the others at 50.
    const std::pair<double, int> cases[] = {{75, 0}, {75.5, 1}, {90, 1}, {91, 2}, {100, 2}, {101, 3}};
    for (const auto& [high, expected] : cases) {
        const AnalysisResult r = computeAnalysis(recordOf(50, {{1, high}, {2, high}, {3, high}}), kUnitFactors);
        EXPECT_EQ(r.tripleMax, high);
        EXPECT_EQ(r.tripleMin, 50);
        EXPECT_EQ(r.autonomicState, expected) << "ratio " << high / 50;
    }
}

TEST(AnalysisComputation, TripleExtremesAreTheTrueExtremesAboveTwoHundred)
{
    const AnalysisResult r = computeAnalysis(recordOf(240, {{22, 300}, {23, 300}, {24, 300}}), kUnitFactors);
    EXPECT_EQ(r.tripleMin, 240);
    EXPECT_EQ(r.tripleMax, 300);
    EXPECT_EQ(r.autonomicState, 0);  // 1.25
}

TEST(AnalysisComputation, ZeroFactorsGiveTheExtremeStateInsteadOfFailing)
{
    std::array<double, kMeridianCount> footless = kUnitFactors;
    for (int m = SP; m <= ST; ++m) footless[m - 1] = 0;
    const AnalysisResult r = computeAnalysis(recordOf(50), footless);
    EXPECT_EQ(r.lowerMean, 0);
    EXPECT_EQ(r.tripleMin, 0);
    EXPECT_EQ(r.mentalState, 3);
    EXPECT_EQ(r.autonomicState, 3);
    EXPECT_EQ(r.musculoskeletalState, 0);  // 25 / 25
    EXPECT_TRUE(std::isfinite(r.integratedIndex));
    EXPECT_TRUE(std::isfinite(r.meridiansIndex));
}

TEST(AnalysisComputation, ThresholdsHitExactly)
{
    const Thresholds t = Thresholds::fromScale(1.0);
    struct Case {
        double u;
        int five, seven, diff;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {std::nextafter(11.5, 0.0), 0, 0, 0},
        {11.5, 1, 1, 0},                 // Te
        {21, 2, 2, 0},                   // Th
        {32.5, 2, 3, 1},                 // Th + Te
        {std::nextafter(32.5, 0.0), 2, 2, 1},
        {22, 2, 2, 1},                   // Tf1
        {41, 2, 3, 2},                   // Tf2
        {-10.5, -1, -1, 0},              // Td
        {std::nextafter(-10.5, 0.0), 0, 0, 0},
        {-20, -2, -2, 0},                // Tl
        {-30.5, -2, -3, -1},             // Tl + Td
        {-22, -2, -2, -1},               // -Tf1
        {-41, -2, -3, -2},               // -Tf2
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.classify5(c.u), c.five) << c.u;
        EXPECT_EQ(t.classify7(c.u), c.seven) << c.u;
        EXPECT_EQ(t.classifyDiff(c.u), c.diff) << c.u;
    }
}

TEST(AnalysisComputation, DeviationEqualToTheExcessThresholdGivesLevelOne)
{
    // At an average of 50 the scale is 1 and Te is 11.5: ME1 at 61.5 and ME7 at 38.5
    // keep the average at 50 and deviate by exactly +Te and -Te.
    const AnalysisResult r = computeAnalysis(recordOf(50, {{1, 61.5}, {7, 38.5}}), kUnitFactors);
    ASSERT_EQ(r.deviation[0], r.thresholds.excess);
    EXPECT_EQ(r.pointLevel[0], 1);
    EXPECT_EQ(r.pointLevel[6], -1);  // 11.5 is beyond Td = 10.5
}

TEST(AnalysisComputation, IntegratedIndexClamp)
{
    const std::pair<double, double> cases[] = {
        {100.4, 99}, {100.0, 100}, {std::nextafter(100.0, 200.0), 99}, {3, 5}, {5, 5}, {4.99, 5}, {50.5, 50.5}};
    for (const auto& [raw, clamped] : cases) EXPECT_EQ(clampIntegratedIndex(raw), clamped) << raw;

    // Male over 65 (expected 32) at an average of 64: d = 100 x 0.1, the index is exactly 100.
    AnalysisRecord record = recordOf(64);
    record.birthDate = 1000;
    record.measuredAt = 1000 + 70 * 365;
    EXPECT_EQ(computeAnalysis(record, kUnitFactors).integratedIndex, 100);
    record.values.fill(66);
    EXPECT_EQ(computeAnalysis(record, kUnitFactors).integratedIndex, 99);
}

TEST(AnalysisComputation, IntegratedIndexLowEnergyGain)
{
    // All 10, male aged 40 (expected 58): d = (10 - 58) / 58 x 100 x 0.3, then x 1.5.
    const double d10 = (10.0 - 58) / 58 * 100 * 0.3;
    EXPECT_NEAR(computeAnalysis(recordOf(10), kUnitFactors).integratedIndex, 90 + d10 * 1.5, 1e-9);
    const double d25 = (25.0 - 58) / 58 * 100 * 0.3;
    EXPECT_NEAR(computeAnalysis(recordOf(25), kUnitFactors).integratedIndex, 90 + d25 * 1.2, 1e-9);
    const double d26 = (26.0 - 58) / 58 * 100 * 0.3;
    EXPECT_NEAR(computeAnalysis(recordOf(26), kUnitFactors).integratedIndex, 90 + d26, 1e-9);
}

TEST(AnalysisComputation, PointScoreRounding)
{
    const std::pair<double, double> cases[] = {
        {100, 10.0}, {94.0, 9.4}, {95.0, 9.6}, {94.5, 9.5}, {93.4, 9.4}, {9.4, 1.0}, {0.2, 1.0}, {-40, 1.0}, {10.6, 1.1}};
    for (const auto& [s, score] : cases) EXPECT_DOUBLE_EQ(pointScoreFromRaw(s), score) << s;
}

TEST(AnalysisComputation, QualityAverageCountsZeros)
{
    AnalysisRecord record = recordOf(50);
    record.quality[0] = 96;
    record.quality[1] = 48;
    EXPECT_DOUBLE_EQ(computeAnalysis(record, kUnitFactors).qualityAverage, 6);
}

TEST(AnalysisComputation, AnalysableOnlyWithEveryValueAboveZero)
{
    EXPECT_TRUE(recordOf(0.1).isAnalysable());
    EXPECT_FALSE(recordOf(50, {{24, 0}}).isAnalysable());
    EXPECT_FALSE(recordOf(50, {{5, -3}}).isAnalysable());
    EXPECT_FALSE(recordOf(50, {{5, std::nan("")}}).isAnalysable());
}

TEST(AnalysisComputation, CrossTermsFollowTheCoupledPairOfTheMeridian)
{
    // BL left (ME16) at 75 and LU left at 25: pair 6 (KI-BL left) is off, pair 12 (KI-BL right)
    // is not. KI points (yin) read pair 6 whichever side they are on; BL points (yang) read pair 12.
    const AnalysisResult r = computeAnalysis(recordOf(50, {{16, 75}, {1, 25}}), kUnitFactors);
    ASSERT_EQ(r.pairLevel[5], 1);
    ASSERT_EQ(r.coupleLevel[5], -1);
    ASSERT_EQ(r.meridianLevel[BL - 1], 1);
    ASSERT_EQ(r.sideLevel[BL - 1], 1);
    EXPECT_EQ(r.pointScore[21 - 1], 9.8);  // KI right: 100 - (1 + 1 + 0.3 x 1) = 97.7
    EXPECT_EQ(r.pointScore[22 - 1], 9.7);  // BL right: 100 - (1 + 1) - 0.6 x 2 = 96.8
    EXPECT_EQ(r.pointScore[16 - 1], 7.6);  // BL left: 80 - 3 - 2 = 75, round(75.5) is 76
}

}  // namespace
}  // namespace tork
