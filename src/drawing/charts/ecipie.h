#pragma once
// The E.C.I. pie diagram: one sector per meridian whose radius grows with the meridian's mean
// point score, the Integrated Index in the centre and the table of every point score.

#include "drawing/charts/chart.h"
#include "drawing/charts/wheel.h"

namespace tork::charts {

enum class ScoreClass { Good, Fair, Poor };
ScoreClass scoreClass(double score);        // 8.0 and above good, from 7.0 fair, else poor
QColor scoreFillColour(double score);       // the chart colour set
QColor scoreTextColour(double score);       // green (53, 210, 45), olive, red

// Mean score of sector k (1..12) and the fraction of the full radii it reaches: (A + 4) / 14.
double sectorScore(const AnalysisResult& result, const MeridianTables& tables, int sector);
double eciSectorFraction(double meanScore);
// Mid angle of sector k.
double eciSectorMidAngle(int sector);

QString drawEciPie(ChartCanvas& canvas, const ChartData& data);

}  // namespace tork::charts
