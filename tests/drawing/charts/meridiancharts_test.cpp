// The deviation charts: bar and slope diagrams, the Ryodoraku diagram and the twelve-bar
// charts, probed where their own geometry places bars, markers, arrows and labels.

#include "chartfixture.h"

#include "core/app/formats.h"

#include "drawing/charts/deviationframe.h"
#include "drawing/charts/excdefcharts.h"
#include "drawing/charts/meridiandiagrams.h"
#include "drawing/charts/ryodoraku.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <set>

using namespace tork;
using namespace tork::charts;
using namespace tork::test;

namespace {

// Points in all three level classes, some sides unequal.
Measurement mixedLevels()
{
    return measurementOf(50, {{1, 80}, {7, 75}, {2, 40}, {3, 55}, {9, 35}, {4, 30}, {13, 20}, {19, 25},
                              {14, 66}, {20, 61}, {17, 70}, {23, 72}, {6, 44}, {12, 58}});
}

// A row of a bar between the baseline and its end that no threshold line crosses.
int probeRow(const DeviationScale& s, const Thresholds& t, int end)
{
    int y = (s.base + end) / 2;
    for (double d : {t.highExcess, -t.highDeficiency, t.excess, -t.deficiency})
        if (std::abs(y - s.thresholdY(d)) <= 1) y += 3;
    return y;
}

int columnMiddle(const DeviationScale& s, int column) { return (s.columnLeft(column) + s.columnRight(column)) / 2; }

class AtBothSizes : public ::testing::TestWithParam<QSize> {};

TEST_P(AtBothSizes, EachBarShowsItsPointsLevelColourInMeridianOrder)
{
    const Measurement m = mixedLevels();
    std::set<int> levels(m.result.pointLevel.begin(), m.result.pointLevel.end());
    ASSERT_TRUE(levels.count(0) && (levels.count(1) || levels.count(-1)) && (levels.count(3) || levels.count(-3)));

    for (const MeridianTables& tables : {MeridianTables(), pairedOrderTables()}) {
        const Rendered chart = render(ChartKind::Bar, m, GetParam(), 1, tables);
        EXPECT_EQ(chart.title, QString::fromUtf8("Meridian Excess-Deficiency Analysis – Bar Diagram"));
        const DeviationScale s(GetParam().width(), GetParam().height(), m.result.energyAverage);
        for (int k = 1; k <= 12; ++k) {
            const auto [left, right] = tables.orderedPointPair(k);
            for (const auto& [column, point] : {std::pair{2 * k - 1, left}, std::pair{2 * k, right}}) {
                const int end = s.y(m.result.deviation[point - 1]);
                if (std::abs(end - s.base) < 6) continue;  // too thin to probe inside
                EXPECT_EQ(pixel(chart.image, columnMiddle(s, column), probeRow(s, m.result.thresholds, end)).name(),
                          levelQColor(m.result.pointLevel[point - 1]).name())
                    << "column " << column << " ME" << point;
            }
        }
    }
}

TEST_P(AtBothSizes, PairedOrderPutsLargeIntestineInTheSecondSlot)
{
    // LI poor on the left, tolerable on the right; every other point normal.
    Measurement m = measurementOf(50, {{6, 90}, {12, 64}});
    const MeridianTables paired = pairedOrderTables();
    ASSERT_EQ(paired.meridianOrder(2), LI);
    const Rendered chart = render(ChartKind::Bar, m, GetParam(), 1, paired);
    const DeviationScale s(GetParam().width(), GetParam().height(), m.result.energyAverage);
    for (const auto& [column, point] : {std::pair{3, 6}, std::pair{4, 12}}) {
        const int end = s.y(m.result.deviation[point - 1]);
        EXPECT_EQ(pixel(chart.image, columnMiddle(s, column), probeRow(s, m.result.thresholds, end)).name(),
                  levelQColor(m.result.pointLevel[point - 1]).name());
    }
    EXPECT_NE(m.result.pointLevel[5], m.result.pointLevel[11]);
}

TEST_P(AtBothSizes, ZeroDeviationLiesOnTheBaselineAndLargeOnesAreClipped)
{
    Measurement m = measurementOf(50);
    m.result.deviation.fill(0);
    m.result.deviation[0] = 2 * m.result.energyAverage;    // ME1 (column 1) far above
    m.result.deviation[6] = -2 * m.result.energyAverage;   // ME7 (column 2) far below
    m.result.pointLevel[0] = 3;
    m.result.pointLevel[6] = -3;
    const QSize size = GetParam();
    const DeviationScale s(size.width(), size.height(), m.result.energyAverage);
    EXPECT_EQ(s.y(0), s.base);
    EXPECT_EQ(s.y(2 * m.result.energyAverage), 5);
    EXPECT_EQ(s.y(-2 * m.result.energyAverage), size.height() - 5);
    EXPECT_EQ(s.y(-m.result.energyAverage * 0.999), s.thresholdY(-m.result.energyAverage * 0.999));

    const Rendered bar = render(ChartKind::Bar, m, size);
    const QString poor = levelQColor(3).name();
    const QString face = colour::canvasFace.name();
    const int x1 = s.columnLeft(1) + 4;
    const int x2 = s.columnLeft(2) + 4;
    EXPECT_EQ(pixel(bar.image, x1, 7).name(), poor);
    EXPECT_EQ(pixel(bar.image, x1, 3).name(), face);
    EXPECT_EQ(pixel(bar.image, x2, size.height() - 7).name(), poor);
    EXPECT_EQ(pixel(bar.image, x2, size.height() - 3).name(), face);
    // A zero bar is a line on the baseline: nothing of the normal colour above or below it.
    const int x5 = columnMiddle(s, 5);
    EXPECT_EQ(pixel(bar.image, x5, s.base - 4).name(), face);
    EXPECT_EQ(pixel(bar.image, x5, s.base + 4).name(), face);

    // The slope marker of a zero deviation is centred on the baseline.
    const Rendered slope = render(ChartKind::Slope, m, size);
    const QRect marker = slopeMarker(s, 5, s.y(0));
    EXPECT_EQ(marker.center().y(), s.base);
    EXPECT_EQ(pixel(slope.image, marker.left() + 3, s.base - 3).name(), levelQColor(0).name());
    EXPECT_EQ(pixel(slope.image, marker.left() + 3, s.base + 3).name(), levelQColor(0).name());
}

INSTANTIATE_TEST_SUITE_P(Charts, AtBothSizes, ::testing::Values(kScreenCanvas, kSmallCanvas));

struct ArrowCase {
    ChartKind kind;
    int level;
    QColor colour;  // empty: no arrow
};

class SideArrows : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(SideArrows, AppearOnlyForUnequalSidesAndPointToTheHigherSide)
{
    const ArrowCase c = GetParam();
    Measurement m = measurementOf(50);
    m.result.sideLevel[HT - 1] = c.level;
    const int slot = c.kind == ChartKind::TimeCycle ? 7 : 3;  // HT's slot in the chart
    const Rendered chart = render(c.kind, m);
    const DeviationScale s(kScreenCanvas.width(), kScreenCanvas.height(), m.result.energyAverage);
    const int xk = s.slotCentre(slot);
    const QString face = colour::canvasFace.name();
    const QColor right = pixel(chart.image, xk + 9, 30);
    const QColor left = pixel(chart.image, xk - 9, 30);
    if (c.level == 0) {
        EXPECT_EQ(right.name(), face);
        EXPECT_EQ(left.name(), face);
    } else if (c.level > 0) {
        EXPECT_EQ(right.name(), c.colour.name());
        EXPECT_EQ(left.name(), face);
        EXPECT_EQ(sideArrowTip(xk, c.level).x(), xk + 13);
    } else {
        EXPECT_EQ(left.name(), c.colour.name());
        EXPECT_EQ(right.name(), face);
        EXPECT_EQ(sideArrowTip(xk, c.level).x(), xk - 13);
    }
    // No other slot carries an arrow.
    for (int k = 1; k <= 12; ++k) {
        if (k == slot) continue;
        EXPECT_EQ(pixel(chart.image, s.slotCentre(k) + 9, 30).name(), face) << "slot " << k;
        EXPECT_EQ(pixel(chart.image, s.slotCentre(k) - 9, 30).name(), face) << "slot " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Charts, SideArrows,
    ::testing::Values(ArrowCase{ChartKind::Bar, 0, {}}, ArrowCase{ChartKind::Bar, 2, toColor(ChartColours::poor)},
                      ArrowCase{ChartKind::Bar, -1, toColor(ChartColours::tolerable)},
                      ArrowCase{ChartKind::Slope, 1, toColor(ChartColours::tolerable)},
                      ArrowCase{ChartKind::Slope, -2, toColor(ChartColours::poor)},
                      ArrowCase{ChartKind::Ryodoraku, 1, colour::gold}, ArrowCase{ChartKind::Ryodoraku, -2, colour::red},
                      ArrowCase{ChartKind::TimeCycle, 0, {}}, ArrowCase{ChartKind::TimeCycle, -1, colour::gold},
                      ArrowCase{ChartKind::TimeCycle, 2, colour::red}));

TEST(SlopeDiagram, LineIsBlueOnlyWhenTheRightSideIsHigher)
{
    EXPECT_EQ(slopeLineColour(-3, 4).name(), colour::blue.name());
    EXPECT_EQ(slopeLineColour(4, -3).name(), colour::red.name());
    EXPECT_EQ(slopeLineColour(2.5, 2.5).name(), colour::red.name());

    // Drawn: slot 1 rising to the right (blue), slot 2 falling (red), slot 3 level (red).
    Measurement m = measurementOf(50);
    m.result.deviation.fill(0);
    m.result.deviation[0] = -5;  // LU left
    m.result.deviation[6] = 5;   // LU right
    m.result.deviation[1] = 5;   // PC left
    m.result.deviation[7] = -5;  // PC right
    const Rendered chart = render(ChartKind::Slope, m);
    const DeviationScale s(kScreenCanvas.width(), kScreenCanvas.height(), m.result.energyAverage);
    auto count = [&](int slot, const QColor& colour) {
        int n = 0;
        const int top = std::min(s.y(5), s.y(-5)) + 7;
        const int bottom = std::max(s.y(5), s.y(-5)) - 7;
        for (int x = s.columnLeft(2 * slot - 1); x < s.columnRight(2 * slot); ++x)
            for (int y = top; y <= bottom; ++y)
                if (std::abs(y - s.base) > 2 && chart.image.pixelColor(x, y) == colour) ++n;
        return n;
    };
    EXPECT_GT(count(1, colour::blue), 0);
    EXPECT_EQ(count(1, colour::red), 0);
    EXPECT_GT(count(2, colour::red), 0);
    EXPECT_EQ(count(2, colour::blue), 0);
}

TEST(RyodorakuDiagram, MarkersFollowTheCompensatedValueAndStopAtTheTop)
{
    Measurement m = measurementOf(50, {{1, 160}, {7, 100}});
    const RyodorakuGeometry g(kScreenCanvas.width(), kScreenCanvas.height());
    EXPECT_EQ(g.markerY(160), 5);
    EXPECT_EQ(g.markerY(0), g.Hp);
    EXPECT_EQ(g.markerY(75), g.Hp - int(std::lround(g.Hp / 2.0)));
    const Rendered chart = render(ChartKind::Ryodoraku, m);
    EXPECT_EQ(chart.title, "Ryodoraku Analysis Diagram");
    for (const auto& [column, point] : {std::pair{1, 1}, std::pair{2, 7}, std::pair{5, 3}}) {
        const QRect box = g.marker(column, m.result.compensated[point - 1]);
        EXPECT_EQ(pixel(chart.image, box.left() + 3, box.center().y() + 2).name(), levelQColor(m.result.pointLevel[point - 1]).name())
            << "ME" << point;
    }
}

TEST(TimeCycle, MeasurementTimeChoosesTheHighlightedSlot)
{
    struct Case {
        int hour, minute, slot;
    };
    for (const Case c : {Case{7, 30, 5}, Case{23, 10, 1}, Case{0, 40, 1}, Case{1, 0, 2}, Case{22, 59, 12}, Case{12, 0, 7}}) {
        const double at = toDayCount(QDateTime(QDate(2026, 12, 11), QTime(c.hour, c.minute)));
        EXPECT_EQ(timeCyclePeriod(at), c.slot) << c.hour << ":" << c.minute;
    }
    EXPECT_EQ(meridianInfo(timeCycleMeridian(5)).abbreviation, "ST");
    EXPECT_EQ(meridianInfo(timeCycleMeridian(1)).abbreviation, "GB");

    // Drawn at 07:30: ST's label is orange, and no other slot's label is.
    Measurement m = measurementOf(50);
    m.record.measuredAt = toDayCount(QDateTime(QDate(2026, 12, 11), QTime(7, 30)));
    for (const QSize size : {kScreenCanvas, kSmallCanvas}) {
        const Rendered chart = render(ChartKind::TimeCycle, m, size);
        const DeviationScale s(size.width(), size.height(), m.result.energyAverage);
        auto orangePixels = [&](int slot) {
            int n = 0;
            for (int x = s.slotLeft(slot) + 2; x < s.slotRight(slot) - 2; ++x)
                for (int y = size.height() - 46; y < size.height() - 32; ++y)
                    if (isInk(chart.image.pixelColor(x, y), colour::labelOrange)) ++n;
            return n;
        };
        for (int k = 1; k <= 12; ++k) EXPECT_EQ(orangePixels(k) > 0, k == 5) << "slot " << k;
    }
}

TEST(TwelveBarCharts, BarsMeasureAndColourWhatEachChartSays)
{
    Measurement m = mixedLevels();
    const auto timeCycle = twelveBars(m.result, TwelveBarChart::TimeCycle);
    EXPECT_DOUBLE_EQ(timeCycle[1].value, (m.result.deviation[13] + m.result.deviation[19]) / 2);  // LR
    EXPECT_EQ(timeCycle[1].colourLevel, m.result.meridianLevel[LR - 1]);
    const auto qiBlood = twelveBars(m.result, TwelveBarChart::QiBlood);
    EXPECT_EQ(qiBlood[6].arrowLevel, m.result.sideLevel[GB - 1]);
    const auto yinYang = twelveBars(m.result, TwelveBarChart::YinYang);
    EXPECT_DOUBLE_EQ(yinYang[4].value, m.result.pairMean[4] - m.result.energyAverage);
    EXPECT_EQ(yinYang[4].arrowLevel, m.result.coupleLevel[4]);

    // A pair whose mean deviation is exactly Te is tolerable; a meridian of level 3 is poor
    // even when its bar is clipped at the top.
    Measurement edge = measurementOf(50);
    edge.result.pairMean[0] = edge.result.energyAverage + edge.result.thresholds.excess;
    edge.result.pairLevel[0] = edge.result.thresholds.classify5(edge.result.thresholds.excess);
    ASSERT_EQ(edge.result.pairLevel[0], 1);
    edge.result.deviation[leftPoint(GB) - 1] = edge.result.deviation[rightPoint(GB) - 1] = 3 * edge.result.energyAverage;
    edge.result.meridianLevel[GB - 1] = 3;
    const DeviationScale s(kScreenCanvas.width(), kScreenCanvas.height(), edge.result.energyAverage);
    const Rendered yy = render(ChartKind::ExcDefYinYang, edge);
    EXPECT_EQ(pixel(yy.image, s.slotLeft(1) + 4, s.y(edge.result.thresholds.excess) + 4).name(), levelQColor(1).name());
    const Rendered tc = render(ChartKind::TimeCycle, edge);
    EXPECT_EQ(pixel(tc.image, s.slotLeft(1) + 4, 8).name(), levelQColor(3).name());
    EXPECT_EQ(pixel(tc.image, s.slotLeft(1) + 4, 3).name(), colour::canvasFace.name());
}

}  // namespace
