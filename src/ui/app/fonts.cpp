#include "ui/app/fonts.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace tork {

QString installProgramFonts()
{
    for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFileInfo::exists(QString::fromLatin1(path))) QFontDatabase::addApplicationFont(QString::fromLatin1(path));
    }
    QFont font(QStringLiteral("Tahoma"), 8);
    QApplication::setFont(font);
    return QFontInfo(QApplication::font()).family();
}

}  // namespace tork
