#include "core/app/meridians.h"

#include <gtest/gtest.h>

using namespace tork;

namespace {

std::array<double, 12> ones() { std::array<double, 12> f{}; f.fill(1.0); return f; }

}  // namespace

TEST(MeridianTables, DefaultOrderMapsEveryPositionToItsOwnPoint)
{
    MeridianTables tables;
    for (int p = 1; p <= 24; ++p) EXPECT_EQ(tables.positionPoint(p), p) << "position " << p;
    EXPECT_DOUBLE_EQ(tables.compensationFactor(HT), 1.1081);
    EXPECT_EQ(tables.orderedPointPair(7), std::make_pair(13, 19));  // SP left and right
    EXPECT_EQ(tables.positionMeridian(20), LR);
}

TEST(MeridianTables, CoupledPairOrderPlacesLargeIntestineSecond)
{
    MeridianTables tables;
    tables.rebuild(1, defaultMeridianOrder(), 0, ones());
    EXPECT_EQ(tables.meridianOrder(2), LI);
    EXPECT_EQ(tables.positionPoint(2), 6);    // left LI
    EXPECT_EQ(tables.positionPoint(8), 12);   // right LI
    EXPECT_EQ(tables.positionPoint(14), 18);  // k = 8 is ST, left ST
    EXPECT_EQ(tables.positionPoint(20), 24);  // right ST
    EXPECT_EQ(tables.orderedPointPair(8), std::make_pair(18, 24));
}

TEST(MeridianTables, CustomOrderKeepsFootPointNumbersInUpperGroup)
{
    MeridianTables tables;
    const std::array<int, 12> custom{7, 2, 3, 4, 5, 6, 1, 8, 9, 10, 11, 12};
    tables.rebuild(2, custom, 0, ones());
    EXPECT_EQ(tables.positionMeridian(1), SP);
    EXPECT_EQ(tables.positionPoint(1), 13);  // SP left stays ME13
    EXPECT_EQ(tables.positionPoint(7), 19);  // SP right stays ME19
    EXPECT_EQ(tables.positionPoint(13), 1);  // LU now among the lower six, still ME1
    EXPECT_EQ(tables.positionPoint(19), 7);
}

TEST(MeridianTables, CustomOrderThatIsNoPermutationFallsBackToDefault)
{
    const std::array<std::array<int, 12>, 3> bad{{
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13},
    }};
    for (const auto& order : bad) {
        MeridianTables tables;
        tables.rebuild(5, order, 0, ones());
        EXPECT_EQ(tables.meridianOrder(), defaultMeridianOrder());
    }
}

TEST(MeridianTables, FactorModes)
{
    MeridianTables tables;
    std::array<double, 12> custom{};
    for (int i = 0; i < 12; ++i) custom[i] = 0.5 + i * 0.05;
    tables.rebuild(0, defaultMeridianOrder(), 1, custom);
    for (int m = 1; m <= 12; ++m) EXPECT_DOUBLE_EQ(tables.compensationFactor(m), 1.0);
    tables.rebuild(0, defaultMeridianOrder(), 7, custom);
    for (int m = 1; m <= 12; ++m) EXPECT_DOUBLE_EQ(tables.compensationFactor(m), custom[m - 1]);
    tables.rebuild(0, defaultMeridianOrder(), 0, custom);
    EXPECT_DOUBLE_EQ(tables.compensationFactor(LU), 0.8541);
    EXPECT_DOUBLE_EQ(tables.compensationFactor(ST), 1.1388);
}

TEST(Meridians, PointNumbering)
{
    struct Case { int meridian, left, right; };
    const Case cases[] = {{LU, 1, 7}, {LI, 6, 12}, {SP, 13, 19}, {ST, 18, 24}, {KI, 15, 21}};
    for (const Case& c : cases) {
        EXPECT_EQ(leftPoint(c.meridian), c.left);
        EXPECT_EQ(rightPoint(c.meridian), c.right);
        EXPECT_EQ(meridianOfPoint(c.left), c.meridian);
        EXPECT_EQ(meridianOfPoint(c.right), c.meridian);
        EXPECT_TRUE(isLeftPoint(c.left));
        EXPECT_FALSE(isLeftPoint(c.right));
    }
}

TEST(Meridians, TableTextsKeepTheirPadding)
{
    EXPECT_EQ(meridianInfo(LU).sourcePoint, "TaiYuan  LU9");
    EXPECT_EQ(meridianInfo(ST).sourcePoint, "ChongYang ST42");
    EXPECT_EQ(meridianInfo(PC).element, "Mi.Fire");
    EXPECT_EQ(meridianInfo(TE).nameWithAbbreviation, "Triple Energizer Meridian(TE)");
    EXPECT_EQ(meridianInfo(GB).timeWindow, "11pm-1am");
}

TEST(Meridians, PointPictureNames)
{
    struct Case { int me, style; const char* name; };
    const Case cases[] = {{1, 1, "PLh1.bmp"}, {6, 1, "PLh6.bmp"}, {7, 2, "GRh1.bmp"}, {13, 3, "CLf1.bmp"},
                          {24, 1, "PRf6.bmp"}, {19, 2, "GRf1.bmp"}, {3, 9, "PLh3.bmp"}};
    for (const Case& c : cases) EXPECT_EQ(pointPictureName(c.me, c.style), c.name);
}

TEST(Meridians, ValueTablePositionsAndColours)
{
    EXPECT_EQ(MeridianTables::tablePosition(1, 1), 1);
    EXPECT_EQ(MeridianTables::tablePosition(6, 2), 12);
    EXPECT_EQ(MeridianTables::tablePosition(7, 1), 13);
    EXPECT_EQ(MeridianTables::tablePosition(12, 2), 24);
    EXPECT_EQ(levelColour(0), ChartColours::normal);
    EXPECT_EQ(levelColour(-1), ChartColours::tolerable);
    EXPECT_EQ(levelColour(2), ChartColours::poor);
    EXPECT_EQ(ChartColours::normal.windowsValue(), 0x71FF91u);
    EXPECT_EQ(ChartColours::fourth.windowsValue(), 0xFF3E3Eu);
}
