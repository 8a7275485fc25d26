#pragma once
// Charts rendered into images over the window's face colour, and the measurements they show.

#include "core/analysis/analysis.h"
#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"

#include <QImage>
#include <QPainter>
#include <QSize>

namespace tork::test {

inline const std::array<double, kMeridianCount> kUnitFactors{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// The two canvas sizes every geometry test runs at: the delivered screen canvas and a small one.
inline const QSize kScreenCanvas(965, 554);
inline const QSize kSmallCanvas(640, 380);

// Every point at `value`, then (ME number, value) overrides; analysed with unit factors.
struct Measurement {
    AnalysisRecord record;
    AnalysisResult result;
};
inline Measurement measurementOf(double value, std::initializer_list<std::pair<int, double>> points = {}, bool isMale = true)
{
    Measurement m;
    m.record.values.fill(value);
    for (const auto& [me, v] : points) m.record.values[me - 1] = v;
    m.record.isMale = isMale;
    m.record.measuredAt = 46000.5;
    m.result = computeAnalysis(m.record, kUnitFactors);
    return m;
}

struct Rendered {
    QImage image;
    QString title;
};

// Draws one chart onto an image of `size` device pixels; `scale` device pixels per chart pixel.
inline Rendered render(charts::ChartKind kind, const Measurement& m, QSize size = kScreenCanvas, int form = 1,
                       const MeridianTables& tables = MeridianTables(), const QString& pictureFolder = {}, double scale = 1)
{
    Rendered out{QImage(size, QImage::Format_RGB32), {}};
    out.image.fill(charts::colour::canvasFace);
    QPainter painter(&out.image);
    out.title = charts::drawChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), kind, form,
                                  charts::ChartData{m.record, m.result, tables, pictureFolder}, scale);
    return out;
}

inline QColor pixel(const QImage& image, double x, double y) { return image.pixelColor(int(x), int(y)); }

// True when `seen` is `ink` laid over `ground` with a coverage of at least 30 % (text is
// drawn smoothed, so its pixels are blends of its colour and the face).
inline bool isInk(const QColor& seen, const QColor& ink, const QColor& ground = charts::colour::canvasFace)
{
    const int channels[3][3] = {{seen.red(), ink.red(), ground.red()},
                                {seen.green(), ink.green(), ground.green()},
                                {seen.blue(), ink.blue(), ground.blue()}};
    double coverage = -1;
    for (const auto& c : channels) {
        if (std::abs(c[1] - c[2]) < 40) continue;
        coverage = double(c[0] - c[2]) / double(c[1] - c[2]);
        break;
    }
    if (coverage < 0.3) return false;
    for (const auto& c : channels)
        if (std::abs(c[0] - (c[2] + coverage * (c[1] - c[2]))) > 14) return false;
    return true;
}

inline MeridianTables pairedOrderTables()
{
    MeridianTables tables;
    tables.rebuild(1, defaultMeridianOrder(), 1, kUnitFactors);
    return tables;
}

}  // namespace tork::test
