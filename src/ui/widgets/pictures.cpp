#include "ui/widgets/pictures.h"

#include "core/app/displaystrings.h"
#include "core/app/programfolder.h"

#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace tork {

// The delivered logo and icons are used when present; the drawn ones stand in for a program
// run without its delivered data.
QPixmap programLogo()
{
    static const QPixmap logo = [] {
        QPixmap delivered(deliveredDataPath() + QStringLiteral("/icons/tork-logo.png"));
        if (!delivered.isNull()) return delivered;
        QPixmap pixmap(220, 64);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 0, 64);
        gradient.setColorAt(0, QColor(30, 90, 200));
        gradient.setColorAt(1, QColor(1, 47, 155));
        p.setBrush(gradient);
        p.setPen(QPen(QColor(255, 215, 0), 2));
        p.drawRoundedRect(QRectF(2, 2, 216, 60), 12, 12);
        QFont font(QStringLiteral("Tahoma"), 22, QFont::Bold);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 220, 64), Qt::AlignCenter, displayString(DisplayString::ProductName));
        return pixmap;
    }();
    return logo;
}

QIcon programIcon()
{
    static const QIcon icon = [] {
        QIcon delivered;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString file = deliveredDataPath() + QStringLiteral("/icons/hicolor/%1x%1/apps/tork.png").arg(size);
            if (QFileInfo::exists(file)) delivered.addFile(file, QSize(size, size));
        }
        if (!delivered.isNull()) return delivered;
        QPixmap pixmap(64, 64);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(1, 47, 155));
        p.setPen(QPen(QColor(255, 215, 0), 3));
        p.drawEllipse(QRectF(3, 3, 58, 58));
        p.setFont(QFont(QStringLiteral("Tahoma"), 26, QFont::Bold));
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QStringLiteral("T"));
        return QIcon(pixmap);
    }();
    return icon;
}

}  // namespace tork
