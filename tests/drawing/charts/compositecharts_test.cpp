// The balance charts, the body energy diagram with its background picture, and every chart
// at two sizes and on a paper-like device.

#include "chartfixture.h"

#include "drawing/charts/balancecharts.h"
#include "drawing/charts/bodyenergy.h"
#include "drawing/charts/deviationframe.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace tork;
using namespace tork::charts;
using namespace tork::test;

namespace {

const QString kFace = colour::canvasFace.name();

TEST(BalanceCharts, WarningSignStartsAtExactlyTf1AndTurnsRedAtTf2)
{
    Measurement m = measurementOf(50);
    const Thresholds& t = m.result.thresholds;
    EXPECT_FALSE(warningSignColour(std::nextafter(t.difference1, 0.0), t).has_value());
    EXPECT_EQ(warningSignColour(t.difference1, t)->name(), colour::yellow.name());
    EXPECT_EQ(warningSignColour(std::nextafter(t.difference2, 0.0), t)->name(), colour::yellow.name());
    EXPECT_EQ(warningSignColour(t.difference2, t)->name(), colour::red.name());

    // Yin-yang: LR against GB differs by exactly Tf1 (slot 1), HT against SI by Tf2 (slot 2),
    // PC against TE by just under Tf1 (slot 3).
    m.result.deviation.fill(0);
    auto setMeridian = [&](int meridian, double d) {
        m.result.deviation[leftPoint(meridian) - 1] = d;
        m.result.deviation[rightPoint(meridian) - 1] = d;
    };
    setMeridian(LR, t.difference1);
    setMeridian(HT, -t.difference2);
    setMeridian(PC, std::nextafter(t.difference1, 0.0));
    const BalanceSeries series = balanceSeries(m.result, BalanceSet::YinYang);
    ASSERT_EQ(series.first[0], t.difference1);
    ASSERT_EQ(series.second[0], 0.0);
    for (const QSize size : {kScreenCanvas, kSmallCanvas}) {
        const Rendered chart = render(ChartKind::BalanceYinYang, m, size);
        EXPECT_EQ(chart.title, QString::fromUtf8("Yin-Yang Balance Analysis – Chart A"));
        const BalanceGeometry g(size.width(), size.height());
        EXPECT_EQ(pixel(chart.image, g.signCentre(1), 21).name(), colour::yellow.name());
        EXPECT_EQ(pixel(chart.image, g.signCentre(1), 14).name(), colour::yellow.name());  // the triangle
        EXPECT_EQ(pixel(chart.image, g.signCentre(2), 21).name(), colour::red.name());
        EXPECT_EQ(pixel(chart.image, g.signCentre(3), 21).name(), kFace);
        EXPECT_EQ(pixel(chart.image, g.signCentre(4), 21).name(), kFace);
        // A value of 0 puts its square on the baseline: slot 4's yang square (normal colour)
        // lies over its yin square.
        EXPECT_EQ(g.y(0), g.base);
        EXPECT_EQ(pixel(chart.image, g.slotCentre(4) - 4, g.base - 4).name(), toColor(ChartColours::normal).name());
        EXPECT_EQ(pixel(chart.image, g.slotCentre(4) - 4, g.base + 4).name(), toColor(ChartColours::normal).name());
        // Slot 1's yin square stands Tf1 hundredths of the height above the baseline.
        EXPECT_EQ(pixel(chart.image, g.slotCentre(1) - 4, g.y(t.difference1) - 3).name(), toColor(ChartColours::poor).name());
    }
}

TEST(BalanceCharts, QiBloodComparesTheLeftAndRightPairs)
{
    Measurement m = measurementOf(50, {{3, 70}, {4, 70}});  // HT and SI left high
    const BalanceSeries series = balanceSeries(m.result, BalanceSet::QiBlood);
    EXPECT_DOUBLE_EQ(series.first[1], m.result.pairMean[1] - m.result.energyAverage);
    EXPECT_DOUBLE_EQ(series.second[1], m.result.pairMean[7] - m.result.energyAverage);
    const Rendered chart = render(ChartKind::BalanceQiBlood, m);
    EXPECT_EQ(chart.title, QString::fromUtf8("Qi-Blood Balance Analysis – Chart A"));
    const BalanceGeometry g(kScreenCanvas.width(), kScreenCanvas.height());
    const int y = g.y(series.first[1]);
    EXPECT_EQ(pixel(chart.image, g.slotCentre(2) - 4, y - 3).name(), toColor(ChartColours::poor).name());
}

struct MarkerCase {
    const char* name;
    Measurement measurement;
};

TEST(BodyEnergyDiagram, MarkersSitWhereTheRatiosPlaceThemInTheirStateColour)
{
    for (const QSize size : {kScreenCanvas, kSmallCanvas}) {
        const BodyEnergyGeometry g(size.width(), size.height());

        // All ratios 1.0 and every state 0: the field marker on the centre cross, bright green.
        const Measurement even = measurementOf(50);
        const QPoint centre = g.fieldMarker(even.result);
        EXPECT_EQ(centre, QPoint(rnd(30 + g.fx / 2), rnd(30 + g.fy / 2)));
        Rendered chart = render(ChartKind::BodyEnergy, even, size);
        EXPECT_EQ(chart.title, "Diagram of Body Energy Balance");
        EXPECT_EQ(pixel(chart.image, centre.x() + 5, centre.y() + 5).name(), colour::brightGreen.name());
        EXPECT_EQ(pixel(chart.image, g.energyBarCentre() + 4, g.energyMarker(even.result) + 3).name(),
                  colour::brightGreen.name());

        // Left/right of 1.8 lies beyond the scale: the marker stops at x = 5.
        Measurement leftHeavy = even;
        leftHeavy.result.leftMean = 1.8 * leftHeavy.result.rightMean;
        EXPECT_EQ(g.fieldMarker(leftHeavy.result).x(), 5);

        // A woman with an average of 63 is in state 1: a yellow marker above the normal band.
        const Measurement woman = measurementOf(63, {}, false);
        ASSERT_EQ(woman.result.bodyEnergyState, 1);
        chart = render(ChartKind::BodyEnergy, woman, size);
        const int K = g.energyMarker(woman.result);
        EXPECT_LT(K, rnd(g.energyY(62)));
        EXPECT_EQ(pixel(chart.image, g.energyBarCentre() + 4, K + 3).name(), colour::gold.name());
        // The bar behind it: tolerable above 62, normal below.
        EXPECT_EQ(pixel(chart.image, g.energyBarCentre(), rnd(g.energyY(71))).name(), toColor(ChartColours::tolerable).name());
        EXPECT_EQ(pixel(chart.image, g.energyBarCentre(), rnd(g.energyY(45))).name(), toColor(ChartColours::normal).name());

        // A high/low ratio of 1.5 is state 0: bright green at the top of the normal band.
        Measurement autonomic = even;
        autonomic.result.tripleMax = 1.5 * autonomic.result.tripleMin;
        autonomic.result.autonomicState = 0;
        chart = render(ChartKind::BodyEnergy, autonomic, size);
        const int N = g.autonomicMarker(autonomic.result);
        EXPECT_EQ(N, rnd(g.autonomicY(1.5)));
        EXPECT_EQ(pixel(chart.image, g.autonomicBarCentre() + 4, N + 3).name(), colour::brightGreen.name());
    }
    EXPECT_EQ(stateMarkerColour(-2).name(), colour::gold.name());
    EXPECT_EQ(stateMarkerColour(3).name(), colour::red.name());
    EXPECT_EQ(stateMarkerColour(-3).name(), colour::red.name());
}

TEST(BodyEnergyDiagram, BackgroundPictureIsDrawnWithItsTransparentColourAndMayBeMissing)
{
    QTemporaryDir folder;
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 15; y < 75; ++y)
        for (int x = 20; x < 100; ++x) picture.setPixelColor(x, y, QColor(0, 0, 255));
    ASSERT_TRUE(picture.save(folder.filePath("kabkmg.msi"), "BMP"));

