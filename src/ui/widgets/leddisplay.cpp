#include "ui/widgets/leddisplay.h"

#include <QPainter>

namespace tork {

LedDisplay::LedDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setStyleHint(QFont::Monospace);
    digits.setBold(true);
    digits.setPixelSize(20);
    setFont(digits);
}

void LedDisplay::setText(const QString& text)
{
    if (text_ == text) return;
    text_ = text;
    update();
}

void LedDisplay::setColour(const QColor& colour)
{
    if (colour_ == colour) return;
    colour_ = colour;
    update();
}

QSize LedDisplay::sizeHint() const { return {90, 30}; }

void LedDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QFont digits = font();
    digits.setPixelSize(std::max(10, height() * 2 / 3));
    painter.setFont(digits);
    // The unlit segments shine through faintly, as on the instrument's panel.
    QColor unlit = colour_;
    unlit.setAlpha(40);
    const QRect area = rect().adjusted(4, 0, -4, 0);
    painter.setPen(unlit);
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, QString(text_.size(), u'8'));
    painter.setPen(colour_);
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, text_);
}

}  // namespace tork
