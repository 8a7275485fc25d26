#include "drawing/charts/chartcanvas.h"

#include "core/app/formats.h"
#include "core/app/programfolder.h"
#include "drawing/common/programfaces.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPolygonF>
#include <cmath>

namespace tork::charts {

int rnd(double value) { return int(roundHalfEven(value)); }

QColor toColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QColor levelQColor(int level) { return toColor(levelColour(level)); }

QFont chartFont(double points, bool bold, const QString& family)
{
    loadProgramFaces();
    QFont font(family);
    font.setPixelSize(std::max(1, rnd(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

ChartCanvas::ChartCanvas(QPainter& painter, const QRectF& target, QSize logicalSize)
    : painter_(painter), size_(logicalSize), textColour_(colour::black)
{
    painter_.save();
    painter_.setClipRect(target, Qt::IntersectClip);
    painter_.translate(target.topLeft());
    painter_.scale(target.width() / std::max(1, size_.width()), target.height() / std::max(1, size_.height()));
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(colour::black, 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.setFont(chartFont(8));
}

ChartCanvas::~ChartCanvas() { painter_.restore(); }

QSize ChartCanvas::logicalSizeFor(const QRectF& target, double devicePixelsPerChartPixel)
{
    const double scale = devicePixelsPerChartPixel > 0 ? devicePixelsPerChartPixel : 1.0;
    return QSize(std::max(1, rnd(target.width() / scale)), std::max(1, rnd(target.height() / scale)));
}

void ChartCanvas::setPen(const QColor& colour, double width, Qt::PenStyle style)
{
    // Width 0 is the thinnest line the device draws, as on the original canvas.
    QPen pen(colour, width, style, Qt::FlatCap, Qt::MiterJoin);
    painter_.setPen(pen);
}

void ChartCanvas::setNoPen() { painter_.setPen(Qt::NoPen); }
void ChartCanvas::setBrush(const QColor& colour) { painter_.setBrush(QBrush(colour, Qt::SolidPattern)); }
void ChartCanvas::setNoBrush() { painter_.setBrush(Qt::NoBrush); }

void ChartCanvas::setFont(double points, bool bold, const QString& family)
{
    painter_.setFont(chartFont(points, bold, family));
}

void ChartCanvas::line(double x1, double y1, double x2, double y2)
{
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void ChartCanvas::rectangle(double x1, double y1, double x2, double y2)
{
    painter_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void ChartCanvas::ellipse(double x1, double y1, double x2, double y2)
{
    ellipse(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void ChartCanvas::ellipse(const QRectF& box)
{
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.drawEllipse(box);
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void ChartCanvas::polygon(const QPolygonF& points)
{
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.drawPolygon(points);
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void ChartCanvas::polyline(const QPolygonF& points) { painter_.drawPolyline(points); }

void ChartCanvas::pie(const QRectF& box, double fromAngle, double toAngle)
{
    // A direction t points towards (-cos t, -sin t) on screen, which is angle 180 - t in the
    // counter-clockwise degrees the painter counts from three o'clock.
    // Counter-clockwise on screen is towards smaller t.
    double span = std::fmod(fromAngle - toAngle, 360.0);
    if (span <= 0) span += 360.0;
    const double start = 180.0 - fromAngle;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.drawPie(box.normalized(), rnd(start * 16), rnd(span * 16));
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void ChartCanvas::text(double x, double y, const QString& text)
{
    const QPen pen = painter_.pen();
    painter_.setPen(textColour_);
    painter_.drawText(QPointF(x, y + QFontMetricsF(painter_.font()).ascent()), text);
    painter_.setPen(pen);
}

int ChartCanvas::textWidth(const QString& text) const { return QFontMetrics(painter_.font()).horizontalAdvance(text); }

void ChartCanvas::centredText(double x, double y, const QString& text)
{
    this->text(rnd(x - textWidth(text) / 2), y, text);
}

QImage loadChartPicture(const QString& folder, const QString& name)
{
    if (folder.isEmpty()) return {};
    QImageReader reader(findFileIgnoringCase(folder, name));
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull()) return {};
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture.pixel(0, picture.height() - 1);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (row[x] == key) row[x] = qRgba(0, 0, 0, 0);
    }
    return picture;
}

}  // namespace tork::charts
