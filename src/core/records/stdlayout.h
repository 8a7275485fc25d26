#pragma once
// The STD column of a measurement row: the 24 quality scores as fixed-width text,
// each "%3.1f" padded with leading blanks to 5 characters, joined without separator.

#include <QString>
#include <array>

namespace tork {

// Written with '.' whatever the locale, so a database moves between desks unchanged.
QString formatStd(const std::array<double, 24>& quality);
// Characters 5i+1..5i+5 for i = 0..23; a piece that does not convert (or is missing) gives 0,
// an empty text gives 24 zeros. A ',' decimal separator is read as well as '.'.
std::array<double, 24> parseStd(const QString& text);

}  // namespace tork
