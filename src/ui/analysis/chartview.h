#pragma once
// The chart canvas of the analysis window: draws the current chart scaled to its own size
// over the window's face colour and reports the chart's title line.

#include "drawing/charts/chart.h"
#include "drawing/charts/chartcatalog.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

namespace tork {

class ChartView : public QWidget {
    Q_OBJECT
public:
    // `data` gives the chart's data at drawing time (it lives as long as the window).
    explicit ChartView(std::function<charts::ChartData()> data, QWidget* parent = nullptr);

    // The chart to show, or nothing for a variant that draws nothing; redraws at once.
    void setChart(std::optional<charts::ChartChoice> choice);
    void redraw();
    QString title() const { return title_; }
    const QImage& picture() const { return picture_; }
    QSize sizeHint() const override { return {965, 554}; }

signals:
    void titleChanged(const QString& title);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::function<charts::ChartData()> data_;
    std::optional<charts::ChartChoice> choice_;
    QImage picture_;
    QString title_;
};

}  // namespace tork
