#pragma once
// The two charts of the Meridian category that plot the 24 deviations: the bar diagram (one
// bar per point) and the slope diagram (one marker per point, the two sides of a meridian
// joined by a line), both with side-imbalance arrows and the threshold lines.

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"
#include "drawing/charts/deviationframe.h"

namespace tork::charts {

QString drawBarDiagram(ChartCanvas& canvas, const ChartData& data);
QString drawSlopeDiagram(ChartCanvas& canvas, const ChartData& data);

// The marker box of column 1..24 at height y in the slope diagram.
QRect slopeMarker(const DeviationScale& scale, int column, int y);
// Colour of the line joining a meridian's left point a and right point b.
QColor slopeLineColour(double deviationLeft, double deviationRight);

}  // namespace tork::charts
