// The wheel charts: E.C.I. pie, autonomic analysis and five elements, probed along their
// sector angles just inside and just outside the radius their values give.

#include "chartfixture.h"

#include "drawing/charts/autonomic.h"
#include "drawing/charts/ecipie.h"
#include "drawing/charts/fiveelements.h"
#include "drawing/charts/wheel.h"

#include <gtest/gtest.h>

using namespace tork;
using namespace tork::charts;
using namespace tork::test;

namespace {

const QString kFace = colour::canvasFace.name();

class WheelSizes : public ::testing::TestWithParam<QSize> {};

TEST_P(WheelSizes, EciSectorsReachTheirMeanScoreInItsClassColour)
{
    Measurement m = measurementOf(50);
    m.result.pointScore.fill(9.0);
    const MeridianTables tables = pairedOrderTables();
    struct Sector {
        int k;
        double left, right;
    };
    // Sector 2 (LI in the paired order): 7.0 and 9.0 give 8.0, good, radius 12/14.
    const Sector sectors[] = {{1, 10.0, 10.0}, {2, 7.0, 9.0}, {3, 7.0, 7.0}, {4, 6.9, 6.9}, {5, 1.0, 1.0}};
    for (const Sector& s : sectors) {
        const auto [lp, rp] = tables.orderedPointPair(s.k);
        m.result.pointScore[lp - 1] = s.left;
        m.result.pointScore[rp - 1] = s.right;
    }
    ASSERT_EQ(tables.orderedPointPair(2), std::make_pair(6, 12));
    const QSize size = GetParam();
    const Rendered chart = render(ChartKind::EciPie, m, size, 1, tables);
    EXPECT_EQ(chart.title, "E.C.I. Pie Diagram");
    const Wheel w = Wheel::eciPie(size.width(), size.height());
    for (const Sector& s : sectors) {
        const double a = sectorScore(m.result, tables, s.k);
        const double f = eciSectorFraction(a);
        const double angle = eciSectorMidAngle(s.k) - 9;
        const QPointF inside = w.at(angle, f - 0.04);
        EXPECT_EQ(pixel(chart.image, inside.x(), inside.y()).name(), scoreFillColour(a).name()) << "sector " << s.k;
        if (f < 0.95) {
            const QPointF outside = w.at(angle, f + 0.04);
            EXPECT_EQ(pixel(chart.image, outside.x(), outside.y()).name(), kFace) << "sector " << s.k;
        }
    }
    EXPECT_DOUBLE_EQ(sectorScore(m.result, tables, 2), 8.0);
    EXPECT_DOUBLE_EQ(eciSectorFraction(8.0), 12.0 / 14);
    EXPECT_DOUBLE_EQ(eciSectorFraction(10.0), 1.0);
}

TEST_P(WheelSizes, FiveElementSectorsGrowFromTheCentreDiscToTheOuterRing)
{
    Measurement m = measurementOf(50);
    const double A = m.result.energyAverage;
    for (auto& row : m.result.elementTable) row.fill(A);
    for (auto& row : m.result.elementLevel) row.fill(0);
    m.result.elementTable[0][0] = 0;      // Wood: ends at the centre disc
    m.result.elementTable[1][0] = A;      // Mo.Fire: on the energy ring
    m.result.elementTable[3][0] = 2 * A;  // Earth: fills to the outer ring
    m.result.elementLevel[3][0] = 2;
    m.result.elementTable[2][0] = 1.5 * A;  // Mi.Fire beside Mo.Fire, with its own colour
    m.result.elementLevel[2][0] = -1;
    const QSize size = GetParam();
    const Wheel w = Wheel::centred(size.width(), size.height());
    const Rendered chart = render(ChartKind::FiveElements, m, size, 1);
    EXPECT_EQ(chart.title, "Five Elements Analysis With Yin-Zang And Yang-Fu Integrated");

    EXPECT_DOUBLE_EQ(elementFraction(0, A), 1.0 / 3);
    EXPECT_DOUBLE_EQ(elementFraction(A, A), 2.0 / 3);
    EXPECT_DOUBLE_EQ(elementFraction(2 * A, A), 1.0);

    struct Probe {
        int sector;
        double fraction;
        QString expected;
    };
    const QString normal = levelQColor(0).name();
    const Probe probes[] = {
        {1, 0.37, kFace},                                     // Wood stops at the disc
        {2, 0.62, normal}, {2, 0.71, kFace},                  // Mo.Fire at two thirds
        {3, 0.95, levelQColor(2).name()},                     // Earth reaches the rim, poor
        {6, 0.78, levelQColor(1).name()}, {6, 0.88, kFace},  // Mi.Fire at 5/6, tolerable
    };
    for (const Probe& p : probes) {
        const ElementSector& sector = elementSector(p.sector);
        // Beside the label angle, away from the value text.
        const QPointF at = w.at(sector.labelAngle + (sector.toAngle - sector.fromAngle) / 4, p.fraction);
        EXPECT_EQ(pixel(chart.image, at.x(), at.y()).name(), p.expected) << "sector " << p.sector << " at " << p.fraction;
    }
}

INSTANTIATE_TEST_SUITE_P(Charts, WheelSizes, ::testing::Values(kScreenCanvas, kSmallCanvas));

TEST(FiveElements, FormsUseTheirTableColumnAndLabels)
{
    EXPECT_EQ(elementSectorLabel(3, 2), "Earth - SP");
    EXPECT_EQ(elementSectorLabel(1, 1), "Wood - LR/GB");
    EXPECT_EQ(elementSectorLabel(6, 3), "Mi.Fire - TE");
    EXPECT_EQ(elementSectorLabel(2, 1), "Mo.Fire - HT/SI");

    Measurement m = measurementOf(50);
    const double A = m.result.energyAverage;
    for (auto& row : m.result.elementTable) row = {A, A, A};
    m.result.elementTable[3] = {A, 2 * A, 0};  // Earth: mean A, yin 2A, yang 0
    const Wheel w = Wheel::centred(kScreenCanvas.width(), kScreenCanvas.height());
    const QPointF nearRim = w.at(elementSector(3).labelAngle + 15, 0.9);
    struct Case {
        int form;
        QString title;
        bool filledNearRim;
    };
    for (const Case& c : {Case{1, "Five Elements Analysis With Yin-Zang And Yang-Fu Integrated", false},
                          Case{2, "Five Elements Analysis By Yin-Zang", true}, Case{3, "Five Elements Analysis By Yang-Fu", false}}) {
        const Rendered chart = render(ChartKind::FiveElements, m, kScreenCanvas, c.form);
        EXPECT_EQ(chart.title, c.title);
        EXPECT_EQ(pixel(chart.image, nearRim.x(), nearRim.y()).name() != kFace, c.filledNearRim) << "form " << c.form;
    }
}

TEST(AutonomicAnalysis, HighestAndLowestTriplesAreMarkedAndSizedByTheirValue)
{
    Measurement m = measurementOf(50);
    m.result.tripleMean = {40, 60, 60, 50, 30, 50, 50, 50};  // triples 2 and 3 highest, 5 lowest
    m.result.tripleMax = 60;
    m.result.tripleMin = 30;
    m.result.autonomicState = 3;
    const Wheel w = Wheel::centred(kScreenCanvas.width(), kScreenCanvas.height());
    const Rendered chart = render(ChartKind::Autonomic, m);
    EXPECT_EQ(chart.title, "Autonomic Nervous System Analysis");
    for (int i = 1; i <= 8; ++i) {
        const int triple = autonomicSectorTriple(i);
        const double value = m.result.tripleMean[triple - 1];
        const QColor expected = triple == 2 || triple == 3 ? toColor(ChartColours::fourth)
                                : triple == 5              ? toColor(ChartColours::fifth)
                                                           : toColor(ChartColours::normal);
        EXPECT_EQ(autonomicSectorColour(value, m.result).name(), expected.name());
        const double f = autonomicFraction(value, m.result.tripleMax);
        const double angle = 90 + 45 * (i - 1) + 9;
        const QPointF inside = w.at(angle, f - 0.05);
        EXPECT_EQ(pixel(chart.image, inside.x(), inside.y()).name(), expected.name()) << "sector " << i;
        if (f < 0.95) {
            const QPointF outside = w.at(angle, f + 0.05);
            EXPECT_EQ(pixel(chart.image, outside.x(), outside.y()).name(), kFace) << "sector " << i;
        }
    }
    EXPECT_DOUBLE_EQ(autonomicFraction(0, 60), 3.0 / 17);
    EXPECT_DOUBLE_EQ(autonomicFraction(60, 60), 1.0);
    EXPECT_EQ(autonomicSectorTriple(1), 3);
    EXPECT_EQ(autonomicSectorTriple(8), 1);
    EXPECT_EQ(tripleName(8), "Tri.Yang-RF");
}

TEST(AutonomicAnalysis, RatioColourFollowsTheState)
{
    EXPECT_EQ(autonomicRatioColour(0).name(), colour::green.name());
    EXPECT_EQ(autonomicRatioColour(1).name(), colour::amber.name());
    EXPECT_EQ(autonomicRatioColour(2).name(), colour::amber.name());
    EXPECT_EQ(autonomicRatioColour(3).name(), colour::red.name());
}

}  // namespace
