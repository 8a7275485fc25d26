#include "drawing/charts/bodyenergy.h"

#include "core/app/formats.h"

#include <algorithm>
#include <cstdlib>

namespace tork::charts {
namespace {

int clampMarker(int value, int upper) { return std::clamp(value, 5, std::max(5, upper)); }

// A filled scale bar from `top` to `bottom` in the poor colour with the tolerable and normal
// bands over it, framed in orange and black.
struct Band {
    double from;
    double to;
};
void drawScaleBar(ChartCanvas& canvas, int left, int right, int top, int bottom, Band tolerable, Band normal)
{
    auto fill = [&](const QColor& c, double from, double to) {
        canvas.setPen(c, 1);
        canvas.setBrush(c);
        canvas.rectangle(left, rnd(from), right, rnd(to));
    };
    fill(toColor(ChartColours::poor), top, bottom);
    fill(toColor(ChartColours::tolerable), tolerable.from, tolerable.to);
    fill(toColor(ChartColours::normal), normal.from, normal.to);
    canvas.setNoBrush();
    canvas.setPen(colour::frameOrange, 3);
    canvas.rectangle(left, top, right, bottom);
    canvas.setPen(colour::black, 1);
    canvas.rectangle(left, top, right, bottom);
}

// A box marker with its orange surround and two side strokes, for the vertical scales; the
// left stroke reaches PW + leftReach.
void drawScaleMarker(ChartCanvas& canvas, double PW, int left, int leftReach, int position, const QColor& fill)
{
    canvas.setPen(colour::black, 2);
    canvas.setBrush(fill);
    canvas.rectangle(rnd(PW + left - 1), position - 6, rnd(PW + left + 21), position + 6);
    canvas.setNoBrush();
    canvas.setPen(colour::frameOrange, 2);
    canvas.rectangle(rnd(PW + left - 5), position - 10, rnd(PW + left + 26), position + 11);
    canvas.setPen(colour::black, 1);
    canvas.line(PW + left - 1, position, PW + leftReach, position);
    canvas.line(PW + left + 21, position, PW + left + 28, position);
}

}  // namespace

BodyEnergyGeometry::BodyEnergyGeometry(int canvasWidth, int canvasHeight)
    : PW(canvasWidth / 5.0 * 4), PH(canvasHeight / 8.0 * 7), fx(PW - 60), fy(PH - 60)
{
}

double BodyEnergyGeometry::ratioX(double q) const { return 30 + fx - fx * (q - 0.3) / 1.4; }
double BodyEnergyGeometry::ratioY(double q) const { return 30 + fy - fy * (q - 0.3) / 1.4; }
double BodyEnergyGeometry::energyY(double v) const { return 30 + fy - fy * v / 140; }
double BodyEnergyGeometry::autonomicY(double r) const { return 30 + fy - fy * r / 5; }

QPoint BodyEnergyGeometry::fieldMarker(const AnalysisResult& r) const
{
    return QPoint(clampMarker(rnd(ratioX(r.leftMean / r.rightMean)), rnd(PW - 5)),
                  clampMarker(rnd(ratioY(r.upperMean / r.lowerMean)), rnd(PH - 5)));
}

int BodyEnergyGeometry::stripMarker(const AnalysisResult& r) const
{
    return clampMarker(rnd(ratioX(r.yinMean / r.yangMean)), rnd(PW - 5));
}

int BodyEnergyGeometry::energyMarker(const AnalysisResult& r) const
{
    return clampMarker(rnd(energyY(r.energyAverage)), rnd(PH - 5));
}

int BodyEnergyGeometry::autonomicMarker(const AnalysisResult& r) const
{
    return clampMarker(rnd(autonomicY(r.tripleMax / r.tripleMin)), rnd(PH - 5));
}

int BodyEnergyGeometry::energyBarCentre() const { return rnd(PW + 20); }
int BodyEnergyGeometry::autonomicBarCentre() const { return rnd(PW + 120); }

QColor stateMarkerColour(int state)
{
    if (state == 0) return colour::brightGreen;
    if (std::abs(state) >= 3) return colour::red;
    return colour::gold;
}

QColor fieldMarkerColour(const AnalysisResult& r)
{
    if (r.mentalState == 0 && r.musculoskeletalState == 0) return colour::brightGreen;
    if (std::abs(r.mentalState) == 3 || std::abs(r.musculoskeletalState) == 3) return colour::red;
    return colour::gold;
}

QString drawBodyEnergyDiagram(ChartCanvas& canvas, const ChartData& data)
{
    const AnalysisResult& r = data.result;
    const bool male = data.record.isMale;
    const BodyEnergyGeometry g(canvas.width(), canvas.height());
    const double PW = g.PW, PH = g.PH, fx = g.fx, fy = g.fy;
    const int centreX = rnd(30 + fx / 2);
    const int centreY = rnd(30 + fy / 2);

    const QImage picture = loadChartPicture(data.pictureFolder, kBodyEnergyPicture);
    if (!picture.isNull())
        canvas.painter().drawImage(QPointF(rnd(30 + fx / 2 - picture.width() / 2.0), rnd(30 + fy / 2 - picture.height() / 2.0 + 10)),
                                   picture);

    canvas.setNoBrush();
    canvas.setPen(colour::frameOrange, 3);
    canvas.rectangle(1, 1, rnd(PW - 1), rnd(PH - 1));
    canvas.setPen(colour::black, 2);
    canvas.rectangle(1, 1, rnd(PW - 1), rnd(PH - 1));
    canvas.line(centreX, 30, centreX, rnd(PH - 30));
    canvas.line(30, centreY, rnd(PW - 30), centreY);

    auto X = [&](double c) { return rnd(30 + fx - fx * c / 1.4); };
    auto Y = [&](double c) { return rnd(30 + fy - fy * c / 1.4); };
    canvas.setPen(colour::olive, 1, Qt::DotLine);
    canvas.rectangle(X(0.85), male ? Y(0.9) : Y(0.8), X(0.57), male ? Y(0.57) : Y(0.47));
    canvas.setPen(colour::red, 1, Qt::DotLine);
    canvas.rectangle(X(1.05), male ? Y(1.1) : Y(0.95), X(0.37), male ? Y(0.43) : Y(0.34));

    canvas.setFont(8);
    canvas.setTextColour(colour::blue);
    canvas.text(rnd(30 + fx / 2 - 9), rnd(PH - 20), QStringLiteral("-Down-"));
    canvas.text(rnd(30 + fx / 2 - 9), 10, QStringLiteral("-Up-"));
    canvas.text(5, rnd(30 + fy / 2 - 9), QStringLiteral("-L-"));
    canvas.text(rnd(PW) - 25, rnd(30 + fy / 2 - 9), QStringLiteral("-R-"));
    canvas.setFont(18);
    canvas.setTextColour(colour::green);
    canvas.text(rnd(PW) - 36, 30, QStringLiteral("I"));
    canvas.text(30, 30, QStringLiteral("II"));
    canvas.text(30, rnd(PH - 60), QStringLiteral("III"));
    canvas.text(rnd(PW) - 50, rnd(PH - 60), QStringLiteral("IV"));
    canvas.setFont(8);
    canvas.setTextColour(colour::maroon);

    for (int i = 0; i <= 14; ++i) {
        const double q = 0.3 + i / 10.0;
        const double y = g.ratioY(q);
        const double x = g.ratioX(q);
        if (i != 7) {
            canvas.setPen(colour::black, 1);
            canvas.line(centreX - 6, rnd(y), centreX + 6, rnd(y));
            canvas.line(rnd(x), centreY - 6, rnd(x), centreY + 6);
        }
        if (i != 14) {
            canvas.setPen(colour::grey, 1);
            canvas.line(centreX - 4, rnd(y - fy / 28), centreX + 4, rnd(y - fy / 28));
            canvas.line(rnd(x - fx / 28), centreY - 4, rnd(x - fx / 28), centreY + 4);
        }
        if (i != 7) {
            canvas.text(rnd(30 + fx / 2 + 8), rnd(y) - 6, formatFixed(q, 1, 1));
            canvas.text(rnd(x) - 6, rnd(30 + fy / 2 + 8), formatFixed(q, 1, 1));
        }
    }

    const QPoint field = g.fieldMarker(r);
    const int C = field.x();
    const int D = field.y();
    canvas.setPen(colour::black, 2);
    canvas.setBrush(fieldMarkerColour(r));
    canvas.ellipse(C - 12, D - 12, C + 12, D + 12);
    canvas.setPen(colour::black, 1);
    canvas.line(C - 23, D, C - 3, D);
    canvas.line(C, D - 23, C, D - 3);
    canvas.line(C + 23, D, C + 3, D);
    canvas.line(C, D + 23, C, D + 3);
    canvas.setNoBrush();
    canvas.setPen(colour::frameOrange, 2);
    canvas.ellipse(C - 19, D - 19, C + 19, D + 19);

    // The yin/yang strip and its scale.
    const int stripTop = rnd(PH + 10);
    const int stripBottom = rnd(PH + 30);
    canvas.setPen(colour::frameOrange, 3);
    canvas.rectangle(30, stripTop, rnd(PW - 30), stripBottom);
    canvas.setPen(colour::black, 1);
    canvas.setBrush(colour::silver);
    canvas.rectangle(30, stripTop, rnd(PW / 2), stripBottom);
    canvas.setBrush(colour::white);
    canvas.rectangle(rnd(PW / 2), stripTop, rnd(PW - 30), stripBottom);
    canvas.setNoBrush();
    canvas.setPen(colour::black, 3);
    canvas.line(rnd(PW / 2) - 1, rnd(PH + 6), rnd(PW / 2) - 1, rnd(PH + 34));
    for (const auto& [c, markColour] : {std::pair{0.95, colour::olive}, std::pair{0.51, colour::olive},
                                        std::pair{1.15, colour::red}, std::pair{0.31, colour::red}}) {
        canvas.setPen(markColour, 1, Qt::DotLine);
        canvas.line(X(c), stripTop, X(c), stripBottom);
    }
    canvas.setTextColour(colour::blue);
    canvas.text(7, rnd(PH + 15), QStringLiteral("Yin"));
    canvas.text(rnd(PW) - 18, rnd(PH + 15), QStringLiteral("Yang"));

    canvas.setPen(colour::black, 2);
    canvas.line(30, rnd(PH + 45), rnd(PW - 30), rnd(PH + 45));
    for (int i = 0; i <= 14; ++i) {
        const double q = 0.3 + i / 10.0;
        const double x = g.ratioX(q);
        canvas.setPen(colour::black, 1);
        canvas.line(rnd(x), rnd(PH + 45), rnd(x), rnd(PH + 55));
        if (i < 14) {
            canvas.setPen(colour::grey, 1);
            canvas.line(rnd(x - fx / 28), rnd(PH + 45), rnd(x - fx / 28), rnd(PH + 52));
        }
        canvas.text(rnd(x) - 6, rnd(PH + 57), formatFixed(q, 1, 1));
    }

    const int G = g.stripMarker(r);
    canvas.setPen(colour::black, 2);
    canvas.setBrush(stateMarkerColour(r.metabolismState));
    canvas.rectangle(G - 6, rnd(PH + 9), G + 6, rnd(PH + 31));
    canvas.setNoBrush();
    canvas.setPen(colour::frameOrange, 2);
    canvas.rectangle(G - 10, rnd(PH + 5), G + 11, rnd(PH + 36));
    canvas.setPen(colour::black, 1);
    canvas.line(G, PH + 9, G, PH + 2);
    canvas.line(G, PH + 31, G, PH + 38);

    // Energy scale.
    const int top = 30;
    const int bottom = rnd(PH - 30);
    drawScaleBar(canvas, rnd(PW + 10), rnd(PW + 30), top, bottom,
                 {g.energyY(male ? 75 : 72), g.energyY(male ? 19 : 18)}, {g.energyY(male ? 65 : 62), g.energyY(male ? 30 : 28)});
    canvas.setPen(colour::black, 2);
    canvas.line(rnd(PW + 45), top, rnd(PW + 45), bottom);
    canvas.setTextColour(colour::blue);
    for (int i = 0; i <= 14; ++i) {
        const int y = rnd(g.energyY(10 * i));
        canvas.setPen(colour::black, 1);
        canvas.line(rnd(PW + 45), y, rnd(PW + 55), y);
        if (i < 14) {
            const int half = rnd(g.energyY(10 * i + 5));
            canvas.setPen(colour::grey, 1);
            canvas.line(rnd(PW + 45), half, rnd(PW + 51), half);
        }
        canvas.text(rnd(PW + 60), y - 6, formatInteger(10 * i, 3));
    }
    canvas.text(rnd(PW + 10), rnd(PH - 20), QStringLiteral("Body Energy"));
    drawScaleMarker(canvas, PW, 10, 1, g.energyMarker(r), stateMarkerColour(r.bodyEnergyState));

    // Autonomic scale.
    drawScaleBar(canvas, rnd(PW + 110), rnd(PW + 130), top, bottom, {g.autonomicY(2.0), g.autonomicY(0)},
                 {g.autonomicY(1.5), g.autonomicY(0)});
    canvas.setPen(colour::black, 2);
    canvas.line(rnd(PW + 145), top, rnd(PW + 145), bottom);
    canvas.setTextColour(colour::blue);
    for (int i = 2; i <= 10; ++i) {
        const int y = rnd(g.autonomicY(i / 2.0));
        canvas.setPen(colour::black, 1);
        canvas.line(rnd(PW + 145), y, rnd(PW + 155), y);
        if (i < 10) {
            const int half = rnd(g.autonomicY(i / 2.0 + 0.25));
            canvas.setPen(colour::grey, 1);
            canvas.line(rnd(PW + 145), half, rnd(PW + 151), half);
        }
        canvas.text(rnd(PW + 160), y - 6, formatFixed(i / 2.0, 1, 1));
    }
    canvas.setPen(colour::grey, 1);
    canvas.setBrush(colour::grey);
    canvas.rectangle(rnd(PW + 145), rnd(g.autonomicY(1.0)), rnd(PW + 150), rnd(PH - 30 + 1));
    canvas.setNoBrush();
    canvas.text(rnd(PW + 110), rnd(PH - 20), QStringLiteral("Auto.Nervous"));
    drawScaleMarker(canvas, PW, 110, 102, g.autonomicMarker(r), stateMarkerColour(r.autonomicState));

    canvas.setFont(8);
    canvas.setTextColour(colour::navy);
    canvas.text(rnd(PW + 20), rnd(PH + 15), QStringLiteral("Up/Dn : ") + formatFixed(r.upperMean / r.lowerMean, 1, 2));
    canvas.text(rnd(PW + 20), rnd(PH + 32), QStringLiteral("L/R : ") + formatFixed(r.leftMean / r.rightMean, 1, 2));
    canvas.text(rnd(PW + 20), rnd(PH + 49), QStringLiteral("Yin/Yang : ") + formatFixed(r.yinMean / r.yangMean, 1, 2));
    canvas.text(rnd(PW + 100), rnd(PH + 15), QStringLiteral("Energy : ") + formatFixed(r.energyAverage, 3, 1));
    canvas.text(rnd(PW + 100), rnd(PH + 32), QStringLiteral("A.Nervous : ") + formatFixed(r.tripleMax / r.tripleMin, 1, 2));

    return QStringLiteral("Diagram of Body Energy Balance");
}

}  // namespace tork::charts
