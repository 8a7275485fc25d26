#include "ui/records/gridheading.h"

#include <QHeaderView>
#include <QTableView>

namespace tork {

namespace {
QString headingStyle(const char* top, const char* bottom)
{
    return QStringLiteral("QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2); "
                          "border: 1px solid #A0A0A0; padding: 2px; }")
        .arg(QLatin1String(top), QLatin1String(bottom));
}
}  // namespace

void setHeadingFocused(QTableView* grid, bool focused)
{
    QHeaderView* header = grid->horizontalHeader();
    const QVariant shown = header->property("headingFocused");
    if (shown.isValid() && shown.toBool() == focused) return;   // a style sheet is costly to apply
    header->setProperty("headingFocused", focused);
    grid->horizontalHeader()->setStyleSheet(focused ? headingStyle("#FF9F35", "#FFD8AC") : headingStyle("#D5DEF2", "#CCD7EE"));
}

bool isHeadingFocused(const QTableView* grid) { return grid->horizontalHeader()->property("headingFocused").toBool(); }

}  // namespace tork
