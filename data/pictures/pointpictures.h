#pragma once
// The 72 point pictures shown in the measurement window: every source point on its hand or
// foot, as the operator sees that side of the limb, in the three picture styles.

#include <QImage>
#include <QString>

namespace picturegen {

// Size of every point picture. The top and bottom bands of kPointPictureBand pixels are
// kept plain: the measurement window writes the meridian and point names there.
constexpr int kPointPictureWidth = 260;
constexpr int kPointPictureHeight = 280;
constexpr int kPointPictureBand = 30;

// One picture for ME number 1..24 and style 1 Picture, 2 Outline, 3 Combined.
QImage drawPointPicture(int me, int style);

// Writes all 72 pictures under their point-picture names into FOLDER.
void writePointPictures(const QString& folder);

}  // namespace picturegen