    Measurement m = measurementOf(50, {{1, 70}, {2, 70}, {3, 70}});  // moves the field marker off the centre
    const BodyEnergyGeometry g(kScreenCanvas.width(), kScreenCanvas.height());
    const int left = rnd(30 + g.fx / 2 - 60);
    const int top = rnd(30 + g.fy / 2 - 45 + 10);
    const Rendered with = render(ChartKind::BodyEnergy, m, kScreenCanvas, 1, MeridianTables(), folder.path());
    EXPECT_EQ(pixel(with.image, left + 40, top + 60).name(), QColor(0, 0, 255).name());
    EXPECT_EQ(pixel(with.image, left + 117, top + 87).name(), kFace);  // the key colour is left out

    const Rendered without = render(ChartKind::BodyEnergy, m, kScreenCanvas, 1, MeridianTables(), folder.filePath("none"));
    const Rendered none = render(ChartKind::BodyEnergy, m);
    EXPECT_EQ(pixel(without.image, left + 40, top + 60).name(), kFace);
    EXPECT_EQ(without.image, none.image);
    EXPECT_TRUE(loadChartPicture(folder.filePath("none"), "kabkmg.msi").isNull());
}

TEST(AllCharts, DrawAtAnySizeAndOnAFinerDevice)
{
    const Measurement m = measurementOf(50, {{1, 80}, {7, 75}, {13, 20}, {19, 25}, {3, 62}, {9, 25}});
    for (ChartKind kind : kAllChartKinds) {
        const QString name = chartKindName(kind);
        EXPECT_EQ(chartKindFromName(name), kind);
        const Rendered screen = render(kind, m, kScreenCanvas);
        const Rendered small = render(kind, m, kSmallCanvas);
        EXPECT_FALSE(screen.title.isEmpty()) << name.toStdString();
        EXPECT_EQ(screen.title, small.title) << name.toStdString();
        // A device with three pixels per chart pixel shows the same chart three times larger:
        // most pixels sampled at chart positions agree.
        const Rendered paper = render(kind, m, kScreenCanvas * 3, 1, MeridianTables(), {}, 3);
        EXPECT_EQ(screen.title, paper.title);
        int same = 0, samples = 0;
        for (int y = 4; y < kScreenCanvas.height(); y += 7)
            for (int x = 4; x < kScreenCanvas.width(); x += 7, ++samples)
                if (screen.image.pixelColor(x, y) == paper.image.pixelColor(3 * x + 1, 3 * y + 1)) ++same;
        EXPECT_GT(same, samples * 9 / 10) << name.toStdString();
        int drawn = 0;
        for (int y = 0; y < kSmallCanvas.height(); y += 3)
            for (int x = 0; x < kSmallCanvas.width(); x += 3)
                if (small.image.pixelColor(x, y) != colour::canvasFace) ++drawn;
        EXPECT_GT(drawn, 500) << name.toStdString();
    }
    EXPECT_FALSE(chartKindFromName("pie").has_value());
}

}  // namespace
