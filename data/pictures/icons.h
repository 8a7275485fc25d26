#pragma once
// The program's icon in the sizes a desktop asks for, and its logo.

#include <QImage>
#include <QString>

#include <array>

namespace picturegen {

constexpr std::array<int, 8> kIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

QImage drawIcon(int size);
QImage drawLogo();

// Writes hicolor/<N>x<N>/apps/tork.png for every size and tork-logo.png into FOLDER.
void writeIcons(const QString& folder);

}  // namespace picturegen
