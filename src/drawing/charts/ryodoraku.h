#pragma once
// The Ryodoraku diagram: the 24 compensated values on a fixed scale of 0 to 150 microampere
// against the energy average and its thresholds.

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"

namespace tork::charts {

struct RyodorakuGeometry {
    RyodorakuGeometry(int canvasWidth, int canvasHeight);
    int W = 0;   // canvas width - 50
    int Hp = 0;  // canvas height - 50: the plot's height
    double y(double microampere) const;           // unrounded scale
    int markerY(double microampere) const;        // the marker centre, raised to 5
    QRect marker(int column, double microampere) const;
    int slotCentre(int slot) const;
};

QString drawRyodorakuDiagram(ChartCanvas& canvas, const ChartData& data);

}  // namespace tork::charts
