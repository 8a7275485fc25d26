#pragma once
// Number formats, rounding and the day-count date-times shared by every window and report.

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace tork {

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t roundHalfEven(double value);

// printf-style fixed format ("%3.0f", "%3.1f", "%5.1f", "%1.1f") with the current
// locale's decimal separator: width counts the whole text, padded with blanks on the left.
QString formatFixed(double value, int width, int decimals);
// Integer in a field of the given width ("%6.0d").
QString formatInteger(std::int64_t value, int width);
// Number with the locale's thousands separators and no decimals in a field ("%8.0n").
QString formatThousands(double value, int width);

// Date-times are day counts from 30 December 1899, the fraction being the time of day; 0 means none.
double toDayCount(const QDateTime& dateTime);
double toDayCount(const QDate& date);
QDateTime fromDayCount(double days);
QDate dateFromDayCount(double days);

// Display in the current locale's short and long formats.
QString shortDate(double days);
QString shortDateTime(double days);
QString shortTime(double days);
QString longDate(double days);

// Age in years between two day counts: (later - birth) / 365 days.
double ageInYears(double birthDays, double laterDays);

}  // namespace tork
