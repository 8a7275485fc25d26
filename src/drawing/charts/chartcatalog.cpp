#include "drawing/charts/chartcatalog.h"

#include <array>

namespace tork::charts {
namespace {

struct VariantEntry {
    const char* hint;
    bool visible;
    std::optional<ChartChoice> chart;
};

using CategoryEntries = std::array<VariantEntry, kVariantCount>;

const std::array<CategoryEntries, kChartCategoryCount>& catalogue()
{
    static const std::array<CategoryEntries, kChartCategoryCount> entries{{
        {{{"Diagram of Body Energy Balance", true, ChartChoice{ChartKind::BodyEnergy}},
          {"E.C.I. Pie Diagram", true, ChartChoice{ChartKind::EciPie}},
          {"ANS Analysis", true, ChartChoice{ChartKind::Autonomic}},
          {"Measurement Quality Diagram", false, std::nullopt}}},
        {{{"Meridian Excess-Deficiency Analysis \u2013 Bar Diagram", true, ChartChoice{ChartKind::Bar}},
          {"Meridian Excess-Deficiency Analysis \u2013 Slope Diagram", true, ChartChoice{ChartKind::Slope}},
          {"Ryodoraku Analysis Diagram", true, ChartChoice{ChartKind::Ryodoraku}},
          {"", false, std::nullopt}}},
        {{{"Yin-Yang Balance A", true, ChartChoice{ChartKind::BalanceYinYang}},
          {"Yin-Yang Balance B", false, std::nullopt},
          {"Yin-Yang Exc/Def A", true, ChartChoice{ChartKind::ExcDefYinYang}},
          {"Yin-Yang Exc/Def B", false, std::nullopt}}},
        {{{"Qi-Blood Balance A", true, ChartChoice{ChartKind::BalanceQiBlood}},
          {"Qi-Blood Balance B", false, std::nullopt},
          {"Qi-Blood Exc/Def A", true, ChartChoice{ChartKind::ExcDefQiBlood}},
          {"Qi-Blood Exc/Def B", false, std::nullopt}}},
        {{{"Five Elements \u2013 Yin-Zang + Yang-Fu", true, ChartChoice{ChartKind::FiveElements, 1}},
          {"Five Elements \u2013 Yin-Zang", true, ChartChoice{ChartKind::FiveElements, 2}},
          {"Five Elements \u2013 Yang-Fu", true, ChartChoice{ChartKind::FiveElements, 3}},
          {"", false, std::nullopt}}},
        {{{"", false, ChartChoice{ChartKind::TimeCycle}},
          {"", false, std::nullopt},
          {"", false, std::nullopt},
          {"", false, std::nullopt}}},
    }};
    return entries;
}

const VariantEntry* entry(int category, int variant)
{
    if (category < 1 || category > kChartCategoryCount || variant < 1 || variant > kVariantCount) return nullptr;
    return &catalogue()[category - 1][variant - 1];
}

}  // namespace

std::optional<ChartChoice> chartForVariant(int category, int variant)
{
    const VariantEntry* e = entry(category, variant);
    return e ? e->chart : std::nullopt;
}

VariantButton variantButton(int category, int variant)
{
    const VariantEntry* e = entry(category, variant);
    if (!e) return {};
    return {QString::fromUtf8(e->hint), e->visible};
}

QString chartStatusText(const ChartChoice& choice)
{
    switch (choice.kind) {
    case ChartKind::BodyEnergy: return QStringLiteral("Diagram of Body Energy Balance");
    case ChartKind::EciPie: return QStringLiteral("E.C.I. Pie Diagram");
    case ChartKind::Autonomic: return QStringLiteral("Autonomic Nervous System Analysis");
    case ChartKind::Bar:
    case ChartKind::Slope:
    case ChartKind::Ryodoraku: return QStringLiteral("Average body energy data varies with each individual patient.");
    case ChartKind::BalanceYinYang:
        return QStringLiteral("This graph compares the Qi-Blood balance between Yin-Zang and Yang-Fu. The smaller the gap, the better.");
    case ChartKind::ExcDefYinYang: return QStringLiteral("This graph compares the Qi-Blood balance between Yin-Zang and Yang-Fu.");
    case ChartKind::BalanceQiBlood:
        return QStringLiteral("This graph compares the Qi-Blood balance of the meridian energy between the right side and left "
                              "side of the body. The smaller the gap, the better");
    case ChartKind::ExcDefQiBlood:
        return QStringLiteral("This graph compares the Qi-Blood balance of the meridian energy between the right side and left "
                              "side of the body.");
    case ChartKind::FiveElements:
        if (choice.form == 2) return QStringLiteral("This graph compares the meridian energy of the Five Elements by Yin-Zang");
        if (choice.form == 3) return QStringLiteral("This graph compares the meridian energy of the Five Elements by Yang-Fu");
        return QStringLiteral("This graph compares the meridian energy of the Five Elements by Yin-Zang and Yang-Fu");
    case ChartKind::TimeCycle: return QStringLiteral("Analysis Chart of Meridian Time Cycle A");
    }
    return {};
}

QString categoryButtonHint(int button)
{
    static const std::array<const char*, 7> hints{"Recall Analysis Data", "Composite Analysis", "Meridian Analysis",
                                                  "Yin Yang Analysis",    "Qi-Blood Analysis",  "Five Elements Analysis",
                                                  "Meridian Time Cycle"};
    return button >= 0 && button < 7 ? QString::fromLatin1(hints[button]) : QString();
}

}  // namespace tork::charts
