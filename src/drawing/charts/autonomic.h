#pragma once
// The autonomic nervous system analysis: the eight triple means as an eight-sector pie with
// the highest and the lowest marked, and the high/low ratio behind the autonomic state.

#include "drawing/charts/chart.h"
#include "drawing/charts/wheel.h"

#include <array>

namespace tork::charts {

// Triple shown in sector i (1..8): 3, 4, 7, 8, 6, 5, 2, 1.
int autonomicSectorTriple(int sector);
QString tripleName(int triple);  // "Tri.Yin-LH" ...
// Fraction of the full radii for a value: (14 v + 3 M) / (17 M), M = tripleMax.
double autonomicFraction(double value, double tripleMax);
QColor autonomicSectorColour(double triple, const AnalysisResult& result);
QColor autonomicRatioColour(int autonomicState);

QString drawAutonomicAnalysis(ChartCanvas& canvas, const ChartData& data);

}  // namespace tork::charts
