#pragma once
// The background pictures of four charts: the body outline behind the body energy balance
// field and the pictures behind the time cycle, qi-blood and yin-yang bar charts.

#include <QColor>
#include <QImage>
#include <QString>

namespace picturegen {

// Every pixel of this colour is left out when a chart draws the picture. It is the colour
// of the picture's corners (the bottom-left pixel included).
const QColor kChartBackgroundKey(255, 0, 255);

enum class ChartBackground { BodyEnergy, TimeCycle, QiBlood, YinYang };

QImage drawChartBackground(ChartBackground which);
QString chartBackgroundFileName(ChartBackground which);  // "kabkmg.msi" etc.

// Writes the four backgrounds (bitmap data under their ".msi" names) into FOLDER.
void writeChartBackgrounds(const QString& folder);

}  // namespace picturegen
