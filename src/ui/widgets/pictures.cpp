#include "ui/widgets/pictures.h"

#include "core/app/displaystrings.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace tork {

QPixmap programLogo()
{
    static const QPixmap logo = [] {
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
