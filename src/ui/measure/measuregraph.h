#pragma once
// The live graph of the measurement window: the deviation of the current from its baseline
// over the 2.5 s sampling window, on a dotted grid of +-30 uA.

#include "core/measure/measuringrun.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

namespace tork {

// Where the graph's lines go in a paint box of the given size. The plot spans x 32 to
// 32 + W' and y 0 to H', with W' = width - 32 and H' = height - 15.
struct GraphGeometry {
    int width = 0;
    int height = 0;

    double plotWidth() const { return width - 32; }
    double plotHeight() const { return height - 15; }
    // The plot's bottom-left corner, where the baseline fan starts.
    QPointF origin() const { return {32, plotHeight()}; }
    // End of a fan line drawn while the baseline is being taken (the first 300 ms).
    QPointF fanPoint(int elapsedMs) const;
    // A reading on the trace: time by the time bar's percent, height by its deviation
    // from the baseline (10 px per uA at H' = 600), held inside the paint box.
    QPointF tracePoint(int timePercent, double reading, double baseline, double gain) const;
};

class MeasureGraph : public QWidget {
    Q_OBJECT
public:
    explicit MeasureGraph(QWidget* parent = nullptr);

    // The empty graph; `running` adds the time labels of the sampling window.
    void clear(bool running);
    bool isRunning() const { return running_; }
    // Extends the trace by one reading; nothing is drawn until flush().
    void addSample(const SampleView& sample) { samples_.push_back(sample); }
    // Draws the readings added since the last flush onto the trace and asks for a repaint.
    // The window calls it at the screen's pace, so drawing never runs once per reading.
    void flush();
    int sampleCount() const { return int(samples_.size()); }
    // The trace as drawn so far (transparent where nothing is drawn).
    const QImage& trace() const { return trace_; }

    QSize sizeHint() const override { return {520, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawBackground();
    void redrawTrace();
    void drawSample(QPainter& painter, const SampleView& sample);

    bool running_ = false;
    std::vector<SampleView> samples_;
    QPixmap background_;
    QImage trace_;
    QPointF pen_;
    std::size_t drawn_ = 0;  // samples already on the trace image
};

}  // namespace tork
