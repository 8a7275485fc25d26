#include "drawing/charts/balancecharts.h"

#include "core/app/formats.h"

#include <QPolygonF>
#include <cmath>

namespace tork::charts {
namespace {

// Slots in element order: yin and yang meridian; slot k uses the pairs k and k + 6.
struct Slot {
    int yin;
    int yang;
};
constexpr std::array<Slot, 6> kSlots{{{LR, GB}, {HT, SI}, {PC, TE}, {SP, ST}, {LU, LI}, {KI, BL}}};

double meanDeviation(const AnalysisResult& r, int meridian)
{
    return (r.deviation[leftPoint(meridian) - 1] + r.deviation[rightPoint(meridian) - 1]) / 2;
}

}  // namespace

BalanceGeometry::BalanceGeometry(int canvasWidth, int canvasHeight)
    : W(canvasWidth - 50), H(canvasHeight), base(canvasHeight / 2)
{
}

int BalanceGeometry::slotCentre(int slot) const { return x0 + rnd(W / 6.0 * slot) - rnd(W / 12.0); }
int BalanceGeometry::signCentre(int slot) const { return x0 + rnd(W / 6.0) * slot - rnd(W / 12.0); }
int BalanceGeometry::y(double value) const { return rnd(base - H / 100.0 * value); }

BalanceSeries balanceSeries(const AnalysisResult& r, BalanceSet set)
{
    BalanceSeries series;
    for (int k = 0; k < 6; ++k) {
        if (set == BalanceSet::YinYang) {
            series.first[k] = meanDeviation(r, kSlots[k].yin);
            series.second[k] = meanDeviation(r, kSlots[k].yang);
        } else {
            series.first[k] = r.pairMean[k] - r.energyAverage;
            series.second[k] = r.pairMean[k + 6] - r.energyAverage;
        }
    }
    return series;
}

std::optional<QColor> warningSignColour(double gap, const Thresholds& t)
{
    if (gap < t.difference1) return std::nullopt;
    return gap >= t.difference2 ? colour::red : colour::yellow;
}

QString drawBalanceChart(ChartCanvas& canvas, const ChartData& data, BalanceSet set)
{
    const AnalysisResult& r = data.result;
    const BalanceGeometry g(canvas.width(), canvas.height());
    const BalanceSeries series = balanceSeries(r, set);

    canvas.setPen(colour::black, 3);
    canvas.line(g.x0, 0, g.x0, g.H);
    canvas.line(g.x0, g.base, g.x0 + g.W, g.base);
    canvas.setNoBrush();
    canvas.setTextColour(colour::red);
    canvas.text(10, g.base - 8, formatFixed(r.energyAverage, 3, 1));

    canvas.setPen(colour::grey, 1, Qt::DotLine);
    for (int k = 1; k <= 6; ++k) canvas.line(g.slotCentre(k), g.H / 20, g.slotCentre(k), g.H - g.H / 10);

    auto square = [&](int k, int y) {
        canvas.rectangle(g.x0 + rnd(g.W / 6.0 * k - 6) - rnd(g.W / 12.0), y - 6,
                         g.x0 + rnd(g.W / 6.0 * k + 6) - rnd(g.W / 12.0), y + 6);
    };
    for (int pass = 0; pass < 2; ++pass) {
        const bool first = pass == 0;
        const auto& values = first ? series.first : series.second;
        QPolygonF line;
        for (int k = 1; k <= 6; ++k) {
            const int y = g.y(values[k - 1]);
            canvas.setPen(colour::black, 1);
            canvas.setBrush(first ? toColor(ChartColours::poor) : toColor(ChartColours::normal));
            square(k, y);
            line << QPointF(g.slotCentre(k), y);
            if (!first) continue;
            const double gap = std::abs(series.first[k - 1] - series.second[k - 1]);
            if (const auto signColour = warningSignColour(gap, r.thresholds)) {
                const int c = g.signCentre(k);
                canvas.setNoPen();
                canvas.setBrush(*signColour);
                canvas.rectangle(c - 8, 19, c + 9, 23);
                canvas.polygon({QPointF(c + 8, 17), QPointF(c, 3), QPointF(c - 8, 17)});
            }
        }
        canvas.setNoBrush();
        if (first)
            canvas.setPen(colour::black, 1, Qt::DotLine);
        else
            canvas.setPen(colour::blue, 1);
        canvas.polyline(line);
    }

    struct Line {
        double y;
        QColor colour;
    };
    const Thresholds& t = r.thresholds;
    for (const Line& line : {Line{g.base - g.H / 100.0 * t.highExcess, colour::red},
                             Line{g.base + g.H / 100.0 * t.highDeficiency, colour::red},
                             Line{g.base - g.H / 100.0 * t.excess, colour::olive},
                             Line{g.base + g.H / 100.0 * t.deficiency, colour::olive}}) {
        canvas.setPen(line.colour, 1, Qt::DotLine);
        canvas.line(g.x0, rnd(line.y), g.x0 + g.W, rnd(line.y));
    }

    canvas.setPen(colour::black, 1);
    canvas.setTextColour(colour::black);
    for (int j = 1; j <= 9; ++j) {
        if (j == 5) continue;
        const int y = rnd(g.H / 10.0 * j);
        canvas.line(g.x0, y, g.x0 + g.W / 80, y);
        const QString label = j < 5 ? QStringLiteral("+") + formatInteger(50 - 10 * j, 4)
                                    : QStringLiteral("-") + formatInteger(10 * j - 50, 4);
        canvas.text(5, rnd(g.H / 10.0 * j - 8), label);
    }

    for (int k = 1; k <= 6; ++k) {
        const QString yin = meridianInfo(kSlots[k - 1].yin).abbreviation;
        const QString yang = meridianInfo(kSlots[k - 1].yang).abbreviation;
        const int xk = g.slotCentre(k);
        const QString top = set == BalanceSet::YinYang ? yin + QStringLiteral("-(LR)") : yin + "+" + yang + "-L";
        const QString middle = set == BalanceSet::YinYang ? yang + QStringLiteral("-(LR)") : yin + "+" + yang + "-R";
        canvas.setTextColour(colour::red);
        canvas.centredText(xk, g.H - 46, top);
        canvas.setTextColour(colour::green);
        canvas.centredText(xk, g.H - 30, middle);
        canvas.setTextColour(colour::blue);
        canvas.centredText(xk, g.H - 15, "- " + meridianInfo(kSlots[k - 1].yin).element + " -");
    }

    const int R = canvas.width() - 50;
    canvas.setPen(colour::black, 1, Qt::DotLine);
    canvas.line(R - 135, 45, R - 95, 45);
    canvas.setPen(colour::black, 1);
    canvas.setBrush(toColor(ChartColours::poor));
    canvas.rectangle(R - 121, 38, R - 109, 52);
    canvas.setPen(colour::blue, 1);
    canvas.line(R - 135, 80, R - 95, 80);
    canvas.setPen(colour::black, 1);
    canvas.setBrush(toColor(ChartColours::normal));
    canvas.rectangle(R - 121, 73, R - 109, 87);
    canvas.setNoBrush();
    canvas.setTextColour(colour::red);
    canvas.text(R - 80, 39, set == BalanceSet::YinYang ? QStringLiteral("Yin-Zang") : QStringLiteral("Left Side"));
    canvas.setTextColour(colour::green);
    canvas.text(R - 80, 74, set == BalanceSet::YinYang ? QStringLiteral("Yang-Fu") : QStringLiteral("Right Side"));

    return set == BalanceSet::YinYang ? QStringLiteral("Yin-Yang Balance Analysis \u2013 Chart A")
                                      : QStringLiteral("Qi-Blood Balance Analysis \u2013 Chart A");
}

}  // namespace tork::charts
