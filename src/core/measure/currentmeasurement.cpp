#include "core/measure/currentmeasurement.h"

#include <algorithm>

namespace tork {

bool CurrentMeasurement::anyValue() const
{
    return std::any_of(values.begin(), values.end(), [](double v) { return v != 0; });
}

bool CurrentMeasurement::allValues() const
{
    return std::all_of(values.begin(), values.end(), [](double v) { return v != 0; });
}

std::optional<double> CurrentMeasurement::valueAverage() const
{
    double sum = 0;
    int count = 0;
    for (double v : values) {
        if (v == 0) continue;
        sum += v;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return sum / count;
}

std::optional<double> CurrentMeasurement::qualityAverage() const
{
    double sum = 0;
    int measured = 0;
    for (int i = 0; i < kPointCount; ++i) {
        if (values[i] <= 0) continue;
        ++measured;
        if (quality[i] > 0) sum += quality[i];
    }
    if (measured == 0) return std::nullopt;
    return sum / measured;
}

}  // namespace tork
