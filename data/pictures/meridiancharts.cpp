#include "meridiancharts.h"

#include "bodyfigure.h"
#include "painting.h"

#include "core/app/meridians.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <array>
#include <cmath>
#include <vector>

namespace picturegen {

namespace {

constexpr int kChartWidth = 700;
constexpr int kChartHeight = 640;
constexpr double kFigureTop = 70;
constexpr double kFrontLeft = 90;
constexpr double kBackLeft = 410;

// A stretch of the channel's surface course seen in one view, on the figure's half at the
// viewer's left; the other half is its mirror image.
struct CourseSegment {
    BodyView view;
    std::vector<QPointF> points;
};

struct MeridianCourse {
    std::vector<CourseSegment> segments;
    BodyView sourceView;
    QPointF source;
    const char* firstPoint;
    const char* lastPoint;
};

// Courses by meridian number (index 0 = meridian 1), from the first to the last point.
const std::array<MeridianCourse, 12>& courses()
{
    static const std::array<MeridianCourse, 12> table{{
        // LU: chest below the collar bone, front outer arm, thumb side of the wrist, thumb.
        {{{BodyView::Front, {{68, 106}, {58, 112}, {49, 128}, {43, 152}, {37, 196}, {29, 246}, {20, 282}, {12, 296}, {7, 316}}}},
         BodyView::Front, {20, 282}, "LU1", "LU11"},
        // PC: beside the nipple, armpit, middle of the inner arm, palm, middle finger.
        {{{BodyView::Front, {{80, 140}, {70, 134}, {60, 122}, {47, 156}, {40, 200}, {31, 248}, {23, 284}, {21, 308}, {20, 345}}}},
         BodyView::Front, {23, 284}, "PC1", "PC9"},
        // HT: armpit, inner edge of the arm, little-finger side of the wrist, little finger.
        {{{BodyView::Front, {{60, 120}, {50, 160}, {43, 200}, {33, 248}, {26, 284}, {27, 306}, {27, 340}}}},
         BodyView::Front, {26, 284}, "HT1", "HT9"},
        // SI: little finger, outer edge of the hand, back of the arm, shoulder blade, neck, cheek, ear.
        {{{BodyView::Back, {{27, 340}, {29, 318}, {29, 294}, {27, 284}, {34, 248}, {44, 200}, {51, 160}, {58, 126},
                            {68, 118}, {64, 108}, {74, 112}, {80, 100}, {88, 90}, {92, 76}}},
          {BodyView::Front, {{88, 74}, {84, 58}, {86, 46}, {80, 38}}}},
         BodyView::Back, {29, 294}, "SI1", "SI19"},
        // TE: ring finger, back of the wrist and forearm, elbow, shoulder, round the ear, eyebrow.
        {{{BodyView::Back, {{23, 344}, {23, 318}, {22, 285}, {30, 248}, {38, 200}, {45, 156}, {50, 110}, {56, 94},
                            {70, 90}, {84, 76}, {82, 56}, {79, 46}}},
          {BodyView::Front, {{79, 46}, {77, 34}, {80, 24}, {88, 26}}}},
         BodyView::Back, {22, 285}, "TE1", "TE23"},
        // LI: index finger, thumb side of the wrist, outer arm, shoulder, neck, beside the nose.
        {{{BodyView::Front, {{13, 340}, {14, 318}, {13, 302}, {16, 285}, {24, 246}, {32, 198}, {39, 152}, {46, 110},
                             {54, 94}, {70, 86}, {86, 72}, {90, 56}, {94, 46}, {96, 42}}}},
         BodyView::Front, {16, 285}, "LI1", "LI20"},
        // SP: big toe, inner foot, inner leg and thigh, abdomen, side of the chest.
        {{{BodyView::Front, {{93, 458}, {92, 448}, {90, 428}, {91, 390}, {93, 344}, {93, 290}, {84, 254}, {78, 222},
                             {76, 190}, {72, 150}, {68, 114}, {62, 140}}}},
         BodyView::Front, {92, 448}, "SP1", "SP21"},
        // LR: big toe, top of the foot, inner leg and thigh, groin, flank, below the nipple.
        {{{BodyView::Front, {{89, 458}, {87, 447}, {87, 430}, {89, 392}, {92, 344}, {95, 292}, {92, 260}, {84, 238},
                             {72, 202}, {80, 158}}}},
         BodyView::Front, {87, 447}, "LR1", "LR14"},
        // KI: sole, inner heel, back of the inner leg and thigh, then the abdomen and chest near the midline.
        {{{BodyView::Back, {{84, 459}, {87, 446}, {89, 432}, {92, 390}, {94, 340}, {97, 290}, {98, 262}}},
          {BodyView::Front, {{96, 252}, {95, 200}, {92, 160}, {88, 120}, {90, 92}}}},
         BodyView::Back, {87, 446}, "KI1", "KI27"},
        // BL: inner corner of the eye, over the head, two lines down the back, back of the leg, outer foot, little toe.
        {{{BodyView::Front, {{93, 33}, {95, 20}, {96, 10}}},
          {BodyView::Back, {{96, 10}, {95, 30}, {95, 56}, {93, 74}, {92, 100}, {92, 160}, {92, 220}, {94, 246},
                            {88, 262}, {82, 300}, {80, 338}}},
          {BodyView::Back, {{84, 96}, {84, 160}, {84, 220}, {76, 250}, {80, 300}, {80, 338}}},
          {BodyView::Back, {{80, 338}, {79, 380}, {74, 420}, {70, 432}, {65, 447}, {68, 458}}}},
         BodyView::Back, {65, 447}, "BL1", "BL67"},
        // GB: outer corner of the eye, side of the head, neck, shoulder, flank, outer leg, fourth toe.
        {{{BodyView::Front, {{83, 33}, {77, 36}, {78, 24}, {84, 14}, {80, 30}}},
          {BodyView::Back, {{80, 44}, {88, 56}, {76, 74}, {70, 88}}},
          {BodyView::Front, {{58, 124}, {62, 150}, {66, 190}, {66, 220}, {64, 238}, {61, 290}, {64, 342}, {67, 390},
                             {69, 424}, {68, 436}, {72, 458}}}},
         BodyView::Front, {68, 436}, "GB1", "GB44"},
        // ST: below the eye, jaw, neck, nipple line, abdomen, front of the thigh and shin, top of the foot, second toe.
        {{{BodyView::Front, {{88, 38}, {89, 50}, {84, 56}, {86, 68}, {88, 76}, {84, 90}, {80, 140}, {86, 190},
                             {88, 230}, {88, 252}, {78, 290}, {76, 338}, {76, 352}, {75, 390}, {79, 430}, {80, 442},
                             {82, 458}}}},
         BodyView::Front, {80, 442}, "ST1", "ST45"},
    }};
    return table;
}

QPointF figureOrigin(BodyView view) { return {view == BodyView::Front ? kFrontLeft : kBackLeft, kFigureTop}; }

void paintFigure(QPainter& p, BodyView view)
{
    p.save();
    p.translate(figureOrigin(view));
    p.setPen(QPen(QColor(120, 120, 130), 1.6));
    p.setBrush(QColor(248, 236, 224));
    p.drawPath(bodySilhouette());
    p.setPen(QPen(QColor(170, 150, 140), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bodyLandmarks(view));
    p.restore();

    p.setPen(QColor(60, 60, 70));
    p.setFont(pixelFont(14, true));
    const QString title = view == BodyView::Front ? QStringLiteral("Front") : QStringLiteral("Back");
    p.drawText(QRectF(figureOrigin(view).x(), kFigureTop + kBodyHeight + 6, kBodyWidth, 20), Qt::AlignHCenter, title);
}

void paintCourse(QPainter& p, const MeridianCourse& course, const QColor& colour)
{
    for (const CourseSegment& segment : course.segments) {
        p.save();
        p.translate(figureOrigin(segment.view));
        p.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(smoothOpenPath(segment.points));
        p.drawPath(smoothOpenPath(mirroredPoints(segment.points, kBodyMiddle)));
        p.restore();
    }
}

void paintPointMark(QPainter& p, QPointF at, double radius)
{
    p.setPen(QPen(QColor(110, 0, 0), 1.2));
    p.setBrush(QColor(224, 24, 24));
    p.drawEllipse(at, radius, radius);
}

void paintSmallLabel(QPainter& p, QPointF at, const QString& text)
{
    p.setFont(pixelFont(10));
    p.setPen(QColor(70, 70, 80));
    p.drawText(QRectF(at.x() + 4, at.y() - 14, 40, 12), Qt::AlignLeft, text);
}

// The source point on both sides, labelled in the margin beside its view.
void paintSourcePoint(QPainter& p, const MeridianCourse& course, const QString& label)
{
    const QPointF origin = figureOrigin(course.sourceView);
    const QPointF near = origin + course.source;
    const QPointF far = origin + QPointF(2 * kBodyMiddle - course.source.x(), course.source.y());
    for (QPointF at : {near, far}) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(at, 7.5, 7.5);
        paintPointMark(p, at, 5);
    }
    const QFont font = pixelFont(12, true);
    const QFontMetrics metrics(font);
    const double w = metrics.horizontalAdvance(label) + 10;
    const double h = metrics.height() + 6;
    const bool frontView = course.sourceView == BodyView::Front;
    const QPointF anchor = frontView ? near : far;
    const double x = frontView ? 4 : kChartWidth - 4 - w;
    const QRectF box(x, anchor.y() - h - 18, w, h);
    p.setPen(QPen(QColor(110, 0, 0), 1.0));
    p.drawLine(anchor, QPointF(frontView ? box.right() : box.left(), box.bottom()));
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawRoundedRect(box, 4, 4);
    p.setFont(font);
    p.setPen(QColor(110, 0, 0));
    p.drawText(box, Qt::AlignCenter, label);
}

void paintLegend(QPainter& p, const QColor& colour)
{
    const double y = kFigureTop + kBodyHeight + 44;
    p.setFont(pixelFont(12));
    paintPointMark(p, QPointF(40, y + 7), 5);
    p.setPen(QColor(50, 50, 60));
    p.drawText(QPointF(54, y + 12), QStringLiteral("Source (measuring) point"));
    p.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(280, y + 7), QPointF(320, y + 7));
    p.setPen(QColor(50, 50, 60));
    p.drawText(QPointF(330, y + 12), QStringLiteral("Surface course of the channel (both sides)"));
    p.setFont(pixelFont(11));
    p.setPen(QColor(110, 110, 120));
    p.drawText(QRectF(0, kChartHeight - 22, kChartWidth, 16), Qt::AlignHCenter,
               QStringLiteral("Simplified drawing for research and reference; not medical advice."));
}

}  // namespace

