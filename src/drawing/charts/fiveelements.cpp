#include "drawing/charts/fiveelements.h"

#include "core/app/formats.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace tork::charts {
namespace {

constexpr std::array<ElementSector, 6> kSectors{{
    {0, 54, 126, 90},
    {1, 126, 162, 144},
    {3, 198, 270, 234},
    {4, 270, 342, 306},
    {5, 342, 414, 378},
    {2, 162, 198, 180},
}};

struct SectorNames {
    const char* element;
    int yin;
    int yang;
};
constexpr std::array<SectorNames, 6> kNames{{
    {"Wood", LR, GB}, {"Mo.Fire", HT, SI}, {"Earth", SP, ST}, {"Metal", LU, LI}, {"Water", KI, BL}, {"Mi.Fire", PC, TE}}};

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// An arrow given in local coordinates, turned through `angle` degrees about the centre.
QPolygonF placedArrow(const Wheel& w, std::initializer_list<QPointF> local, double angle)
{
    const double u = radians(angle);
    QPolygonF placed;
    for (const QPointF& p : local)
        placed << QPointF(w.cx + rnd(p.x() * std::cos(u) - p.y() * std::sin(u)),
                          w.cy + rnd(p.x() * std::sin(u) + p.y() * std::cos(u)));
    return placed;
}

}  // namespace

const ElementSector& elementSector(int sector) { return kSectors[sector - 1]; }

QString elementSectorLabel(int sector, int form)
{
    const SectorNames& n = kNames[sector - 1];
    const QString yin = meridianInfo(n.yin).abbreviation;
    const QString yang = meridianInfo(n.yang).abbreviation;
    const QString meridians = form == 2 ? yin : form == 3 ? yang : yin + "/" + yang;
    return QString::fromLatin1(n.element) + " - " + meridians;
}

double elementFraction(double value, double energyAverage) { return (energyAverage + value) / (3 * energyAverage); }

QString fiveElementsTitle(int form)
{
    switch (form) {
    case 2: return QStringLiteral("Five Elements Analysis By Yin-Zang");
    case 3: return QStringLiteral("Five Elements Analysis By Yang-Fu");
    default: return QStringLiteral("Five Elements Analysis With Yin-Zang And Yang-Fu Integrated");
    }
}

QString drawFiveElements(ChartCanvas& canvas, const ChartData& data, int form)
{
    form = form == 2 || form == 3 ? form : 1;
    const AnalysisResult& r = data.result;
    const double A = r.energyAverage;
    const Wheel w = Wheel::centred(canvas.width(), canvas.height());
    const int column = form - 1;

    for (int s = 1; s <= 6; ++s) {
        const ElementSector& sector = elementSector(s);
        const QColor fill = levelQColor(std::abs(r.elementLevel[sector.row][column]));
        canvas.setPen(fill, 2);
        canvas.setBrush(fill);
        canvas.pie(w.box(elementFraction(r.elementTable[sector.row][column], A)), sector.toAngle, sector.fromAngle);
        canvas.setPen(colour::lightGrey, 2);
        canvas.setNoBrush();
        canvas.pie(w.fullBox(), sector.toAngle, sector.fromAngle);
    }

    for (int s = 1; s <= 6; ++s) {
        const ElementSector& sector = elementSector(s);
        const double t = radians(sector.labelAngle);
        const QString label = elementSectorLabel(s, form);
        const int width = canvas.textWidth(label);
        double x = w.cx - 1.1 * w.rx * std::cos(t);
        if (s == 1) x = w.cx - width / 2.0;
        if (s == 4 || s == 5) x = w.cx - (width + 1.1 * w.rx) * std::cos(t);
        canvas.setTextColour(colour::blue);
        canvas.text(rnd(x), rnd(w.cy - 1.1 * w.ry * std::sin(t)) - 5, label);
        const QString value = formatFixed(r.elementTable[sector.row][column], 3, 1);
        canvas.setTextColour(colour::black);
        canvas.text(rnd(w.cx - (std::cos(t) * w.rx / 2 + canvas.textWidth(value) / 2.0)), rnd(w.cy - std::sin(t) * w.ry / 2),
                    value);
    }

    canvas.setNoBrush();
    canvas.setPen(colour::red, 1, Qt::DotLine);
    canvas.ellipse(w.box(2.0 / 3));
    canvas.setPen(colour::grey, 3);
    canvas.ellipse(w.fullBox());
    canvas.setPen(colour::lightGrey, 1);
    canvas.setBrush(colour::lightBlue);
    canvas.ellipse(w.box(1.0 / 3));

    canvas.setPen(colour::silver, 1);
    canvas.setBrush(QColor(255, 232, 232));
    for (int k = 1; k <= 5; ++k) {
        const double X = w.rx / 3;
        canvas.polygon(placedArrow(w,
                                   {{X - 20, -25}, {X - 34, -35}, {X - 34, -29}, {22 - X, -29}, {22 - X, -21},
                                    {X - 34, -21}, {X - 34, -15}},
                                   72.0 * (k - 1)));
    }
    canvas.setBrush(colour::blue);
    for (int k = 6; k <= 10; ++k) {
        const double X = w.rx * 3 / 4;
        canvas.polygon(placedArrow(w,
                                   {{-X, -20}, {15 - X, 0}, {8 - X, 0}, {8 - X, 10}, {-8 - X, 10}, {-8 - X, 0}, {-15 - X, 0}},
                                   72.0 * k - 378));
    }

    canvas.setNoBrush();
    canvas.setFont(8, true);
    canvas.setTextColour(colour::red);
    canvas.centredText(w.cx, w.cy - 15, QStringLiteral("Avg"));
    canvas.centredText(w.cx, w.cy, formatFixed(A, 3, 1));
    canvas.setFont(8);

    return fiveElementsTitle(form);
}

}  // namespace tork::charts
