#include "backgrounds.h"

#include "bodyfigure.h"
#include "painting.h"

#include "core/app/meridians.h"

#include <QPainter>
#include <QTransform>

#include <array>
#include <cmath>

namespace picturegen {

namespace {

// The charts draw bars, lines and labels over these pictures, so everything stays pale.
const QColor kPaleLine(176, 188, 210);
const QColor kPaleText(168, 176, 196);

// The body outline behind the body energy balance field: upper body above the field's
// centre, the two sides left and right of it.
QImage drawBodyEnergyBackground()
{
    constexpr double scale = 0.85;
    QImage art = transparentCanvas(int(kBodyWidth * scale) + 40, int(kBodyHeight * scale) + 20);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(20, 10);
    p.scale(scale, scale);
    p.setPen(QPen(kPaleLine, 2.0));
    p.setBrush(QColor(234, 241, 251));
    p.drawPath(bodySilhouette());
    p.setPen(QPen(QColor(200, 210, 228), 1.2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(kBodyMiddle, 70), QPointF(kBodyMiddle, 258));
    p.drawEllipse(QPointF(kBodyMiddle, 218), 9, 9);  // the lower abdomen, seat of the primordial qi
    p.end();
    return flattenOntoKey(art, kChartBackgroundKey);
}

// Meridian numbers in the order of the two-hour periods from 11 pm onwards.
constexpr std::array<int, 12> kTimeCycleOrder{11, 8, 1, 6, 12, 7, 3, 4, 10, 9, 2, 5};

// A 24-hour dial: noon at the top, midnight at the bottom, one sector per meridian's period.
QImage drawTimeCycleBackground()
{
    constexpr int size = 430;
    constexpr double radius = 200;
    const QPointF centre(size / 2.0, size / 2.0);
    QImage art = transparentCanvas(size, size);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF dial(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    for (int k = 0; k < 12; ++k) {
        // Period k starts at 23 + 2k o'clock; an hour h lies at (h - 12) x 15 degrees clockwise from the top.
        const double startHour = 23 + 2 * k;
        const double qtStart = 90 - (startHour - 12) * 15;  // Qt counts counter-clockwise from 3 o'clock
        p.setPen(QPen(kPaleLine, 1.0));
        p.setBrush(k % 2 == 0 ? QColor(240, 244, 252) : QColor(250, 249, 240));
        p.drawPie(dial, int(std::lround(qtStart * 16)), -30 * 16);

        const double middle = (startHour + 1 - 12) * 15 * M_PI / 180;
        const tork::MeridianInfo& info = tork::meridianInfo(kTimeCycleOrder[k]);
        p.setPen(kPaleText);
        p.setFont(pixelFont(16, true));
        const QPointF abbreviationAt = centre + QPointF(std::sin(middle), -std::cos(middle)) * (radius * 0.78);
        p.drawText(QRectF(abbreviationAt.x() - 30, abbreviationAt.y() - 10, 60, 20), Qt::AlignCenter, info.abbreviation);
        p.setFont(pixelFont(10));
        const QPointF windowAt = centre + QPointF(std::sin(middle), -std::cos(middle)) * (radius * 0.6);
        p.drawText(QRectF(windowAt.x() - 34, windowAt.y() - 7, 68, 14), Qt::AlignCenter, info.timeWindow);
    }
    p.setPen(QPen(kPaleLine, 2.0));
    p.setBrush(QColor(252, 252, 252));
    p.drawEllipse(centre, radius * 0.4, radius * 0.4);
    // The sun at noon, the moon at midnight.
    p.setPen(QPen(QColor(236, 210, 150), 2.0));
    p.setBrush(QColor(252, 238, 200));
    const QPointF sun = centre + QPointF(0, -radius * 0.2);
    p.drawEllipse(sun, 14, 14);
    for (int ray = 0; ray < 8; ++ray) {
        const double a = ray * M_PI / 4;
        p.drawLine(sun + QPointF(std::cos(a), std::sin(a)) * 18, sun + QPointF(std::cos(a), std::sin(a)) * 25);
    }
    QPainterPath moon;
    const QPointF moonAt = centre + QPointF(0, radius * 0.2);
    moon.addEllipse(moonAt, 15, 15);
    QPainterPath bite;
    bite.addEllipse(moonAt + QPointF(7, -4), 13, 13);
    p.setPen(QPen(QColor(180, 190, 214), 1.5));
    p.setBrush(QColor(222, 228, 242));
    p.drawPath(moon.subtracted(bite));
    p.end();
    return flattenOntoKey(art, kChartBackgroundKey);
}

// The five phases on a wheel: the generating cycle round the rim, the controlling cycle as a star.
QImage drawQiBloodBackground()
{
    constexpr int size = 430;
    const QPointF centre(size / 2.0, size / 2.0 + 8);
    constexpr double radius = 150;
    struct Phase {
        const char* name;
        QColor tint;
    };
    // Clockwise from the top: Fire, Earth, Metal, Water, Wood.
    const std::array<Phase, 5> phases{{{"Fire", QColor(250, 226, 222)},
                                       {"Earth", QColor(248, 238, 212)},
                                       {"Metal", QColor(236, 236, 242)},
                                       {"Water", QColor(222, 232, 248)},
                                       {"Wood", QColor(224, 242, 226)}}};
    std::array<QPointF, 5> at{};
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5;
        at[i] = centre + QPointF(std::sin(a), -std::cos(a)) * radius;
    }
    QImage art = transparentCanvas(size, size);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(214, 200, 200), 1.5, Qt::DashLine));
    for (int i = 0; i < 5; ++i) p.drawLine(at[i], at[(i + 2) % 5]);
    p.setPen(QPen(kPaleLine, 2.0));
    p.drawEllipse(centre, radius, radius);
    constexpr double phaseRadius = 50;
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(kPaleLine, 1.5));
        p.setBrush(phases[i].tint);
        p.drawEllipse(at[i], phaseRadius, phaseRadius);
        p.setPen(kPaleText);
        p.setFont(pixelFont(16, true));
        p.drawText(QRectF(at[i].x() - phaseRadius, at[i].y() - 10, 2 * phaseRadius, 20), Qt::AlignCenter,
                   QString::fromLatin1(phases[i].name));
        // An arrow head on the rim halfway to the next phase shows the generating direction.
        const double a = (i + 0.5) * 2 * M_PI / 5;
        const QPointF tip = centre + QPointF(std::sin(a), -std::cos(a)) * radius;
        const QPointF along(std::cos(a), std::sin(a));
        const QPointF across(std::sin(a), -std::cos(a));
        p.setPen(Qt::NoPen);
        p.setBrush(kPaleLine);
        p.drawPolygon(QPolygonF({tip + along * 8, tip - along * 6 + across * 6, tip - along * 6 - across * 6}));
    }
    p.end();
    return flattenOntoKey(art, kChartBackgroundKey);
}

