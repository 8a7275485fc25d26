#pragma once
// A standing human figure in the anatomical position (palms forward), 200 x 470 units, its
// middle at x = 100. The same outline serves the front and the back view.

#include <QPainterPath>

namespace picturegen {

constexpr double kBodyWidth = 200;
constexpr double kBodyHeight = 470;
constexpr double kBodyMiddle = 100;

enum class BodyView { Front, Back };

QPainterPath bodySilhouette();
// Landmarks that tell the views apart: face, nipples and navel in front; spine, shoulder
// blades and buttocks behind.
QPainterPath bodyLandmarks(BodyView view);

}  // namespace picturegen
