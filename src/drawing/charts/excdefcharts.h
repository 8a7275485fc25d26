#pragma once
// The twelve-bar charts over a background picture: Time Cycle A (the meridians in their
// two-hour periods from 11 pm), Qi-Blood Exc/Def A (yin then yang meridians by element) and
// Yin-Yang Exc/Def A (the twelve coupled pairs).

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"
#include "drawing/charts/deviationframe.h"

#include <array>

namespace tork::charts {

enum class TwelveBarChart { TimeCycle, QiBlood, YinYang };

struct TwelveBar {
    double value = 0;  // deviation drawn
    int colourLevel = 0;
    int arrowLevel = 0;
};
std::array<TwelveBar, 12> twelveBars(const AnalysisResult& result, TwelveBarChart chart);

// Meridian of slot 1..12 of the time cycle (GB, LR, LU, ...) and of the qi-blood chart.
int timeCycleMeridian(int slot);
int qiBloodMeridian(int slot);
// The time-cycle slot of a measurement time: 23:00 to 00:59 is slot 1, 01:00 to 02:59 slot 2, ...
int timeCyclePeriod(double measuredAt);

QString twelveBarPicture(TwelveBarChart chart);  // "kabkma.msi", "kabkmb.msi", "kabkmc.msi"

QString drawTwelveBarChart(ChartCanvas& canvas, const ChartData& data, TwelveBarChart chart);

}  // namespace tork::charts
