#include "drawing/charts/chart.h"

#include "drawing/charts/autonomic.h"
#include "drawing/charts/balancecharts.h"
#include "drawing/charts/bodyenergy.h"
#include "drawing/charts/chartcanvas.h"
#include "drawing/charts/ecipie.h"
#include "drawing/charts/excdefcharts.h"
#include "drawing/charts/fiveelements.h"
#include "drawing/charts/meridiandiagrams.h"
#include "drawing/charts/ryodoraku.h"

#include <array>

namespace tork::charts {
namespace {

struct KindName {
    ChartKind kind;
    const char* name;
};
constexpr std::array<KindName, 12> kNames{{
    {ChartKind::Bar, "bar"},
    {ChartKind::Slope, "slope"},
    {ChartKind::Ryodoraku, "ryodoraku"},
    {ChartKind::BalanceYinYang, "balance-yinyang"},
    {ChartKind::BalanceQiBlood, "balance-qiblood"},
    {ChartKind::EciPie, "eci-pie"},
    {ChartKind::Autonomic, "autonomic"},
    {ChartKind::BodyEnergy, "body-energy"},
    {ChartKind::TimeCycle, "timecycle"},
    {ChartKind::ExcDefQiBlood, "excdef-qiblood"},
    {ChartKind::ExcDefYinYang, "excdef-yinyang"},
    {ChartKind::FiveElements, "five-elements"},
}};

}  // namespace

QString drawChart(QPainter& painter, const QRectF& target, ChartKind kind, int form, const ChartData& data,
                  double devicePixelsPerChartPixel)
{
    ChartCanvas canvas(painter, target, ChartCanvas::logicalSizeFor(target, devicePixelsPerChartPixel));
    switch (kind) {
    case ChartKind::Bar: return drawBarDiagram(canvas, data);
    case ChartKind::Slope: return drawSlopeDiagram(canvas, data);
    case ChartKind::Ryodoraku: return drawRyodorakuDiagram(canvas, data);
    case ChartKind::BalanceYinYang: return drawBalanceChart(canvas, data, BalanceSet::YinYang);
    case ChartKind::BalanceQiBlood: return drawBalanceChart(canvas, data, BalanceSet::QiBlood);
    case ChartKind::EciPie: return drawEciPie(canvas, data);
    case ChartKind::Autonomic: return drawAutonomicAnalysis(canvas, data);
    case ChartKind::BodyEnergy: return drawBodyEnergyDiagram(canvas, data);
    case ChartKind::TimeCycle: return drawTwelveBarChart(canvas, data, TwelveBarChart::TimeCycle);
    case ChartKind::ExcDefQiBlood: return drawTwelveBarChart(canvas, data, TwelveBarChart::QiBlood);
    case ChartKind::ExcDefYinYang: return drawTwelveBarChart(canvas, data, TwelveBarChart::YinYang);
    case ChartKind::FiveElements: return drawFiveElements(canvas, data, form);
    }
    return {};
}

QString chartKindName(ChartKind kind)
{
    for (const KindName& entry : kNames)
        if (entry.kind == kind) return QString::fromLatin1(entry.name);
    return {};
}

std::optional<ChartKind> chartKindFromName(const QString& name)
{
    for (const KindName& entry : kNames)
        if (name == QLatin1String(entry.name)) return entry.kind;
    return std::nullopt;
}

}  // namespace tork::charts
