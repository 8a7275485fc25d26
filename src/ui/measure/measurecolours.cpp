#include "ui/measure/measurecolours.h"

namespace tork {

QColor qualityCellColour(double quality)
{
    if (quality < 60) return measureColour(0x0000FF);
    if (quality < 80) return measureColour(0x008080);
    return measureColour(0x2DD235);
}

QColor stabilityDisplayColour(Stability stability)
{
    switch (stability) {
    case Stability::Green: return measureColour(0x00FF00);
    case Stability::Yellow: return measureColour(0x00FFFF);
    case Stability::Red: break;
    }
    return measureColour(0x0000FF);
}

QColor stabilityBarColour(Stability stability)
{
    switch (stability) {
    case Stability::Green: return measureColour(0x008000);
    case Stability::Yellow: return measureColour(0x40C1FF);
    case Stability::Red: break;
    }
    return measureColour(0x0000FF);
}

}  // namespace tork
