#pragma once
#include <QString>

class QTableView;

namespace tork {

// The fixed heading row of a record grid: an orange gradient while the grid has the focus,
// a pale blue one otherwise.
void setHeadingFocused(QTableView* grid, bool focused);
bool isHeadingFocused(const QTableView* grid);

}  // namespace tork
