#pragma once
// The 13 by 3 value table in the configured meridian order: row 0 the abbreviations,
// rows 1 and 2 the left and right side; the cell of measuring position p shows ME number
// positionPoint(p).

#include "core/app/meridians.h"

#include <QString>
#include <array>
#include <functional>

class QTableWidget;

namespace tork {

// Headings and empty centred cells; SIDE_LABELS writes "Left" and "Right" into column 0.
void setUpValueGrid(QTableWidget* grid, const MeridianTables& tables, bool sideLabels);
// Writes the 24 values (by ME number) with TEXT_OF into their cells.
void fillValueGrid(QTableWidget* grid, const MeridianTables& tables, const std::array<double, kPointCount>& values,
                   const std::function<QString(double)>& textOf);
// The ME number shown in a cell (column 1..12, row 1..2).
int pointOfCell(const MeridianTables& tables, int column, int row);

}  // namespace tork
