#include "ui/analysis/chartview.h"

#include "drawing/charts/chartcanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace tork {

ChartView::ChartView(std::function<charts::ChartData()> data, QWidget* parent) : QWidget(parent), data_(std::move(data))
{
    setMinimumSize(320, 200);
    resize(sizeHint());
}

void ChartView::setChart(std::optional<charts::ChartChoice> choice)
{
    choice_ = choice;
    redraw();
}

void ChartView::redraw()
{
    // Drawn once per change into a picture of the canvas's size; painting only copies it.
    picture_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture_.fill(charts::colour::canvasFace);
    QString title;
    if (choice_) {
        QPainter painter(&picture_);
        title = charts::drawChart(painter, QRectF(picture_.rect()), choice_->kind, choice_->form, data_());
    }
    if (title != title_) {
        title_ = title;
        emit titleChanged(title_);
    }
    update();
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void ChartView::resizeEvent(QResizeEvent*) { redraw(); }

void ChartView::mousePressEvent(QMouseEvent* event)
{
    emit clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace tork
