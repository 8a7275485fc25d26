#pragma once
// The chart of each meridian for the reference window: the channel's course on a front and a
// back view of the body, its source point marked.

#include <QImage>
#include <QString>

namespace picturegen {

QImage drawMeridianChart(int meridian);

// Writes meridian-01.png .. meridian-12.png into FOLDER.
void writeMeridianCharts(const QString& folder);

}  // namespace picturegen
