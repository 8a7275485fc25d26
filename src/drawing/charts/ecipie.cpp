#include "drawing/charts/ecipie.h"

#include "core/app/formats.h"

#include <cmath>
#include <numbers>

namespace tork::charts {
namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

}  // namespace

ScoreClass scoreClass(double score)
{
    if (score >= 8.0) return ScoreClass::Good;
    if (score >= 7.0) return ScoreClass::Fair;
    return ScoreClass::Poor;
}

QColor scoreFillColour(double score)
{
    switch (scoreClass(score)) {
    case ScoreClass::Good: return toColor(ChartColours::normal);
    case ScoreClass::Fair: return toColor(ChartColours::tolerable);
    case ScoreClass::Poor: break;
    }
    return toColor(ChartColours::poor);
}

QColor scoreTextColour(double score)
{
    switch (scoreClass(score)) {
    case ScoreClass::Good: return colour::scoreGreen;
    case ScoreClass::Fair: return colour::olive;
    case ScoreClass::Poor: break;
    }
    return colour::red;
}

double sectorScore(const AnalysisResult& r, const MeridianTables& tables, int sector)
{
    const auto [left, right] = tables.orderedPointPair(sector);
    return (r.pointScore[left - 1] + r.pointScore[right - 1]) / 2;
}

double eciSectorFraction(double meanScore) { return (meanScore + 4) / 14; }
double eciSectorMidAngle(int sector) { return 105 + 30 * (sector - 1); }

QString drawEciPie(ChartCanvas& canvas, const ChartData& data)
{
    const AnalysisResult& r = data.result;
    const Wheel w = Wheel::eciPie(canvas.width(), canvas.height());

    for (int k = 1; k <= 12; ++k) {
        const double a = sectorScore(r, data.tables, k);
        canvas.setPen(scoreFillColour(a), 0);
        canvas.setBrush(scoreFillColour(a));
        canvas.pie(w.box(eciSectorFraction(a)), 120 + 30 * (k - 1), 90 + 30 * (k - 1));
        canvas.setPen(colour::lightGrey, 2);
        canvas.setNoBrush();
        canvas.pie(w.fullBox(), 120 + 30 * (k - 1), 90 + 30 * (k - 1));
    }

    canvas.setTextColour(colour::black);
    for (int k = 1; k <= 12; ++k) {
        const double t = radians(eciSectorMidAngle(k));
        const QString name = meridianInfo(data.tables.meridianOrder(k)).abbreviation;
        const int w1 = canvas.textWidth(name);
        const double x = k <= 6 ? w.cx - (1.1 * w.rx - w1 / 2.0) * std::cos(t) : w.cx - (w1 / 2.0 + 1.1 * w.rx) * std::cos(t);
        canvas.text(rnd(x), rnd(w.cy - 1.1 * w.ry * std::sin(t)) - 5, name);
        const QString value = formatFixed(sectorScore(r, data.tables, k), 3, 1);
        const int w2 = canvas.textWidth(value);
        canvas.text(rnd(w.cx - (std::cos(t) * w.rx / 2 + w2 / 2.0)), rnd(w.cy - std::sin(t) * w.ry / 2) - 5, value);
    }

    canvas.setPen(colour::grey, 3);
    canvas.setNoBrush();
    canvas.ellipse(w.fullBox());
    canvas.setPen(colour::lightGrey, 1);
    canvas.setBrush(colour::lightBlue);
    canvas.ellipse(w.box(3.0 / 14));

    canvas.setNoBrush();
    canvas.setFont(23, true, QStringLiteral("Times New Roman"));
    canvas.setTextColour(colour::blue);
    canvas.centredText(w.cx, w.cy, formatFixed(r.integratedIndex, 3, 1));
    canvas.setFont(10);
    canvas.setTextColour(colour::black);
    canvas.centredText(w.cx, w.cy - 20, QStringLiteral("Integrated Index"));

    // The score table beside the pie.
    canvas.setFont(8);
    const int tx = rnd(canvas.width() - canvas.width() / 3.0 - 50);
    const int ty = rnd(canvas.height() - canvas.height() / 3.0);
    const int tw = canvas.width() - tx - 80;
    auto column = [&](double c) { return tx + tw / 7.0 * c; };
    const int left = rnd(tw / 7.0 + tx - 5);

    canvas.setTextColour(colour::blue);
    canvas.centredText(column(4.5), ty - 40, QStringLiteral("Energetic Composite Index"));
    canvas.setPen(colour::black, 2);
    canvas.line(left, ty - 20, rnd(tx + tw + 15.0), ty - 20);
    canvas.line(left, ty + 130, rnd(tx + tw + 15.0), ty + 130);
    canvas.setPen(colour::black, 1);
    canvas.line(left, ty + 50, rnd(tx + tw + 15.0), ty + 50);
    canvas.setTextColour(colour::maroon);
    canvas.text(left, ty + 10, QStringLiteral("Left"));
    canvas.text(left, ty + 30, QStringLiteral("Right"));
    canvas.text(left, ty + 80, QStringLiteral("Left"));
    canvas.text(left, ty + 100, QStringLiteral("Right"));

    auto score = [&](double c, int y, double value, double points = 8) {
        canvas.setFont(points, true);
        canvas.setTextColour(scoreTextColour(value));
        canvas.centredText(column(c), y, formatFixed(value, 2, 1));
    };
    double leftSum = 0;
    double rightSum = 0;
    for (int k = 1; k <= 12; ++k) {
        const auto [lp, rp] = data.tables.orderedPointPair(k);
        leftSum += r.pointScore[lp - 1];
        rightSum += r.pointScore[rp - 1];
        const bool hand = k <= 6;
        const int c = hand ? k + 1 : k - 5;
        const int y = hand ? ty - 10 : ty + 60;
        canvas.setFont(8);
        canvas.setTextColour(colour::navy);
        canvas.centredText(column(c), y, meridianInfo(data.tables.meridianOrder(k)).abbreviation);
        score(c, y + 20, r.pointScore[lp - 1]);
        score(c, y + 40, r.pointScore[rp - 1]);
    }
    canvas.setFont(8);
    canvas.setTextColour(colour::blue);
    canvas.centredText(column(4), ty + 140, QStringLiteral("Left"));
    canvas.centredText(column(5), ty + 140, QStringLiteral("Right"));
    canvas.centredText(column(7), ty + 140, QStringLiteral("AVG."));
    canvas.setFont(8, true);
    canvas.setTextColour(colour::navy);
    canvas.text(left, ty + 160, QStringLiteral("Average"));
    score(4, ty + 160, leftSum / 12);
    score(5, ty + 160, rightSum / 12);
    score(7, ty + 160, r.meridiansIndex, 14);
    canvas.setFont(8);

    return QStringLiteral("E.C.I. Pie Diagram");
}

}  // namespace tork::charts
