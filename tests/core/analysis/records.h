#pragma once
// Small records for the analysis tests.

#include "core/analysis/analysis.h"

#include <initializer_list>
#include <utility>

namespace tork::test {

inline const std::array<double, kMeridianCount> kUnitFactors{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// Every point at `value`, then the listed (ME number, value) overrides.
inline AnalysisRecord recordOf(double value, std::initializer_list<std::pair<int, double>> points = {},
                               bool isMale = true)
{
    AnalysisRecord record;
    record.values.fill(value);
    for (const auto& [me, v] : points) record.values[me - 1] = v;
    record.isMale = isMale;
    record.measuredAt = 46000;
    return record;
}

// Points chosen by a predicate on the ME number get `a`, the others `b`.
template <typename Predicate>
AnalysisRecord splitRecord(Predicate inGroup, double a, double b, bool isMale = true)
{
    AnalysisRecord record = recordOf(b, {}, isMale);
    for (int me = 1; me <= kPointCount; ++me)
        if (inGroup(me)) record.values[me - 1] = a;
    return record;
}

// Mixed levels around an average of exactly 50 (threshold scale 1): LU in excess on both sides
// (ME1 80, ME7 75), SP in deficiency on both sides (ME13 20, ME19 25).
inline AnalysisRecord mixedRecord(bool isMale = true)
{
    return recordOf(50, {{1, 80}, {7, 75}, {13, 20}, {19, 25}}, isMale);
}

// HT with its left point in excess (level 1) and its right point in deficiency (level -2);
// TE carries the balance so that the average stays 50.
inline AnalysisRecord oppositeSidesRecord()
{
    return recordOf(50, {{3, 62}, {9, 25}, {5, 56.5}, {11, 56.5}});
}

}  // namespace tork::test
