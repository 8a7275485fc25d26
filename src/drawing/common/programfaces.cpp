#include "drawing/common/programfaces.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <mutex>

namespace tork {

void loadProgramFaces()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            if (QFileInfo::exists(QString::fromLatin1(path)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(path));
        }
    });
}

}  // namespace tork
