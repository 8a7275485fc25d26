#pragma once
// What the bar, slope, time-cycle and excess/deficiency charts share: the geometry of
// deviations from the energy average over 24 columns or 12 slots, the axes and divider,
// the threshold lines with their labels, the scale ticks, the side-imbalance arrows and
// the legend of the three level colours.

#include "core/analysis/analysis.h"
#include "drawing/charts/chartcanvas.h"

namespace tork::charts {

struct DeviationScale {
    DeviationScale(int canvasWidth, int canvasHeight, double energyAverage);

    int x0 = 50;
    int W = 0;     // canvas width - 50
    int H = 0;     // canvas height
    int base = 0;  // H div 2
    double energyAverage = 0;

    // Columns 1..24 (two per meridian slot).
    int columnLeft(int column) const;
    int columnRight(int column) const;
    // Slots 1..12: edges and centre xk.
    int slotLeft(int slot) const;
    int slotRight(int slot) const;
    int slotCentre(int slot) const;
    // y of a deviation: up to the top edge (at least 5) for d >= 0, down to H - 5 below 0.
    int y(double deviation) const;
    // y of a threshold line: d above (positive) or below (negative) the baseline, unclipped.
    int thresholdY(double deviation) const;
};

// Black axis and baseline of width 3, the energy average in navy, and the hand/foot divider
// of width 2 from the bottom up to `dividerTop`.
void drawDeviationAxes(ChartCanvas& canvas, const DeviationScale& scale, int dividerTop);

// Red lines at Th and Tl, olive at Te and Td, each labelled with its value at the left.
void drawThresholdLines(ChartCanvas& canvas, const DeviationScale& scale, const Thresholds& thresholds);

// Ticks at H/20 x j on the axis, j = 1..18 except 10.
void drawScaleTicks(ChartCanvas& canvas, const DeviationScale& scale);

// The side-imbalance arrow above slot centre xk for a level s (nothing for 0): pointing left
// for s < 0, right for s > 0, in `mild` for |s| = 1 and `strong` otherwise.
void drawSideArrow(ChartCanvas& canvas, int xk, int level, const QColor& mild, const QColor& strong);
// Geometry of that arrow: the tip of its head.
QPoint sideArrowTip(int xk, int level);

enum class LegendStyle { Bar, Slope };
// Swatches in the normal, tolerable and poor colours at columns 15, 18, 21 with their words.
void drawLevelLegend(ChartCanvas& canvas, const DeviationScale& scale, LegendStyle style);
// Swatch rectangle of legend entry 0..2.
QRect legendSwatch(const DeviationScale& scale, LegendStyle style, int entry);

}  // namespace tork::charts
