#pragma once
// The small drawing toolkit every chart shares: a canvas of logical pixels mapped onto any
// target rectangle (a screen canvas, an image, a box on paper), the chart colours as QColor,
// text placed by its top-left corner, pie segments by direction angles, and the background
// pictures with their transparent colour.

#include "core/app/meridians.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

namespace tork::charts {

// Rounding of every chart coordinate: to the nearest integer, exact halves to the even neighbour.
int rnd(double value);

QColor toColor(Rgb rgb);
// Level 0 normal, +-1 tolerable, anything else poor (the chart colour set).
QColor levelQColor(int level);

namespace colour {
inline const QColor black{0, 0, 0};
inline const QColor white{255, 255, 255};
inline const QColor navy{0, 0, 128};
inline const QColor grey{128, 128, 128};
inline const QColor red{255, 0, 0};
inline const QColor olive{128, 128, 0};
inline const QColor green{0, 128, 0};
inline const QColor blue{0, 0, 255};
inline const QColor maroon{128, 0, 0};
inline const QColor silver{192, 192, 192};
inline const QColor yellow{255, 255, 0};
inline const QColor gold{255, 238, 0};  // the yellow of markers and arrows
inline const QColor brightGreen{0, 255, 0};
inline const QColor amber{251, 214, 4};
inline const QColor labelOrange{233, 122, 22};
inline const QColor frameOrange{255, 128, 0};
inline const QColor lightGrey{238, 238, 238};
inline const QColor lightBlue{221, 222, 255};
inline const QColor scoreGreen{53, 210, 45};
// The window face the charts are drawn over; images of their own are filled with it first.
inline const QColor canvasFace{240, 240, 240};
}  // namespace colour

// A chart's drawing surface: `logicalSize` pixels of the chart's own geometry stretched onto
// `target` of the painter. The painter is clipped to the target and restored afterwards.
class ChartCanvas {
public:
    ChartCanvas(QPainter& painter, const QRectF& target, QSize logicalSize);
    ~ChartCanvas();
    ChartCanvas(const ChartCanvas&) = delete;
    ChartCanvas& operator=(const ChartCanvas&) = delete;

    // Logical size for a target drawn at `devicePixelsPerChartPixel` (1 on screen).
    static QSize logicalSizeFor(const QRectF& target, double devicePixelsPerChartPixel = 1.0);

    int width() const { return size_.width(); }
    int height() const { return size_.height(); }

    void setPen(const QColor& colour, double width = 1, Qt::PenStyle style = Qt::SolidLine);
    void setNoPen();
    void setBrush(const QColor& colour);
    void setNoBrush();
    // Tahoma at `points` (96 logical pixels per inch), normal or bold; the colour of text.
    void setFont(double points, bool bold = false, const QString& family = QStringLiteral("Tahoma"));
    void setTextColour(const QColor& colour) { textColour_ = colour; }

    void line(double x1, double y1, double x2, double y2);
    // A rectangle between two corners in any order, outlined with the pen and filled with the brush.
    void rectangle(double x1, double y1, double x2, double y2);
    void ellipse(double x1, double y1, double x2, double y2);
    void ellipse(const QRectF& box);
    void polygon(const QPolygonF& points);
    void polyline(const QPolygonF& points);
    // The pie segment of the ellipse in `box` running counter-clockwise on screen from the
    // direction of angle `fromAngle` to that of `toAngle`. Angles in degrees: 90 points up
    // and angles grow clockwise on screen (a direction t points towards (-cos t, -sin t)).
    void pie(const QRectF& box, double fromAngle, double toAngle);

    // Text with its top-left corner at (x, y).
    void text(double x, double y, const QString& text);
    int textWidth(const QString& text) const;
    // Text centred on x the way every chart centres: left edge round(x - width div 2).
    void centredText(double x, double y, const QString& text);

    QPainter& painter() { return painter_; }

private:
    QPainter& painter_;
    QSize size_;
    QColor textColour_;
};

// Font of the charts: the family at `points` of a 96-pixel inch, sized in pixels so the
// chart's proportions do not depend on the device.
QFont chartFont(double points, bool bold = false, const QString& family = QStringLiteral("Tahoma"));

// A background picture (a bitmap under any name) with every pixel of the colour of its
// bottom-left pixel made transparent. A null image when the file is missing or unreadable.
QImage loadChartPicture(const QString& folder, const QString& name);

}  // namespace tork::charts
