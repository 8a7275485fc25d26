#include "icons.h"

#include "painting.h"

#include "core/app/displaystrings.h"

#include <QLinearGradient>
#include <QPainter>

namespace picturegen {

namespace {

const QColor kDeepBlue(1, 47, 155);
const QColor kLightBlue(30, 90, 200);
const QColor kGold(255, 215, 0);

// A gold-ringed blue disc with a white "T" and a small red point: the measured source point.
void paintEmblem(QPainter& p, const QRectF& box)
{
    const double s = box.width();
    const double ring = std::max(1.0, s / 22);
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, kLightBlue);
    gradient.setColorAt(1, kDeepBlue);
    p.setPen(QPen(kGold, ring));
    p.setBrush(gradient);
    p.drawEllipse(box.adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // The letter is drawn as two bars, so it is crisp at every size without a font.
    const double bar = s * 0.13;
    p.drawRect(QRectF(box.left() + s * 0.26, box.top() + s * 0.25, s * 0.48, bar));
    p.drawRect(QRectF(box.left() + s * 0.5 - bar / 2, box.top() + s * 0.25, bar, s * 0.5));
    if (s >= 22) {
        p.setBrush(QColor(232, 32, 32));
        p.drawEllipse(QPointF(box.left() + s * 0.7, box.top() + s * 0.68), s * 0.075, s * 0.075);
    }
}

}  // namespace

QImage drawIcon(int size)
{
    QImage image = transparentCanvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintEmblem(p, QRectF(0, 0, size, size));
    p.end();
    return image;
}

QImage drawLogo()
{
    constexpr int width = 480;
    constexpr int height = 128;
    QImage image = transparentCanvas(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, kLightBlue);
    gradient.setColorAt(1, kDeepBlue);
    p.setPen(QPen(kGold, 3));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(2, 2, width - 4, height - 4), 20, 20);
    paintEmblem(p, QRectF(16, 16, 96, 96));
    p.setPen(Qt::white);
    p.setFont(pixelFont(44, true));
    p.drawText(QRectF(124, 14, width - 136, 60), Qt::AlignLeft | Qt::AlignVCenter,
               tork::displayString(tork::DisplayString::ProductName));
    p.setPen(QColor(220, 230, 250));
    p.setFont(pixelFont(16));
    p.drawText(QRectF(126, 74, width - 136, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Meridian energy analysis"));
    p.end();
    return image;
}

void writeIcons(const QString& folder)
{
    for (int size : kIconSizes)
        writeImage(drawIcon(size), folder + QStringLiteral("/hicolor/%1x%1/apps/tork.png").arg(size), "PNG");
    writeImage(drawLogo(), folder + QStringLiteral("/tork-logo.png"), "PNG");
}

}  // namespace picturegen
