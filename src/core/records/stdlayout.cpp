#include "core/records/stdlayout.h"

#include "core/app/settings.h"

namespace tork {

QString formatStd(const std::array<double, 24>& quality)
{
    QString text;
    text.reserve(24 * 5);
    for (double q : quality) text += QString::asprintf("%3.1f", q).rightJustified(5, u' ');
    return text;
}

std::array<double, 24> parseStd(const QString& text)
{
    std::array<double, 24> quality{};
    for (int i = 0; i < 24; ++i) quality[i] = parseSettingReal(text.mid(5 * i, 5)).value_or(0.0);
    return quality;
}

}  // namespace tork
