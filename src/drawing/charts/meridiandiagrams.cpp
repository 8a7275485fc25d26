#include "drawing/charts/meridiandiagrams.h"

namespace tork::charts {
namespace {

enum class Form { Bar, Slope };

void drawGuideLines(ChartCanvas& canvas, const DeviationScale& s, Form form)
{
    canvas.setNoBrush();
    for (int k = 1; k <= 12; ++k) {
        if (k != 6) {
            canvas.setPen(colour::navy, 1, Qt::DotLine);
            const int x = s.x0 + rnd(s.W / 12.0 * k);
            canvas.line(x, form == Form::Bar ? s.H / 6 : s.H / 12, x, s.H);
        }
        canvas.setPen(colour::grey, 1, Qt::DotLine);
        const int x = s.x0 + rnd(s.W / 24.0) + rnd(s.W / 12.0 * (k - 1));
        canvas.line(x, form == Form::Bar ? s.base : s.H / 10, x, s.H - rnd(s.H / 10.0));
    }
}

void drawAxisLabels(ChartCanvas& canvas, const DeviationScale& s, const MeridianTables& tables)
{
    canvas.setNoBrush();
    auto centre = [&](int k) { return s.x0 + s.W / 12.0 * (k - 1) + s.W / 24.0; };
    for (int k = 1; k <= 12; ++k) {
        const MeridianInfo& info = meridianInfo(tables.meridianOrder(k));
        canvas.setTextColour(colour::green);
        canvas.centredText(centre(k), s.H - 46, info.abbreviation);
        canvas.setTextColour(colour::blue);
        canvas.centredText(centre(k), s.H - 30, info.element);
    }
    canvas.setTextColour(colour::red);
    canvas.centredText(centre(1), s.H - 15, QStringLiteral("L    R"));
    canvas.centredText(centre(7), s.H - 15, QStringLiteral("L    R"));
    canvas.centredText(centre(4), s.H - 15, QStringLiteral("Hand"));
    canvas.centredText(centre(10), s.H - 15, QStringLiteral("Foot"));
}

QString drawMeridianDiagram(ChartCanvas& canvas, const ChartData& data, Form form)
{
    const AnalysisResult& r = data.result;
    const DeviationScale s(canvas.width(), canvas.height(), r.energyAverage);

    drawDeviationAxes(canvas, s, form == Form::Bar ? s.H / 8 : s.H / 14);
    drawGuideLines(canvas, s, form);

    for (int k = 1; k <= 12; ++k) {
        const auto [a, b] = data.tables.orderedPointPair(k);
        const double da = r.deviation[a - 1];
        const double db = r.deviation[b - 1];
        if (form == Form::Bar) {
            canvas.setPen(colour::black, 1);
            for (const auto& [column, point] : {std::pair{2 * k - 1, a}, std::pair{2 * k, b}}) {
                canvas.setBrush(levelQColor(r.pointLevel[point - 1]));
                canvas.rectangle(s.columnLeft(column), s.base, s.columnRight(column), s.y(r.deviation[point - 1]));
            }
        } else {
            const int ya = s.y(da);
            const int yb = s.y(db);
            canvas.setNoBrush();
            canvas.setPen(slopeLineColour(da, db), 2, Qt::DotLine);
            canvas.line(s.x0 + rnd(s.W / 24.0 * (2 * k - 2) + s.W / 48.0), ya,
                        s.x0 + rnd(s.W / 24.0 * (2 * k - 1) + s.W / 48.0), yb);
            canvas.setPen(colour::black, 1);
            for (const auto& [column, point, y] : {std::tuple{2 * k - 1, a, ya}, std::tuple{2 * k, b, yb}}) {
                canvas.setBrush(levelQColor(r.pointLevel[point - 1]));
                const QRect box = slopeMarker(s, column, y);
                canvas.rectangle(box.left(), box.top(), box.right(), box.bottom());
            }
        }
    }

    for (int k = 1; k <= 12; ++k)
        drawSideArrow(canvas, s.slotCentre(k), r.sideLevel[data.tables.meridianOrder(k) - 1],
                      toColor(ChartColours::tolerable), toColor(ChartColours::poor));

    drawThresholdLines(canvas, s, r.thresholds);
    drawScaleTicks(canvas, s);
    drawAxisLabels(canvas, s, data.tables);
    drawLevelLegend(canvas, s, form == Form::Bar ? LegendStyle::Bar : LegendStyle::Slope);

    return form == Form::Bar ? QStringLiteral("Meridian Excess-Deficiency Analysis \u2013 Bar Diagram")
                             : QStringLiteral("Meridian Excess-Deficiency Analysis \u2013 Slope Diagram");
}

}  // namespace

QRect slopeMarker(const DeviationScale& s, int column, int y)
{
    return QRect(QPoint(s.x0 + rnd(s.W / 24.0 * (column - 1) + 2), y - 5),
                 QPoint(s.x0 + rnd(s.W / 24.0 * (column - 1) + s.W / 24.0 - 1), y + 5));
}

QColor slopeLineColour(double deviationLeft, double deviationRight)
{
    return deviationRight > deviationLeft ? colour::blue : colour::red;
}

QString drawBarDiagram(ChartCanvas& canvas, const ChartData& data) { return drawMeridianDiagram(canvas, data, Form::Bar); }
QString drawSlopeDiagram(ChartCanvas& canvas, const ChartData& data) { return drawMeridianDiagram(canvas, data, Form::Slope); }

}  // namespace tork::charts
