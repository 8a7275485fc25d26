#include "ui/measure/measuregraph.h"

#include "ui/measure/measurecolours.h"

#include <QPainter>
#include <algorithm>

namespace tork {

using namespace MeasureTiming;

QPointF GraphGeometry::fanPoint(int elapsedMs) const
{
    return {32 + elapsedMs * plotWidth() / kWindowMs, (600 - elapsedMs) * plotHeight() / 600};
}

QPointF GraphGeometry::tracePoint(int timePercent, double reading, double baseline, double gain) const
{
    const double x = 32 + (25.0 * timePercent + 50) * plotWidth() / kWindowMs;
    const double y = plotHeight() / 600 * (300 - 10 * (reading - baseline) / gain);
    return {x, std::clamp(y, 0.0, double(height))};
}

MeasureGraph::MeasureGraph(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 120);
}

void MeasureGraph::clear(bool running)
{
    running_ = running;
    samples_.clear();
    drawBackground();
    redrawTrace();
    update();
}

void MeasureGraph::flush()
{
    if (drawn_ == samples_.size()) return;
    if (!trace_.isNull()) {
        QPainter painter(&trace_);
        for (; drawn_ < samples_.size(); ++drawn_) drawSample(painter, samples_[drawn_]);
    }
    drawn_ = samples_.size();
    update();
}

void MeasureGraph::drawSample(QPainter& painter, const SampleView& sample)
{
    if (sample.gain <= 0) return;
    const GraphGeometry geometry{width(), height()};
    QPen trace(measureColour(0x0051FF), 2, Qt::DotLine);
    painter.setPen(trace);
    if (sample.elapsedMs < kBaselineMs) {
        pen_ = geometry.fanPoint(sample.elapsedMs);
        painter.drawLine(geometry.origin(), pen_);
    }
    const QPointF next = geometry.tracePoint(sample.timePercent, sample.reading, sample.baseline, sample.gain);
    painter.drawLine(pen_, next);
    pen_ = next;
}

void MeasureGraph::redrawTrace()
{
    trace_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    trace_.fill(Qt::transparent);
    pen_ = GraphGeometry{width(), height()}.origin();
    QPainter painter(&trace_);
    for (const SampleView& sample : samples_) drawSample(painter, sample);
    drawn_ = samples_.size();
}

void MeasureGraph::resizeEvent(QResizeEvent*)
{
    drawBackground();
    redrawTrace();
}

void MeasureGraph::drawBackground()
{
    if (width() <= 0 || height() <= 0) return;
    background_ = QPixmap(size());
    background_.fill(Qt::white);
    QPainter painter(&background_);
    const GraphGeometry g{width(), height()};
    const double w = g.plotWidth(), h = g.plotHeight();
    const QColor grid = measureColour(0x00CC1A);

    for (int i = 1; i <= 24; ++i) {
        const double x = 32 + i * w / 25;
        painter.setPen(QPen(i == 5 || i == 20 ? measureColour(0x008080) : grid, 1, Qt::DotLine));
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    }
    painter.setPen(QPen(grid, 1, Qt::DotLine));
    for (int i = 1; i <= 5; ++i) {
        painter.drawLine(QPointF(32, i * h / 6), QPointF(32 + w, i * h / 6));
    }
    painter.setPen(QPen(grid, 1));
    const double cx = 32 + 12.5 * w / 25, cy = 3 * h / 6;
    painter.drawLine(QPointF(cx, 0), QPointF(cx, h));
    painter.drawLine(QPointF(32, cy), QPointF(32 + w, cy));
    for (int i = 0; i <= 125; ++i) {
        const double x = 32 + i * w / 125;
        painter.drawLine(QPointF(x, cy - 2), QPointF(x, cy + 2));
    }
    for (int i = 0; i <= 30; ++i) {
        const double y = i * h / 30;
        painter.drawLine(QPointF(cx - 2, y), QPointF(cx + 2, y));
    }
    painter.setPen(QPen(measureColour(0xFFCEC2), 3));
    painter.drawRect(QRectF(32, 0, w, h));

    QFont labels = font();
    labels.setPointSize(8);
    painter.setFont(labels);
    painter.setPen(measureColour(0x008000));
    const QStringList scale{"  +30", "  +20", "  +10", " 0 uA", "  -10", "  -20", "  -30"};
    const int ascent = painter.fontMetrics().ascent();
    for (int i = 0; i < scale.size(); ++i) {
        const double y = std::clamp(i * h / 6 + ascent / 2.0, double(ascent), h);
        painter.drawText(QPointF(0, y), scale[i]);
    }
    const double bottom = height() - 2;
    painter.drawText(QPointF(32, bottom), QStringLiteral("0 Sec"));
    if (running_) {
        const QStringList times{"0.5", "1.0", "1.5", "2.0"};
        for (int i = 0; i < times.size(); ++i) {
            const double x = 32 + (i + 1) * w / 5;
            painter.drawText(QPointF(x - painter.fontMetrics().horizontalAdvance(times[i]) / 2.0, bottom), times[i]);
        }
        painter.drawText(QPointF(32 + w - painter.fontMetrics().horizontalAdvance(QStringLiteral("2.5")), bottom),
                         QStringLiteral("2.5"));
    }
}

void MeasureGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.size() != size()) drawBackground();
    painter.drawPixmap(0, 0, background_);
    if (trace_.size() == size()) painter.drawImage(0, 0, trace_);
}

}  // namespace tork
