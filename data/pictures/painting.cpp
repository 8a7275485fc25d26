#include "painting.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTransform>

#include <cstdio>
#include <cstdlib>

namespace picturegen {

QColor elementColour(const QString& element)
{
    if (element == QLatin1String("Wood")) return QColor(30, 140, 60);
    if (element.endsWith(QLatin1String("Fire"))) return QColor(214, 40, 40);
    if (element == QLatin1String("Earth")) return QColor(196, 138, 20);
    if (element == QLatin1String("Metal")) return QColor(128, 80, 160);
    return QColor(30, 90, 200);  // Water
}

QFont pixelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

namespace {

// Control points of the cubic segment from p1 to p2 of a Catmull-Rom spline through p0..p3.
void addCatmullRomSegment(QPainterPath& path, QPointF p0, QPointF p1, QPointF p2, QPointF p3)
{
    const QPointF c1 = p1 + (p2 - p0) / 6.0;
    const QPointF c2 = p2 - (p3 - p1) / 6.0;
    path.cubicTo(c1, c2, p2);
}

}  // namespace

QPainterPath smoothClosedPath(const std::vector<QPointF>& points)
{
    QPainterPath path;
    const std::size_t n = points.size();
    if (n < 3) return path;
    path.moveTo(points[0]);
    for (std::size_t i = 0; i < n; ++i)
        addCatmullRomSegment(path, points[(i + n - 1) % n], points[i], points[(i + 1) % n], points[(i + 2) % n]);
    path.closeSubpath();
    return path;
}

QPainterPath smoothOpenPath(const std::vector<QPointF>& points)
{
    QPainterPath path;
    const std::size_t n = points.size();
    if (n < 2) return path;
    path.moveTo(points[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF before = i == 0 ? points[0] : points[i - 1];
        const QPointF after = i + 2 < n ? points[i + 2] : points[n - 1];
        addCatmullRomSegment(path, before, points[i], points[i + 1], after);
    }
    return path;
}

QPainterPath mirroredPath(const QPainterPath& path, double axisX)
{
    return QTransform(-1, 0, 0, 1, 2 * axisX, 0).map(path);
}

std::vector<QPointF> mirroredPoints(const std::vector<QPointF>& points, double axisX)
{
    std::vector<QPointF> out;
    out.reserve(points.size());
    for (const QPointF& p : points) out.emplace_back(2 * axisX - p.x(), p.y());
    return out;
}

QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage flattenOntoKey(const QImage& art, QColor key)
{
    const QImage source = art.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = in[x];
            const int a = qAlpha(p);
            if (a < 128) {
                line[x] = keyRgb;
                continue;
            }
            auto overWhite = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            QRgb flat = qRgb(overWhite(qRed(p)), overWhite(qGreen(p)), overWhite(qBlue(p)));
            // The art never takes the key colour itself, or it would vanish with the background.
            if (flat == keyRgb) flat = qRgb(qRed(flat) ^ 1, qGreen(flat), qBlue(flat));
            line[x] = flat;
        }
    }
    return out;
}

void writeImage(const QImage& image, const QString& path, const char* format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "tork-picture-generator: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        std::exit(1);
    }
}

}  // namespace picturegen
