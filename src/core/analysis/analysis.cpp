#include "core/analysis/analysis.h"

#include "core/app/formats.h"

#include <cmath>
#include <cstdlib>

namespace tork {
namespace {

// Pairs in their fixed order: the left side first, then the right side in the same order.
constexpr std::array<CoupledPair, kPairCount> kPairs{{
    {14, 17}, {3, 4}, {2, 5}, {13, 18}, {1, 6}, {15, 16},     // LR-GB, HT-SI, PC-TE, SP-ST, LU-LI, KI-BL left
    {20, 23}, {9, 10}, {8, 11}, {19, 24}, {7, 12}, {21, 22},  // the same couples right
}};

// Coupled meridian by meridian number (index 0 = LU).
constexpr std::array<int, kMeridianCount> kCoupled{LI, TE, SI, HT, PC, LU, ST, GB, BL, KI, LR, SP};

// Left-side pair number of the couple a meridian belongs to (index 0 = LU).
constexpr std::array<int, kMeridianCount> kCouplePair{5, 3, 2, 2, 3, 5, 4, 1, 6, 6, 1, 4};

// Five-elements rows 0..5: yin (zang) and yang (fu) meridian; row 6 combines the two fires.
struct ElementRow {
    int yin;
    int yang;
};
constexpr std::array<ElementRow, 6> kElementMeridians{{{LR, GB}, {HT, SI}, {PC, TE}, {SP, ST}, {LU, LI}, {KI, BL}}};

// Upper bounds ("below") of the states -3..2; anything not below the last is 3.
using StateBounds = std::array<double, 6>;
constexpr StateBounds kBodyEnergyMale{19, 28, 30, 65, 70, 75};
constexpr StateBounds kBodyEnergyFemale{18, 24, 28, 62, 67, 72};
constexpr StateBounds kMentalMale{0.73, 0.83, 0.88, 1.2, 1.3, 1.4};
constexpr StateBounds kMentalFemale{0.65, 0.75, 0.78, 1.1, 1.15, 1.25};
constexpr StateBounds kMusculoskeletal{0.68, 0.78, 0.88, 1.15, 1.25, 1.35};
constexpr StateBounds kMetabolism{0.62, 0.72, 0.82, 1.25, 1.35, 1.45};

int stateFrom(double value, const StateBounds& bounds)
{
    for (int i = 0; i < int(bounds.size()); ++i)
        if (value < bounds[i]) return i - 3;
    return 3;
}

int autonomicFrom(double highLowRatio)
{
    if (highLowRatio <= 1.5) return 0;
    if (highLowRatio <= 1.8) return 1;
    if (highLowRatio <= 2.0) return 2;
    return 3;
}

double expectedEnergyForAge(double age)
{
    struct Step {
        double ageAtMost;
        double energy;
    };
    static constexpr std::array<Step, 9> steps{{
        {20, 75}, {30, 68}, {35, 63}, {40, 58}, {45, 53}, {50, 48}, {55, 43}, {60, 40}, {65, 36},
    }};
    for (const Step& step : steps)
        if (age <= step.ageAtMost) return step.energy;
    return 32;
}

double lowEnergyGain(double energyAverage)
{
    if (energyAverage <= 10) return 0.5;
    if (energyAverage <= 15) return 0.4;
    if (energyAverage <= 20) return 0.3;
    if (energyAverage <= 25) return 0.2;
    return 0;
}

double integratedIndexOf(const AnalysisRecord& record, const AnalysisResult& r)
{
    const double age = record.birthDate <= 0 ? 40.0 : (record.measuredAt - record.birthDate) / 365.0;
    double expected = expectedEnergyForAge(age);
    if (!record.isMale) expected = expected - 0.06 * expected;

    double d = (r.energyAverage - expected) / expected * 100;
    d = d >= 0 ? d * 0.1 : d * 0.3;
    d = d + d * lowEnergyGain(r.energyAverage);

    double index = 90 + d;
    for (int level : r.pointLevel) index -= 0.6 * std::abs(level);
    for (int m = 0; m < kMeridianCount; ++m)
        index -= 0.6 * std::abs(r.meridianLevel[m]) + 0.6 * std::abs(r.sideLevel[m]);
    for (int f = 0; f < kPairCount; ++f)
        index -= 0.5 * std::abs(r.pairLevel[f]) + 0.5 * std::abs(r.coupleLevel[f]);
    index -= std::abs(r.mentalState) + std::abs(r.musculoskeletalState) + std::abs(r.metabolismState) + r.autonomicState;

    return clampIntegratedIndex(index);
}

double pointScoreOf(int me, const AnalysisResult& r)
{
    const int x = me - 1;
    const int m = meridianOfPoint(me);
    const bool left = isLeftPoint(me);
    const int other = left ? rightPoint(m) : leftPoint(m);
    const int k = coupledMeridian(m);
    const int j = left ? leftPoint(k) : rightPoint(k);
    const int f = kCouplePair[m - 1] + (isYinMeridian(m) ? 0 : 6);

    double s = 100 - 40 * std::abs(r.compensated[x] - r.energyAverage) / r.energyAverage;
    const int level = r.pointLevel[x];
    s = level >= 0 ? s - 1.5 * level : s - 2 * std::abs(level);
    s = s - (std::abs(r.meridianLevel[m - 1]) + std::abs(r.sideLevel[m - 1]));
    if (r.meridianLevel[m - 1] < 0) s = s - 1;
    s = s - (0.6 * std::abs(r.pointLevel[other - 1]) + std::abs(r.pairLevel[f - 1]) + std::abs(r.coupleLevel[f - 1])
             + 0.3 * std::abs(r.meridianLevel[k - 1]) + 0.3 * std::abs(r.pointLevel[j - 1]));

    return pointScoreFromRaw(s);
}

}  // namespace

bool AnalysisRecord::isAnalysable() const
{
    for (double value : values)
        if (!(value > 0)) return false;
    return true;
}

Thresholds Thresholds::fromScale(double thresholdScale)
{
    Thresholds t;
    t.excess = 11.5 * thresholdScale;
    t.highExcess = 21 * thresholdScale;
    t.deficiency = 10.5 * thresholdScale;
    t.highDeficiency = 20 * thresholdScale;
    t.difference1 = t.excess + t.deficiency;
    t.difference2 = t.highExcess + t.highDeficiency;
    return t;
}

int Thresholds::classify5(double u) const
{
    if (u >= 0) return u < excess ? 0 : u < highExcess ? 1 : 2;
    const double a = -u;
    return a < deficiency ? 0 : a < highDeficiency ? -1 : -2;
}

int Thresholds::classify7(double u) const
{
    if (u >= 0) return u < excess ? 0 : u < highExcess ? 1 : u < highExcess + excess ? 2 : 3;
    const double a = -u;
    return a < deficiency ? 0 : a < highDeficiency ? -1 : a < highDeficiency + deficiency ? -2 : -3;
}

int Thresholds::classifyDiff(double u) const
{
    if (u >= 0) return u < difference1 ? 0 : u < difference2 ? 1 : 2;
    const double a = -u;
    return a < difference1 ? 0 : a < difference2 ? -1 : -2;
}

int AnalysisResult::stateValue(int stateKey) const
{
    switch (stateKey) {
    case BodyEnergyKey: return bodyEnergyState;
    case MentalStressKey: return mentalState;
    case MusculoskeletalKey: return musculoskeletalState;
    case MetabolismKey: return metabolismState;
    case AutonomicKey: return autonomicState;
    default: return 0;
    }
}

double clampIntegratedIndex(double index)
{
    if (index > 100) return 99;
    if (index < 5) return 5;
    return index;
}

double pointScoreFromRaw(double s)
{
    const double score = double(roundHalfEven(s + 0.5)) / 10;
    return score < 1.0 ? 1.0 : score;
}

const std::array<CoupledPair, kPairCount>& coupledPairs() { return kPairs; }

bool isYinMeridian(int meridian)
{
    return meridian == LU || meridian == PC || meridian == HT || meridian == SP || meridian == LR || meridian == KI;
}

int coupledMeridian(int meridian) { return kCoupled[meridian - 1]; }

AnalysisResult computeAnalysis(const AnalysisRecord& record,
                               const std::array<double, kMeridianCount>& compensationFactors)
{
    AnalysisResult r;

    // 1. Averages and compensation.
    double valueSum = 0;
    double qualitySum = 0;
    for (int x = 0; x < kPointCount; ++x) {
        valueSum += record.values[x];
        qualitySum += record.quality[x];
    }
    r.energyAverage = valueSum / 24;
    r.qualityAverage = qualitySum / 24;
    for (int x = 0; x < kPointCount; ++x) {
        r.compensated[x] = record.values[x] * compensationFactors[meridianOfPoint(x + 1) - 1];
        r.deviation[x] = r.compensated[x] - r.energyAverage;
    }
    r.energyLow = r.energyAverage <= 12;

    // 2. Threshold scale.
    r.thresholdScale = (r.energyAverage - 10) * 0.0084375 + 0.6625;
    r.thresholds = Thresholds::fromScale(r.thresholdScale);
    const Thresholds& t = r.thresholds;

    // 4. Point levels.
    for (int x = 0; x < kPointCount; ++x) r.pointLevel[x] = t.classify7(r.deviation[x]);

    // 5. Triples and group means.
    for (int k = 0; k < kTripleCount; ++k)
        r.tripleMean[k] = (r.compensated[3 * k] + r.compensated[3 * k + 1] + r.compensated[3 * k + 2]) / 3;
    const auto& T = r.tripleMean;
    r.yinMean = (T[0] + T[2] + T[4] + T[6]) / 4;
    r.yangMean = (T[1] + T[3] + T[5] + T[7]) / 4;
    r.upperMean = (T[0] + T[1] + T[2] + T[3]) / 4;
    r.lowerMean = (T[4] + T[5] + T[6] + T[7]) / 4;
    r.leftMean = (T[0] + T[1] + T[4] + T[5]) / 4;
    r.rightMean = (T[2] + T[3] + T[6] + T[7]) / 4;
    // Starting from the first triple rather than from fixed bounds (200 and 0) keeps the
    // extremes true when every triple lies above 200 uA or below 0.
    r.tripleMin = T[0];
    r.tripleMax = T[0];
    for (double mean : T) {
        if (mean < r.tripleMin) r.tripleMin = mean;
        if (mean > r.tripleMax) r.tripleMax = mean;
    }

    // 6. Coupled pairs per side.
    for (int f = 0; f < kPairCount; ++f) {
        const double a = r.compensated[kPairs[f].yinPoint - 1];
        const double b = r.compensated[kPairs[f].yangPoint - 1];
        r.pairMean[f] = (a + b) / 2;
        r.pairLevel[f] = t.classify5(r.pairMean[f] - r.energyAverage);
        r.coupleLevel[f] = t.classifyDiff(a - b);
    }

    // 7. Meridians, and their two-sided means for the elements.
    std::array<double, kMeridianCount> meridianMean{};
    for (int m = 1; m <= kMeridianCount; ++m) {
        const double p = r.compensated[leftPoint(m) - 1];
        const double q = r.compensated[rightPoint(m) - 1];
        meridianMean[m - 1] = (p + q) / 2;
        r.meridianLevel[m - 1] = t.classify7(meridianMean[m - 1] - r.energyAverage);
        r.sideLevel[m - 1] = t.classifyDiff(p - q);
    }

    // 8. Five elements table.
    for (int row = 0; row < int(kElementMeridians.size()); ++row) {
        auto& cells = r.elementTable[row];
        cells[1] = meridianMean[kElementMeridians[row].yin - 1];
        cells[2] = meridianMean[kElementMeridians[row].yang - 1];
        cells[0] = (cells[1] + cells[2]) / 2;
    }
    auto& fire = r.elementTable[6];
    fire[1] = (meridianMean[HT - 1] + meridianMean[PC - 1]) / 2;
    fire[2] = (meridianMean[SI - 1] + meridianMean[TE - 1]) / 2;
    fire[0] = (r.elementTable[1][0] + r.elementTable[2][0]) / 2;
    for (int row = 0; row < kElementRows; ++row)
        for (int c = 0; c < kElementColumns; ++c)
            r.elementLevel[row][c] = t.classify5(r.elementTable[row][c] - r.energyAverage);

    // 9. State values.
    r.bodyEnergyState = stateFrom(r.energyAverage, record.isMale ? kBodyEnergyMale : kBodyEnergyFemale);
    r.mentalState = stateFrom(r.upperMean / r.lowerMean, record.isMale ? kMentalMale : kMentalFemale);
    r.musculoskeletalState = stateFrom(r.leftMean / r.rightMean, kMusculoskeletal);
    r.metabolismState = stateFrom(r.yinMean / r.yangMean, kMetabolism);
    r.autonomicState = autonomicFrom(r.tripleMax / r.tripleMin);

    // 10. Integrated Index.
    r.integratedIndex = integratedIndexOf(record, r);

    // 11 and 12. Point scores and the Meridians Index.
    double scoreSum = 0;
    for (int me = 1; me <= kPointCount; ++me) {
        r.pointScore[me - 1] = pointScoreOf(me, r);
        scoreSum += r.pointScore[me - 1];
    }
    r.meridiansIndex = scoreSum / 24;
    return r;
}

}  // namespace tork
