#pragma once
// A progress bar of separate segments, lit from the left up to its position.

#include <QColor>
#include <QWidget>

namespace tork {

class SegmentedBar : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedBar(QWidget* parent = nullptr);

    // Percent 0..100; values outside are held at the ends.
    void setPercent(int percent);
    int percent() const { return percent_; }
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    void setSegments(int segments);

    QSize sizeHint() const override { return {160, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
    int segments_ = 20;
    QColor colour_{0, 128, 0};
};

}  // namespace tork
