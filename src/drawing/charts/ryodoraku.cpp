#include "drawing/charts/ryodoraku.h"

#include "core/app/formats.h"
#include "drawing/charts/deviationframe.h"

namespace tork::charts {

RyodorakuGeometry::RyodorakuGeometry(int canvasWidth, int canvasHeight) : W(canvasWidth - 50), Hp(canvasHeight - 50) {}

double RyodorakuGeometry::y(double v) const { return Hp - Hp / 150.0 * v; }
int RyodorakuGeometry::markerY(double v) const { return std::max(5, Hp - rnd(Hp / 150.0 * v)); }

QRect RyodorakuGeometry::marker(int column, double v) const
{
    const int y = markerY(v);
    return QRect(QPoint(50 + rnd(W / 24.0 * (column - 1) + 2), y - 5),
                 QPoint(50 + rnd(W / 24.0 * (column - 1) + W / 24.0 - 1), y + 5));
}

int RyodorakuGeometry::slotCentre(int slot) const { return 50 + rnd(W / 12.0 * (slot - 1) + W / 24.0); }

QString drawRyodorakuDiagram(ChartCanvas& canvas, const ChartData& data)
{
    const AnalysisResult& r = data.result;
    const RyodorakuGeometry g(canvas.width(), canvas.height());
    const int W = g.W;
    const int Hp = g.Hp;

    canvas.setNoBrush();
    canvas.setPen(colour::black, 3);
    canvas.line(50, 0, 50, Hp + 50);

    const int averageY = rnd(g.y(r.energyAverage));
    canvas.setPen(colour::blue, 2, Qt::DotLine);
    canvas.line(50, averageY, 50 + W, averageY);
    canvas.setFont(8, true);
    canvas.setTextColour(colour::red);
    canvas.text(8, averageY - 6, formatFixed(r.energyAverage, 3, 1));
    canvas.setFont(8);

    for (int i = 1; i <= 24; ++i) {
        const int x = 50 + rnd(W / 24.0 * i);
        if (i % 2 == 1) {
            canvas.setPen(colour::grey, 1, Qt::DotLine);
            canvas.line(x, Hp / 12, x, Hp);
        } else if (i == 12) {
            canvas.setPen(colour::grey, 2);
            canvas.line(x, Hp / 16, x, Hp + 50);
        } else {
            canvas.setPen(colour::blue, 1, Qt::DotLine);
            canvas.line(x, Hp / 16, x, Hp + 50);
        }
    }

    canvas.setPen(colour::black, 1);
    canvas.setTextColour(colour::navy);
    for (int i = 0; i <= 15; ++i) {
        const int y = Hp - rnd(Hp / 15.0 * i);
        canvas.line(50, y, 50 + W / 80, y);
        canvas.text(12, y - 6, formatInteger(10 * i, 3));
    }

    for (int k = 1; k <= 12; ++k) {
        const MeridianInfo& info = meridianInfo(data.tables.meridianOrder(k));
        canvas.setTextColour(colour::green);
        canvas.centredText(g.slotCentre(k), Hp + 4, info.abbreviation);
        canvas.setTextColour(colour::blue);
        canvas.centredText(g.slotCentre(k), Hp + 20, info.element);
    }
    canvas.setTextColour(colour::red);
    canvas.centredText(g.slotCentre(1), Hp + 35, QStringLiteral("L    R"));
    canvas.centredText(g.slotCentre(7), Hp + 35, QStringLiteral("L    R"));
    canvas.centredText(g.slotCentre(4), Hp + 35, QStringLiteral("Hand"));
    canvas.centredText(g.slotCentre(10), Hp + 35, QStringLiteral("Foot"));

    static const char* const words[] = {"Normal", "Tolerable", "Poor"};
    canvas.setPen(colour::black, 1);
    for (int entry = 0; entry < 3; ++entry) {
        const int n = 15 + 3 * entry;
        canvas.setBrush(levelQColor(entry));
        canvas.rectangle(50 + rnd(W / 24.0 * n) + 7, 7, 50 + rnd(W / 24.0 * n + 25), 15);
    }
    canvas.setNoBrush();
    canvas.setTextColour(colour::blue);
    for (int entry = 0; entry < 3; ++entry)
        canvas.text(50 + rnd(W / 24.0 * (15 + 3 * entry) + 32), 4, QString::fromLatin1(words[entry]));

    const Thresholds& t = r.thresholds;
    struct Line {
        double value;
        QColor colour;
    };
    for (const Line& line : {Line{r.energyAverage + t.highExcess, colour::red}, Line{r.energyAverage - t.highDeficiency, colour::red},
                             Line{r.energyAverage + t.excess, colour::olive}, Line{r.energyAverage - t.deficiency, colour::olive}}) {
        const int y = rnd(Hp - line.value * Hp / 150.0);
        canvas.setPen(line.colour, 1, Qt::DotLine);
        canvas.line(50, y, 50 + W, y);
    }

    canvas.setPen(colour::black, 1);
    for (int k = 1; k <= 12; ++k) {
        const auto [a, b] = data.tables.orderedPointPair(k);
        for (const auto& [column, point] : {std::pair{2 * k - 1, a}, std::pair{2 * k, b}}) {
            canvas.setBrush(levelQColor(r.pointLevel[point - 1]));
            const QRect box = g.marker(column, r.compensated[point - 1]);
            canvas.rectangle(box.left(), box.top(), box.right(), box.bottom());
        }
    }

    for (int k = 1; k <= 12; ++k)
        drawSideArrow(canvas, g.slotCentre(k), r.sideLevel[data.tables.meridianOrder(k) - 1], colour::gold, colour::red);

    return QStringLiteral("Ryodoraku Analysis Diagram");
}

}  // namespace tork::charts
