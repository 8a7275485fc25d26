#include "drawing/charts/autonomic.h"

#include "core/app/formats.h"

#include <cmath>
#include <numbers>

namespace tork::charts {
namespace {

constexpr std::array<int, 8> kSectorTriples{3, 4, 7, 8, 6, 5, 2, 1};

}  // namespace

int autonomicSectorTriple(int sector) { return kSectorTriples[sector - 1]; }

QString tripleName(int triple)
{
    static const std::array<const char*, 8> names{"Tri.Yin-LH", "Tri.Yang-LH", "Tri.Yin-RH", "Tri.Yang-RH",
                                                  "Tri.Yin-LF", "Tri.Yang-LF", "Tri.Yin-RF", "Tri.Yang-RF"};
    return QString::fromLatin1(names[triple - 1]);
}

double autonomicFraction(double value, double tripleMax) { return (14 * value + 3 * tripleMax) / (17 * tripleMax); }

QColor autonomicSectorColour(double triple, const AnalysisResult& r)
{
    if (triple == r.tripleMax) return toColor(ChartColours::fourth);
    if (triple == r.tripleMin) return toColor(ChartColours::fifth);
    return toColor(ChartColours::normal);
}

QColor autonomicRatioColour(int autonomicState)
{
    if (autonomicState == 0) return colour::green;
    if (autonomicState == 3) return colour::red;
    return colour::amber;
}

QString drawAutonomicAnalysis(ChartCanvas& canvas, const ChartData& data)
{
    const AnalysisResult& r = data.result;
    const Wheel w = Wheel::centred(canvas.width(), canvas.height());
    canvas.setFont(8);

    QString highest;
    QString lowest;
    for (int i = 1; i <= 8; ++i) {
        const int triple = autonomicSectorTriple(i);
        const double value = r.tripleMean[triple - 1];
        if (value == r.tripleMax) highest = tripleName(triple);
        if (value == r.tripleMin) lowest = tripleName(triple);
        const QColor fill = autonomicSectorColour(value, r);
        canvas.setPen(fill, 0);
        canvas.setBrush(fill);
        canvas.pie(w.box(autonomicFraction(value, r.tripleMax)), 135 + 45 * (i - 1), 90 + 45 * (i - 1));
        canvas.setPen(colour::lightGrey, 2);
        canvas.setNoBrush();
        canvas.pie(w.fullBox(), 135 + 45 * (i - 1), 90 + 45 * (i - 1));
    }

    for (int i = 1; i <= 8; ++i) {
        const int triple = autonomicSectorTriple(i);
        const double t = (112 + 45 * (i - 1)) * std::numbers::pi / 180.0;
        const QString name = tripleName(triple);
        const int w1 = canvas.textWidth(name);
        const double x = i <= 4 ? w.cx - 1.1 * w.rx * std::cos(t) : w.cx - (w1 + 1.1 * w.rx) * std::cos(t);
        canvas.setTextColour(colour::navy);
        canvas.text(rnd(x), rnd(w.cy - 1.1 * w.ry * std::sin(t)) - 5, name);
        const QString value = formatFixed(r.tripleMean[triple - 1], 3, 1);
        canvas.setTextColour(colour::black);
        canvas.text(rnd(w.cx - (std::cos(t) * w.rx / 2 + canvas.textWidth(value) / 2.0)), rnd(w.cy - std::sin(t) * w.ry / 2),
                    value);
    }

    canvas.setNoBrush();
    canvas.setPen(colour::red, 1, Qt::DotLine);
    canvas.ellipse(w.box(autonomicFraction(r.energyAverage, r.tripleMax)));
    canvas.setPen(colour::grey, 3);
    canvas.ellipse(w.fullBox());
    canvas.setPen(colour::lightGrey, 1);
    canvas.setBrush(colour::lightBlue);
    canvas.ellipse(w.box(3.0 / 14));
    canvas.setNoBrush();

    const double ratio = r.tripleMax / r.tripleMin;
    canvas.setFont(23, true, QStringLiteral("Times New Roman"));
    canvas.setTextColour(autonomicRatioColour(r.autonomicState));
    canvas.centredText(w.cx, w.cy - 20, formatFixed(ratio, 1, 2));
    canvas.setFont(8);
    canvas.setTextColour(colour::black);
    canvas.centredText(w.cx, w.cy + 25, QStringLiteral("Avg: ") + formatFixed(r.energyAverage, 3, 1));

    const int x = rnd(canvas.width() - canvas.width() / 8.0);
    const int y0 = rnd(canvas.height() - canvas.height() / 5.0);
    canvas.setTextColour(colour::blue);
    canvas.text(x, y0, QStringLiteral("Average: ") + formatFixed(r.energyAverage, 3, 1));
    canvas.text(x, y0 + 20, QStringLiteral("Hi: ") + highest + " " + formatFixed(r.tripleMax, 3, 1));
    canvas.text(x, y0 + 40, QStringLiteral("Low: ") + lowest + " " + formatFixed(r.tripleMin, 3, 1));
    canvas.text(x, y0 + 60, QStringLiteral("Value: ") + formatFixed(ratio, 1, 2) + QStringLiteral("  (1~1.5)"));

    return QStringLiteral("Autonomic Nervous System Analysis");
}

}  // namespace tork::charts
