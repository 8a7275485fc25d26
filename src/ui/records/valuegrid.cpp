#include "ui/records/valuegrid.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QTableWidget>

namespace tork {

int pointOfCell(const MeridianTables& tables, int column, int row)
{
    return tables.positionPoint(MeridianTables::tablePosition(column, row));
}

void setUpValueGrid(QTableWidget* grid, const MeridianTables& tables, bool sideLabels)
{
    grid->clear();
    grid->setColumnCount(13);
    grid->setRowCount(3);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    auto fixedCell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignCenter);
        item->setBackground(QColor(0xE4, 0xE8, 0xF0));
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        return item;
    };
    grid->setItem(0, 0, fixedCell(QString()));
    grid->setItem(1, 0, fixedCell(sideLabels ? QStringLiteral("Left") : QString()));
    grid->setItem(2, 0, fixedCell(sideLabels ? QStringLiteral("Right") : QString()));
    for (int column = 1; column <= 12; ++column) {
        grid->setItem(0, column, fixedCell(meridianInfo(tables.meridianOrder(column)).abbreviation));
        for (int row = 1; row <= 2; ++row) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            grid->setItem(row, column, item);
        }
    }
}

void fillValueGrid(QTableWidget* grid, const MeridianTables& tables, const std::array<double, kPointCount>& values,
                   const std::function<QString(double)>& textOf)
{
    for (int column = 1; column <= 12; ++column)
        for (int row = 1; row <= 2; ++row)
            grid->item(row, column)->setText(textOf(values[pointOfCell(tables, column, row) - 1]));
}

}  // namespace tork
