#include "drawing/charts/deviationframe.h"

#include "core/app/formats.h"

#include <array>
#include <cstdlib>

namespace tork::charts {

DeviationScale::DeviationScale(int canvasWidth, int canvasHeight, double average)
    : W(canvasWidth - 50), H(canvasHeight), base(canvasHeight / 2), energyAverage(average)
{
}

int DeviationScale::columnLeft(int column) const { return x0 + rnd(W / 24.0 * (column - 1)); }
int DeviationScale::columnRight(int column) const { return x0 + rnd(W / 24.0 * column); }
int DeviationScale::slotLeft(int slot) const { return x0 + rnd(W / 12.0 * (slot - 1)); }
int DeviationScale::slotRight(int slot) const { return x0 + rnd(W / 12.0 * slot); }
int DeviationScale::slotCentre(int slot) const { return x0 + rnd(W / 12.0 * (slot - 1) + W / 24.0); }

int DeviationScale::y(double deviation) const
{
    if (deviation >= 0) return std::max(5, rnd(base - base / energyAverage * deviation));
    const int y = rnd(base + base / energyAverage * -deviation);
    return y > H ? H - 5 : y;
}

int DeviationScale::thresholdY(double deviation) const { return rnd(base - base / energyAverage * deviation); }

void drawDeviationAxes(ChartCanvas& canvas, const DeviationScale& s, int dividerTop)
{
    canvas.setPen(colour::black, 3);
    canvas.line(s.x0, 0, s.x0, s.H);
    canvas.line(s.x0, s.base, s.x0 + s.W, s.base);
    canvas.setTextColour(colour::navy);
    canvas.text(10, s.base - 8, formatFixed(s.energyAverage, 5, 1));
    canvas.setPen(colour::black, 2);
    canvas.line(s.x0 + s.W / 2, s.H, s.x0 + s.W / 2, dividerTop);
}

void drawThresholdLines(ChartCanvas& canvas, const DeviationScale& s, const Thresholds& t)
{
    struct Line {
        double deviation;
        QColor colour;
    };
    const std::array<Line, 4> lines{{{t.highExcess, colour::red},
                                     {-t.highDeficiency, colour::red},
                                     {t.excess, colour::olive},
                                     {-t.deficiency, colour::olive}}};
    canvas.setNoBrush();
    for (const Line& line : lines) {
        const int y = s.thresholdY(line.deviation);
        canvas.setPen(line.colour, 1, Qt::DotLine);
        canvas.line(s.x0, y, s.x0 + s.W, y);
        canvas.setTextColour(line.colour);
        canvas.text(10, y - 8, formatFixed(s.energyAverage + line.deviation, 5, 1));
    }
}

void drawScaleTicks(ChartCanvas& canvas, const DeviationScale& s)
{
    canvas.setPen(colour::black, 1);
    for (int j = 1; j <= 18; ++j) {
        if (j == 10) continue;
        const int y = rnd(s.H / 20.0 * j);
        canvas.line(s.x0, y, s.x0 + s.W / 80, y);
    }
}

QPoint sideArrowTip(int xk, int level) { return level < 0 ? QPoint(xk - 13, 30) : QPoint(xk + 13, 30); }

void drawSideArrow(ChartCanvas& canvas, int xk, int level, const QColor& mild, const QColor& strong)
{
    if (level == 0) return;
    canvas.setNoPen();
    canvas.setBrush(std::abs(level) == 1 ? mild : strong);
    const QPoint tip = sideArrowTip(xk, level);
    if (level < 0) {
        canvas.rectangle(xk + 1, 22, xk + 5, 40);
        canvas.polygon({tip, QPointF(xk - 1, 22), QPointF(xk - 1, 38)});
    } else {
        canvas.rectangle(xk - 1, 22, xk - 5, 40);
        canvas.polygon({tip, QPointF(xk + 1, 22), QPointF(xk + 1, 38)});
    }
}

QRect legendSwatch(const DeviationScale& s, LegendStyle style, int entry)
{
    const int n = 15 + 3 * entry;
    if (style == LegendStyle::Bar)
        return QRect(QPoint(s.x0 + rnd(s.W / 24.0 * n) + 2, 0), QPoint(s.x0 + rnd(s.W / 24.0 * n + 25), 20));
    return QRect(QPoint(s.x0 + rnd(s.W / 24.0 * n) + 10, 5), QPoint(s.x0 + rnd(s.W / 24.0 * n + 23), 17));
}

void drawLevelLegend(ChartCanvas& canvas, const DeviationScale& s, LegendStyle style)
{
    static const std::array<const char*, 3> words{"Normal", "Tolerable", "Poor"};
    canvas.setPen(colour::black, 1);
    for (int entry = 0; entry < 3; ++entry) {
        canvas.setBrush(levelQColor(entry));
        const QRect swatch = legendSwatch(s, style, entry);
        canvas.rectangle(swatch.left(), swatch.top(), swatch.right(), swatch.bottom());
    }
    canvas.setNoBrush();
    canvas.setTextColour(colour::blue);
    for (int entry = 0; entry < 3; ++entry)
        canvas.text(s.x0 + rnd(s.W / 24.0 * (15 + 3 * entry) + 32), 4, QString::fromLatin1(words[entry]));
}

}  // namespace tork::charts
