#pragma once
// The diagram of body energy balance: the left/right against upper/lower field with its zones
// and quadrants, the yin/yang strip below it, and the energy and autonomic scales at its right,
// each quantity with a marker coloured by its state.

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"

namespace tork::charts {

struct BodyEnergyGeometry {
    BodyEnergyGeometry(int canvasWidth, int canvasHeight);
    double PW = 0, PH = 0;  // field size
    double fx = 0, fy = 0;  // PW - 60, PH - 60

    double ratioX(double ratio) const;  // 0.3 at the right edge, 1.7 at the left
    double ratioY(double ratio) const;  // 0.3 at the bottom, 1.7 at the top
    double energyY(double value) const;    // 0 .. 140
    double autonomicY(double ratio) const; // 0 .. 5

    // Marker centres, clamped as drawn.
    QPoint fieldMarker(const AnalysisResult& result) const;
    int stripMarker(const AnalysisResult& result) const;
    int energyMarker(const AnalysisResult& result) const;
    int autonomicMarker(const AnalysisResult& result) const;
    // x of the energy and autonomic bars' middles.
    int energyBarCentre() const;
    int autonomicBarCentre() const;
};

// Bright green for 0, yellow for 1 or 2 either way, red for 3 either way.
QColor stateMarkerColour(int state);
QColor fieldMarkerColour(const AnalysisResult& result);

inline const QString kBodyEnergyPicture = QStringLiteral("kabkmg.msi");

QString drawBodyEnergyDiagram(ChartCanvas& canvas, const ChartData& data);

}  // namespace tork::charts
