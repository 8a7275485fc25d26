#pragma once
// The measurement under analysis and every quantity derived from it: averages, compensated
// values, excess/deficiency levels, the five-elements table, the state values, the Integrated
// Index, the point scores and the Meridians Index.
//
// Arrays are indexed from 0: index 0 of a point array is ME1, of a meridian array meridian 1
// (LU), of a triple array triple 1, of a pair array pair 1.

#include "core/app/meridians.h"

#include <QString>
#include <array>

namespace tork {

constexpr int kTripleCount = 8;
constexpr int kPairCount = 12;
constexpr int kElementRows = 7;
constexpr int kElementColumns = 3;

// Keys of the five states, also the MKEY of their reference texts (keys 1..12 are the meridians).
enum StateKey : int {
    BodyEnergyKey = 13,
    MentalStressKey = 14,
    MusculoskeletalKey = 15,
    MetabolismKey = 16,
    AutonomicKey = 17,
};

struct AnalysisRecord {
    std::array<double, kPointCount> values{};   // microampere by ME number; all above 0 to be analysable
    std::array<double, kPointCount> quality{};  // data quality score by ME number
    double measuredAt = 0;                      // day count with the time as fraction
    bool highPotential = false;
    QString notes;
    int measurementKey = 0;  // 0 while the measurement is not stored
    QString patientNo;
    QString name;
    QString telephone;
    bool isMale = true;
    double birthDate = 0;  // day count; 0 or less is unknown

    // All 24 values above 0 (a record with any other value is "Unfinished").
    bool isAnalysable() const;
};

// The six thresholds scaled from the energy average, and the three level rules built on them.
struct Thresholds {
    double excess = 0;          // Te
    double highExcess = 0;      // Th
    double deficiency = 0;      // Td
    double highDeficiency = 0;  // Tl
    double difference1 = 0;     // Tf1 = Te + Td
    double difference2 = 0;     // Tf2 = Th + Tl

    static Thresholds fromScale(double thresholdScale);

    int classify5(double u) const;     // -2..2
    int classify7(double u) const;     // -3..3
    int classifyDiff(double u) const;  // -2..2
};

struct AnalysisResult {
    double energyAverage = 0;
    double qualityAverage = 0;
    std::array<double, kPointCount> compensated{};
    std::array<double, kPointCount> deviation{};
    double thresholdScale = 0;
    Thresholds thresholds;
    std::array<int, kPointCount> pointLevel{};

    // Triples: hand yin left (ME1-3), hand yang left (ME4-6), hand yin right, hand yang right,
    // foot yin left (ME13-15), foot yang left, foot yin right, foot yang right.
    std::array<double, kTripleCount> tripleMean{};
    double yinMean = 0;
    double yangMean = 0;
    double upperMean = 0;
    double lowerMean = 0;
    double leftMean = 0;
    double rightMean = 0;
    double tripleMin = 0;
    double tripleMax = 0;

    // Pairs 1..6 left side, 7..12 right side: LR-GB, HT-SI, PC-TE, SP-ST, LU-LI, KI-BL.
    std::array<double, kPairCount> pairMean{};
    std::array<int, kPairCount> pairLevel{};
    std::array<int, kPairCount> coupleLevel{};

    std::array<int, kMeridianCount> meridianLevel{};
    std::array<int, kMeridianCount> sideLevel{};

    // Rows Wood, Mo.Fire, Mi.Fire, Earth, Metal, Water, Fire (both); columns element mean,
    // yin (zang) meridian, yang (fu) meridian.
    std::array<std::array<double, kElementColumns>, kElementRows> elementTable{};
    std::array<std::array<int, kElementColumns>, kElementRows> elementLevel{};

    int bodyEnergyState = 0;
    int mentalState = 0;
    int musculoskeletalState = 0;
    int metabolismState = 0;
    int autonomicState = 0;

    double integratedIndex = 0;
    std::array<double, kPointCount> pointScore{};
    double meridiansIndex = 0;
    bool energyLow = false;

    // Value of the state with key 13..17.
    int stateValue(int stateKey) const;
};

// The pure computation: fills the result from the record and the twelve compensation factors
// (by meridian number). The record must be analysable. Allocates nothing.
// User factors of 0 can leave a ratio's divisor at 0; such a ratio counts as beyond every
// bound, so its state is the extreme "otherwise" row (3).
AnalysisResult computeAnalysis(const AnalysisRecord& record,
                               const std::array<double, kMeridianCount>& compensationFactors);

// The last steps of the Integrated Index and of a point score: the clamp (above 100 gives 99,
// below 5 gives 5) and the rounding of a raw score s to round(s + 0.5) / 10, halves to even,
// at least 1.0.
double clampIntegratedIndex(double index);
double pointScoreFromRaw(double s);

// The points of one coupled pair; coupledPairs()[f - 1] is pair f.
struct CoupledPair {
    int yinPoint;   // ME number
    int yangPoint;  // ME number
};
const std::array<CoupledPair, kPairCount>& coupledPairs();

// The yin meridians LU, PC, HT, SP, LR, KI.
bool isYinMeridian(int meridian);
// The coupled meridian of the same element (LU-LI, PC-TE, HT-SI, SP-ST, LR-GB, KI-BL).
int coupledMeridian(int meridian);

}  // namespace tork
