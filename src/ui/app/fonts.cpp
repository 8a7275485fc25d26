#include "ui/app/fonts.h"

#include "drawing/common/programfaces.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>

namespace tork {

QString installProgramFonts()
{
    loadProgramFaces();
    QFont font(QStringLiteral("Tahoma"), 8);
    QApplication::setFont(font);
    return QFontInfo(QApplication::font()).family();
}

}  // namespace tork