QImage drawMeridianChart(int meridian)
{
    const tork::MeridianInfo& info = tork::meridianInfo(meridian);
    const MeridianCourse& course = courses()[meridian - 1];
    const QColor colour = elementColour(info.element);
    // sourcePoint holds the point's name, blanks and its code, e.g. "TaiYuan  LU9".
    const QStringList sourcePoint = info.sourcePoint.split(QLatin1Char(' '), Qt::SkipEmptyParts);

    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(QColor(30, 40, 90));
    p.setFont(pixelFont(20, true));
    p.drawText(QRectF(0, 10, kChartWidth, 28), Qt::AlignHCenter, info.nameWithAbbreviation);
    p.setFont(pixelFont(13));
    p.setPen(QColor(70, 70, 90));
    p.drawText(QRectF(0, 38, kChartWidth, 20), Qt::AlignHCenter,
               QStringLiteral("%1  ·  %2  ·  %3").arg(info.channelName, info.element, info.timeWindow));

    paintFigure(p, BodyView::Front);
    paintFigure(p, BodyView::Back);
    paintCourse(p, course, colour);

    const CourseSegment& first = course.segments.front();
    const CourseSegment& last = course.segments.back();
    paintSmallLabel(p, figureOrigin(first.view) + first.points.front(), QString::fromLatin1(course.firstPoint));
    paintSmallLabel(p, figureOrigin(last.view) + last.points.back(), QString::fromLatin1(course.lastPoint));
    paintSourcePoint(p, course, sourcePoint.value(1) + QLatin1Char(' ') + sourcePoint.value(0));
    paintLegend(p, colour);
    p.end();
    return image;
}

void writeMeridianCharts(const QString& folder)
{
    for (int meridian = 1; meridian <= tork::kMeridianCount; ++meridian) {
        writeImage(drawMeridianChart(meridian), folder + QStringLiteral("/meridian-%1.png").arg(meridian, 2, 10, QLatin1Char('0')),
                   "PNG");
    }
}

}  // namespace picturegen
