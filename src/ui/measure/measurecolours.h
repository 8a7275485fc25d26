#pragma once
// Colours of the measurement window, given as Windows colour values ($BBGGRR).

#include "core/measure/measuringrun.h"

#include <QColor>
#include <cstdint>

namespace tork {

inline QColor measureColour(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

// Quality view of the value table: below 60 red, below 80 olive, else green.
QColor qualityCellColour(double quality);
// The quality display and the quality bar in the stability colours.
QColor stabilityDisplayColour(Stability stability);
QColor stabilityBarColour(Stability stability);

}  // namespace tork
