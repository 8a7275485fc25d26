#pragma once
#include <QIcon>
#include <QPixmap>

namespace tork {

// The program's logo, drawn once and kept; the icon is made from it.
QPixmap programLogo();
QIcon programIcon();

}  // namespace tork
