#pragma once
// The elliptic wheel of the pie charts (E.C.I. pie, autonomic analysis, five elements):
// a box, its radii and centre, and directions by angle (90 up, growing clockwise on screen).

#include "drawing/charts/chartcanvas.h"

namespace tork::charts {

struct Wheel {
    int x1 = 0, x2 = 0, y1 = 30, y2 = 0;
    double rx = 0, ry = 0;
    int cx = 0, cy = 0;

    // The E.C.I. pie's box: x from Wc/14 to Wc/14 x 8.3.
    static Wheel eciPie(int canvasWidth, int canvasHeight);
    // The centred box of the autonomic and five-elements charts.
    static Wheel centred(int canvasWidth, int canvasHeight);

    QRectF fullBox() const;
    // The box of the same shape scaled about the centre by `fraction` of the radii.
    QRectF box(double fraction) const;
    // The point at angle t and `fraction` of the radii.
    QPointF at(double angle, double fraction) const;
};

}  // namespace tork::charts
