#include "ui/widgets/segmentedbar.h"

#include <QPainter>
#include <algorithm>

namespace tork {

SegmentedBar::SegmentedBar(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void SegmentedBar::setPercent(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent_ == percent) return;
    percent_ = percent;
    update();
}

void SegmentedBar::setColour(const QColor& colour)
{
    if (colour_ == colour) return;
    colour_ = colour;
    update();
}

void SegmentedBar::setSegments(int segments)
{
    segments_ = std::max(1, segments);
    update();
}

void SegmentedBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 32, 32));
    const double step = double(width() - 2) / segments_;
    // A segment lights when the position reaches its middle.
    const double lit = percent_ / 100.0 * segments_;
    for (int i = 0; i < segments_; ++i) {
        const QRectF segment(1 + i * step + 1, 2, step - 2, height() - 4);
        painter.fillRect(segment, i + 0.5 <= lit ? colour_ : QColor(70, 70, 70));
    }
}

}  // namespace tork
