#pragma once
// What the record windows need beyond plain row access: the date search text, the cells of
// the manual entry grid, memo lines, and rewriting a measurement's entered columns only.

#include <QDate>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tork {

// A date typed into the search box, read in the locale's short date format (a four-digit
// year is accepted as well). A two-digit year is taken in the last hundred years up to TODAY,
// so "5/3/13" is 2013 and "5/3/50" is 1950.
std::optional<QDate> parseSearchDate(const QString& text, const QLocale& locale = QLocale(),
                                     const QDate& today = QDate::currentDate());

// ---- manual entry cells ----

constexpr double kLargestEnteredValue = 200.0;
constexpr double kBlankedValue = 0.09;   // a value up to this leaves its cell empty

// The characters the manual entry grid lets through: digits, '.', '-', '%', '&', '\'', '('.
// (Backspace and Enter are keys, not characters, and are handled by the grid.)
bool isManualEntryCharacter(QChar c);
// A cell's number: a trimmed empty text is 0; the locale's decimal separator and '.' are both read.
// nullopt when the text is no number ("1-2", "%").
std::optional<double> parseCellNumber(const QString& text, const QLocale& locale = QLocale());
// The cell text of a number: empty up to 0.09, else "%5.1f" of the number with 200 as the ceiling.
QString cellText(double value);
// The value stored for a cell: negative numbers become 0, numbers above 200 become 200.
double storedCellValue(double number);

// A point value in the measurement list's "###.#" format: one decimal at most, no leading
// zero, no trailing ".0", and nothing at all for 0 (12.5 "12.5", 12.0 "12", 0.5 ".5").
QString pointValueText(double value);

// ---- memo ----

// The memo column holds the lines each ended by carriage return and line feed.
QString memoFromLines(const QStringList& lines);
QStringList linesFromMemo(const QString& memo);

// ---- measurement rows ----

// Rewrites MeDate, MeVota, MEMO1 and ME1..ME24 of the row KEY; CustNo, STD and the rest stay.
// Returns an error text or empty.
QString updateEnteredValues(QSqlDatabase& db, qint64 key, double dateTime, bool highPotential, const QString& memo,
                            const std::array<double, 24>& values);

// The refusal of a patient number already in use, naming the patient who has it.
QString numberTakenMessage(const QString& holderName);

}  // namespace tork
