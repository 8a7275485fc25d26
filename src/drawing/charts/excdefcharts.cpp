#include "drawing/charts/excdefcharts.h"

#include "core/app/formats.h"

#include <QDateTime>

namespace tork::charts {
namespace {

constexpr std::array<int, 12> kTimeCycle{GB, LR, LU, LI, ST, SP, HT, SI, BL, KI, PC, TE};
constexpr std::array<int, 12> kQiBlood{LR, HT, PC, SP, LU, KI, GB, SI, TE, ST, LI, BL};

double meanDeviation(const AnalysisResult& r, int meridian)
{
    return (r.deviation[leftPoint(meridian) - 1] + r.deviation[rightPoint(meridian) - 1]) / 2;
}

// The yin and yang meridian of coupled pair f (1..12).
std::pair<int, int> pairMeridians(int pair)
{
    const CoupledPair& p = coupledPairs()[pair - 1];
    return {meridianOfPoint(p.yinPoint), meridianOfPoint(p.yangPoint)};
}

}  // namespace

int timeCycleMeridian(int slot) { return kTimeCycle[slot - 1]; }
int qiBloodMeridian(int slot) { return kQiBlood[slot - 1]; }

int timeCyclePeriod(double measuredAt)
{
    const int hour = fromDayCount(measuredAt).time().hour();
    const int period = (hour + 1) / 2 + 1;
    return period > 12 ? 1 : period;
}

std::array<TwelveBar, 12> twelveBars(const AnalysisResult& r, TwelveBarChart chart)
{
    std::array<TwelveBar, 12> bars{};
    for (int k = 1; k <= 12; ++k) {
        TwelveBar& bar = bars[k - 1];
        if (chart == TwelveBarChart::YinYang) {
            bar.value = r.pairMean[k - 1] - r.energyAverage;
            bar.colourLevel = r.pairLevel[k - 1];
            bar.arrowLevel = r.coupleLevel[k - 1];
        } else {
            const int m = chart == TwelveBarChart::TimeCycle ? timeCycleMeridian(k) : qiBloodMeridian(k);
            bar.value = meanDeviation(r, m);
            bar.colourLevel = r.meridianLevel[m - 1];
            bar.arrowLevel = r.sideLevel[m - 1];
        }
    }
    return bars;
}

QString twelveBarPicture(TwelveBarChart chart)
{
    switch (chart) {
    case TwelveBarChart::TimeCycle: return QStringLiteral("kabkma.msi");
    case TwelveBarChart::QiBlood: return QStringLiteral("kabkmb.msi");
    case TwelveBarChart::YinYang: break;
    }
    return QStringLiteral("kabkmc.msi");
}

QString drawTwelveBarChart(ChartCanvas& canvas, const ChartData& data, TwelveBarChart chart)
{
    const AnalysisResult& r = data.result;
    const DeviationScale s(canvas.width(), canvas.height(), r.energyAverage);

    const QImage picture = loadChartPicture(data.pictureFolder, twelveBarPicture(chart));
    if (!picture.isNull()) canvas.painter().drawImage(QPointF(s.x0 + rnd((s.W - picture.width()) / 2.0), 50), picture);

    drawDeviationAxes(canvas, s, chart == TwelveBarChart::TimeCycle ? s.H / 8 : s.H / 12);
    canvas.setPen(colour::navy, 1, Qt::DotLine);
    for (int v = 1; v <= 12; ++v) {
        if (v == 6) continue;
        const int x = s.slotRight(v);
        canvas.line(x, s.H / 6, x, v % 2 == 1 ? s.H - 20 : s.H);
    }

    const auto bars = twelveBars(r, chart);
    canvas.setPen(colour::black, 1);
    for (int k = 1; k <= 12; ++k) {
        canvas.setBrush(levelQColor(bars[k - 1].colourLevel));
        canvas.rectangle(s.slotLeft(k), s.base, s.slotRight(k), s.y(bars[k - 1].value));
    }
    for (int k = 1; k <= 12; ++k) drawSideArrow(canvas, s.slotCentre(k), bars[k - 1].arrowLevel, colour::gold, colour::red);

    drawThresholdLines(canvas, s, r.thresholds);
    drawScaleTicks(canvas, s);

    canvas.setNoBrush();
    const double leftHalfCentre = s.x0 + rnd(s.W / 12.0 * 3 + s.W / 24.0);
    const double rightHalfCentre = s.x0 + rnd(s.W / 12.0 * 9 + s.W / 24.0);
    switch (chart) {
    case TwelveBarChart::TimeCycle: {
        const int period = timeCyclePeriod(data.record.measuredAt);
        for (int k = 1; k <= 12; ++k) {
            const MeridianInfo& info = meridianInfo(timeCycleMeridian(k));
            if (k == period) {
                canvas.setFont(8, true);
                canvas.setTextColour(colour::labelOrange);
                canvas.centredText(s.slotCentre(k), s.H - 46, info.abbreviation);
                canvas.setTextColour(colour::red);
                canvas.centredText(s.slotCentre(k), s.H - 30, "[" + info.timeWindow + "]");
            } else {
                canvas.setFont(8);
                canvas.setTextColour(colour::green);
                canvas.centredText(s.slotCentre(k), s.H - 46, info.abbreviation);
                canvas.setFont(8, true);
                canvas.setTextColour(colour::black);
                canvas.centredText(s.slotCentre(k), s.H - 30, info.timeWindow);
            }
            if (k % 2 == 0) {
                canvas.setFont(8, true);
                canvas.setTextColour(colour::blue);
                canvas.centredText(s.slotLeft(k), s.H - 15, info.element);
            }
        }
        canvas.setFont(8);
        break;
    }
    case TwelveBarChart::QiBlood:
        for (int k = 1; k <= 12; ++k) {
            const MeridianInfo& info = meridianInfo(qiBloodMeridian(k));
            canvas.setTextColour(colour::green);
            canvas.centredText(s.slotCentre(k), s.H - 46, info.abbreviation);
            canvas.setTextColour(colour::blue);
            canvas.centredText(s.slotCentre(k), s.H - 30, info.element);
        }
        canvas.setTextColour(colour::navy);
        canvas.centredText(leftHalfCentre, s.H - 15, QStringLiteral("Yin-Zang"));
        canvas.setTextColour(colour::labelOrange);
        canvas.centredText(rightHalfCentre, s.H - 15, QStringLiteral("Yang-Fu"));
        break;
    case TwelveBarChart::YinYang:
        for (int k = 1; k <= 12; ++k) {
            const auto [yin, yang] = pairMeridians(k);
            canvas.setTextColour(colour::green);
            canvas.centredText(s.slotCentre(k), s.H - 46, meridianInfo(yin).abbreviation + "-" + meridianInfo(yang).abbreviation);
            canvas.setTextColour(colour::blue);
            canvas.centredText(s.slotCentre(k), s.H - 30, meridianInfo(yin).element);
        }
        canvas.setTextColour(colour::navy);
        canvas.centredText(leftHalfCentre, s.H - 15, QStringLiteral("Left"));
        canvas.setTextColour(colour::labelOrange);
        canvas.centredText(rightHalfCentre, s.H - 15, QStringLiteral("Right"));
        break;
    }

    drawLevelLegend(canvas, s, LegendStyle::Bar);

    switch (chart) {
    case TwelveBarChart::TimeCycle: return QStringLiteral("Meridian Time Cycle Analysis \u2013 Chart A");
    case TwelveBarChart::QiBlood: return QStringLiteral("Qi-Blood Excess/Deficiency Analysis \u2013 Chart A");
    case TwelveBarChart::YinYang: break;
    }
    return QStringLiteral("Yin-Yang Excess/Deficiency Analysis \u2013 Chart A");
}

}  // namespace tork::charts
