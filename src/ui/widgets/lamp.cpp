#include "ui/widgets/lamp.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

namespace tork {

Lamp::Lamp(QWidget* parent) : QWidget(parent), blink_(new QTimer(this))
{
    connect(blink_, &QTimer::timeout, this, [this] {
        lit_ = !lit_;
        update();
    });
}

void Lamp::setColour(const QColor& colour)
{
    colour_ = colour;
    update();
}

void Lamp::setBlinking(bool blinking, int periodMs)
{
    lit_ = true;
    if (blinking) blink_->start(periodMs);
    else blink_->stop();
    update();
}

bool Lamp::isBlinking() const { return blink_->isActive(); }

void Lamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRectF disc((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QColor face = isLit() ? colour_ : QColor(60, 60, 60);
    QRadialGradient shine(disc.center() - QPointF(side / 5.0, side / 5.0), side * 0.7);
    shine.setColorAt(0, face.lighter(160));
    shine.setColorAt(1, face.darker(isLit() ? 110 : 140));
    painter.setBrush(shine);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.drawEllipse(disc);
}

}  // namespace tork
