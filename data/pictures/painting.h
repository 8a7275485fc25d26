#pragma once
// Helpers shared by every picture of the generator: fonts, smooth outlines, keyed bitmaps
// and writing files.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <vector>

namespace picturegen {

// Colour of a meridian's course, by its element text in the meridian table.
QColor elementColour(const QString& element);

// Fonts by pixel size, so the pictures do not depend on the screen's resolution.
QFont pixelFont(int pixelSize, bool bold = false);

// A smooth closed outline through the points (Catmull-Rom segments drawn as cubic curves).
QPainterPath smoothClosedPath(const std::vector<QPointF>& points);
// A smooth open line through the points.
QPainterPath smoothOpenPath(const std::vector<QPointF>& points);

// The same path mirrored about the vertical line x = axisX.
QPainterPath mirroredPath(const QPainterPath& path, double axisX);
std::vector<QPointF> mirroredPoints(const std::vector<QPointF>& points, double axisX);

// A transparent canvas for art that is later flattened onto a key colour.
QImage transparentCanvas(int width, int height);

// Flattens antialiased art onto a single key colour: a pixel that is mostly covered becomes
// opaque (blended over white), every other pixel becomes exactly the key colour. The charts
// draw such a bitmap with the key colour left out, and no blended fringe of the key colour
// remains around the art.
QImage flattenOntoKey(const QImage& art, QColor key);

// Writes the image; ends the program with a message on failure so the build stops.
void writeImage(const QImage& image, const QString& path, const char* format);

}  // namespace picturegen
