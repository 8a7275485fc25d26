#pragma once
// The five elements wheel: one sector per element (fire split into its monarch and minister
// halves) whose radius grows with the element's energy and whose colour tells its level, with
// the controlling cycle inside the wheel and the generating cycle on its rim.

#include "drawing/charts/chart.h"
#include "drawing/charts/wheel.h"

namespace tork::charts {

struct ElementSector {
    int row;            // row of the five-elements table
    double fromAngle;   // extent, degrees
    double toAngle;
    double labelAngle;
};
// Sectors 1..6 in drawing order: Wood, Mo.Fire, Earth, Metal, Water, Mi.Fire.
const ElementSector& elementSector(int sector);
QString elementSectorLabel(int sector, int form);
// Fraction of the full radii for an element value E with the energy average A: (A + E) / (3 A).
double elementFraction(double value, double energyAverage);
QString fiveElementsTitle(int form);

QString drawFiveElements(ChartCanvas& canvas, const ChartData& data, int form);

}  // namespace tork::charts
