#include "drawing/charts/wheel.h"

#include <cmath>
#include <numbers>

namespace tork::charts {
namespace {

Wheel fromBox(int x1, int x2, int canvasHeight)
{
    Wheel w;
    w.x1 = x1;
    w.x2 = x2;
    w.y2 = rnd(canvasHeight - 30.0);
    w.rx = (w.x2 - w.x1) / 2.0;
    w.ry = (w.y2 - 30) / 2.0;
    w.cx = rnd(w.x1 + w.rx);
    w.cy = rnd(30 + w.ry);
    return w;
}

}  // namespace

Wheel Wheel::eciPie(int canvasWidth, int canvasHeight)
{
    return fromBox(rnd(canvasWidth / 14.0), rnd(canvasWidth / 14.0 * 8.3), canvasHeight);
}

Wheel Wheel::centred(int canvasWidth, int canvasHeight)
{
    return fromBox(rnd(canvasWidth / 12.0 * 2.5) + 30, rnd(canvasWidth / 12.0 * 9.5) - 30, canvasHeight);
}

QRectF Wheel::fullBox() const { return QRectF(QPointF(x1, y1), QPointF(x2, y2)); }

QRectF Wheel::box(double fraction) const
{
    return QRectF(QPointF(cx - rx * fraction, cy - ry * fraction), QPointF(cx + rx * fraction, cy + ry * fraction));
}

QPointF Wheel::at(double angle, double fraction) const
{
    const double t = angle * std::numbers::pi / 180.0;
    return QPointF(cx - std::cos(t) * rx * fraction, cy - std::sin(t) * ry * fraction);
}

}  // namespace tork::charts
