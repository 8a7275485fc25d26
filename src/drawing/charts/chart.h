#pragma once
// The twelve charts of an analysis, drawn onto any painter: the screen canvas, an image or a
// box on paper. Each chart has its own logical pixel geometry, which is stretched onto the
// target; on screen one logical pixel is one device pixel.

#include "core/analysis/analysis.h"
#include "core/app/meridians.h"

#include <QPainter>
#include <QRectF>
#include <QString>
#include <optional>

namespace tork::charts {

enum class ChartKind {
    Bar,             // meridian excess-deficiency bar diagram
    Slope,           // meridian excess-deficiency slope diagram
    Ryodoraku,       // Ryodoraku analysis diagram
    BalanceYinYang,  // yin-yang balance chart A
    BalanceQiBlood,  // qi-blood balance chart A
    EciPie,          // E.C.I. pie diagram
    Autonomic,       // autonomic nervous system analysis
    BodyEnergy,      // diagram of body energy balance
    TimeCycle,       // meridian time cycle chart A
    ExcDefQiBlood,   // qi-blood excess/deficiency chart A
    ExcDefYinYang,   // yin-yang excess/deficiency chart A
    FiveElements,    // five elements, forms 1 to 3
};

inline constexpr ChartKind kAllChartKinds[] = {
    ChartKind::Bar,        ChartKind::Slope,         ChartKind::Ryodoraku,     ChartKind::BalanceYinYang,
    ChartKind::BalanceQiBlood, ChartKind::EciPie,    ChartKind::Autonomic,     ChartKind::BodyEnergy,
    ChartKind::TimeCycle,  ChartKind::ExcDefQiBlood, ChartKind::ExcDefYinYang, ChartKind::FiveElements};

// Everything a chart reads: the measurement, its analysis, the meridian order and the folder
// of the background pictures (empty: draw without them).
struct ChartData {
    const AnalysisRecord& record;
    const AnalysisResult& result;
    const MeridianTables& tables;
    QString pictureFolder;
};

// Draws one chart into `target` and returns its title line. `form` is the five-elements form
// 1 to 3 (ignored by the other charts). `devicePixelsPerChartPixel` is 1 on screen; paper
// passes its dots per screen pixel so that texts and offsets keep their proportions.
QString drawChart(QPainter& painter, const QRectF& target, ChartKind kind, int form, const ChartData& data,
                  double devicePixelsPerChartPixel = 1.0);

// Name of a chart for the companion tool ("bar", "five-elements", ...), and back.
QString chartKindName(ChartKind kind);
std::optional<ChartKind> chartKindFromName(const QString& name);

}  // namespace tork::charts
