#include "core/app/formats.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace tork;

TEST(Formats, RoundHalfEven)
{
    struct Case { double in; std::int64_t out; };
    const Case cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                          {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {83.81, 84}, {1e12 + 0.5, 1000000000000}};
    for (const Case& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Formats, FixedFormatsPadAndUseTheLocaleSeparator)
{
    EXPECT_EQ(formatFixed(5.0, 3, 0), "  5");
    EXPECT_EQ(formatFixed(55.44, 3, 1), "55.4");
    EXPECT_EQ(formatFixed(5.25, 5, 1), "  5.3");  // exact halves round away from zero
    EXPECT_EQ(formatFixed(123.45, 1, 1), "123.5");
    EXPECT_EQ(formatInteger(42, 6), "    42");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatFixed(55.44, 3, 1), "55,4");
    EXPECT_EQ(formatThousands(1234567, 8), "1.234.567");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(formatThousands(1234567, 8), "1,234,567");
    EXPECT_EQ(formatThousands(255, 8), "     255");
    QLocale::setDefault(QLocale::c());
}

TEST(Formats, DayCountsFromTheEpoch)
{
    EXPECT_DOUBLE_EQ(toDayCount(QDate(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(toDayCount(QDate(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(toDayCount(QDate(1910, 12, 13)), 4000.0);
    const QDateTime noon(QDate(2026, 12, 11), QTime(12, 0));
    const double days = toDayCount(noon);
    EXPECT_DOUBLE_EQ(days - std::floor(days), 0.5);
    EXPECT_EQ(fromDayCount(days), noon);
    EXPECT_EQ(fromDayCount(toDayCount(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)))),
              QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)));
    // Before the epoch the time of day still counts forward from midnight.
    EXPECT_EQ(fromDayCount(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime()), 0.0);
}

TEST(Formats, AgeInYears)
{
    EXPECT_DOUBLE_EQ(ageInYears(toDayCount(QDate(1980, 1, 1)), toDayCount(QDate(1980, 1, 1)) + 365 * 40), 40.0);
}