// The yin-yang symbol.
QImage drawYinYangBackground()
{
    constexpr int size = 410;
    constexpr double r = 195;
    const QPointF c(size / 2.0, size / 2.0);
    QImage art = transparentCanvas(size, size);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor yin(216, 222, 236);
    const QColor yang(253, 251, 242);
    QPainterPath whole;
    whole.addEllipse(c, r, r);
    QPainterPath rightHalf;
    rightHalf.addRect(QRectF(c.x(), c.y() - r, r, 2 * r));
    QPainterPath upperBulge;
    upperBulge.addEllipse(c + QPointF(0, -r / 2), r / 2, r / 2);
    QPainterPath lowerBulge;
    lowerBulge.addEllipse(c + QPointF(0, r / 2), r / 2, r / 2);
    const QPainterPath yinPart = whole.intersected(rightHalf).united(lowerBulge).subtracted(upperBulge);
    p.setPen(Qt::NoPen);
    p.setBrush(yang);
    p.drawPath(whole);
    p.setBrush(yin);
    p.drawPath(yinPart);
    p.setBrush(yang);
    p.drawEllipse(c + QPointF(0, r / 2), r / 7, r / 7);
    p.setBrush(yin);
    p.drawEllipse(c + QPointF(0, -r / 2), r / 7, r / 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kPaleLine, 2.0));
    p.drawEllipse(c, r, r);
    p.end();
    return flattenOntoKey(art, kChartBackgroundKey);
}

}  // namespace

QImage drawChartBackground(ChartBackground which)
{
    switch (which) {
    case ChartBackground::BodyEnergy: return drawBodyEnergyBackground();
    case ChartBackground::TimeCycle: return drawTimeCycleBackground();
    case ChartBackground::QiBlood: return drawQiBloodBackground();
    case ChartBackground::YinYang: return drawYinYangBackground();
    }
    return {};
}

QString chartBackgroundFileName(ChartBackground which)
{
    switch (which) {
    case ChartBackground::BodyEnergy: return QStringLiteral("kabkmg.msi");
    case ChartBackground::TimeCycle: return QStringLiteral("kabkma.msi");
    case ChartBackground::QiBlood: return QStringLiteral("kabkmb.msi");
    case ChartBackground::YinYang: return QStringLiteral("kabkmc.msi");
    }
    return {};
}

void writeChartBackgrounds(const QString& folder)
{
    for (ChartBackground which : {ChartBackground::BodyEnergy, ChartBackground::TimeCycle, ChartBackground::QiBlood,
                                  ChartBackground::YinYang}) {
        const QImage picture = drawChartBackground(which).convertToFormat(QImage::Format_RGB888);
        writeImage(picture, folder + QLatin1Char('/') + chartBackgroundFileName(which), "BMP");
    }
}

}  // namespace picturegen
