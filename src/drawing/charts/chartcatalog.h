#pragma once
// The chart categories of the analysis window and their variant buttons: which chart each
// variant draws, the button's hint and visibility, and the status-bar text of each chart.

#include "drawing/charts/chart.h"

#include <QString>
#include <optional>

namespace tork::charts {

enum ChartCategory : int { Composite = 1, MeridianCategory, YinYang, QiBlood, FiveElementsCategory, TimeCycleCategory };
constexpr int kChartCategoryCount = 6;
constexpr int kVariantCount = 4;

struct ChartChoice {
    ChartKind kind;
    int form = 1;  // five-elements form
};

struct VariantButton {
    QString hint;
    bool visible = false;
};

// The chart a variant draws; nothing for the variants that draw nothing.
std::optional<ChartChoice> chartForVariant(int category, int variant);
// Variant button 1..4 of a category (the time cycle has none).
VariantButton variantButton(int category, int variant);
// Status-bar text while the chart is shown.
QString chartStatusText(const ChartChoice& choice);
// Hints of the category buttons, "Recall Analysis Data" first.
QString categoryButtonHint(int button);  // 0 recall, 1..6 the categories

}  // namespace tork::charts
