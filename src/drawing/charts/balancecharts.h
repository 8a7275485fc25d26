#pragma once
// Yin-Yang Balance A and Qi-Blood Balance A: one chart form with two data sets. Six element
// slots, two series of deviations joined by polylines, a warning sign where the gap between
// the series reaches the difference thresholds.

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"

#include <array>
#include <optional>

namespace tork::charts {

enum class BalanceSet { YinYang, QiBlood };

struct BalanceGeometry {
    BalanceGeometry(int canvasWidth, int canvasHeight);
    int x0 = 50;
    int W = 0;
    int H = 0;
    int base = 0;
    int slotCentre(int slot) const;  // xk, slots 1..6
    int signCentre(int slot) const;  // centre of the warning sign (slot width rounded first)
    int y(double value) const;       // one unit is one hundredth of the height
};

struct BalanceSeries {
    std::array<double, 6> first{};   // yin meridians / left-side pairs
    std::array<double, 6> second{};  // yang meridians / right-side pairs
};
BalanceSeries balanceSeries(const AnalysisResult& result, BalanceSet set);

// Colour of the warning sign for a gap g between the series: none below Tf1, yellow from
// Tf1, red from Tf2.
std::optional<QColor> warningSignColour(double gap, const Thresholds& thresholds);

QString drawBalanceChart(ChartCanvas& canvas, const ChartData& data, BalanceSet set);

}  // namespace tork::charts
