#pragma once
// The 24 values of the current measurement as the measuring run fills them: value,
// compensated value and quality score by ME number, and whether anything was measured.

#include "core/app/meridians.h"

#include <array>
#include <optional>

namespace tork {

struct CurrentMeasurement {
    // Index 0 is ME1. A value of 0 means the point is not measured.
    std::array<double, kPointCount> values{};
    std::array<double, kPointCount> compensated{};
    std::array<double, kPointCount> quality{};
    bool hasData = false;

    double value(int me) const { return values[me - 1]; }
    bool anyValue() const;
    // Every one of the 24 points has a non-zero value (analysis and comparison need them all).
    bool allValues() const;
    // Mean of the non-zero values; nothing when none is.
    std::optional<double> valueAverage() const;
    // Sum of the positive quality scores over the number of points with a value above 0.
    std::optional<double> qualityAverage() const;
    void clear() { *this = CurrentMeasurement(); }
};

}  // namespace tork
