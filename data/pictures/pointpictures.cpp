#include "pointpictures.h"

#include "painting.h"

#include "core/app/meridians.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>
#include <QTransform>

#include <array>
#include <cmath>
#include <vector>

namespace picturegen {

namespace {

constexpr double kWidth = kPointPictureWidth;
constexpr double kHeight = kPointPictureHeight;

// Each view is drawn in one frame: hands with the thumb on the left, the foot from above
// with the big toe on the right, the foot from the side with the toes on the right. The
// limb of the other side is the mirror image of the frame.
enum class LimbView { Palm, HandBack, FootTop, FootInner, FootOuter };

// Whether the frame of a view shows a left limb (otherwise a right one).
bool frameShowsLeftLimb(LimbView view)
{
    return view == LimbView::Palm || view == LimbView::FootTop || view == LimbView::FootInner;
}

QString viewCaption(LimbView view, bool left)
{
    const QString side = left ? QStringLiteral("Left") : QStringLiteral("Right");
    switch (view) {
    case LimbView::Palm: return side + QStringLiteral(" hand, palm side");
    case LimbView::HandBack: return side + QStringLiteral(" hand, back");
    case LimbView::FootTop: return side + QStringLiteral(" foot, top");
    case LimbView::FootInner: return side + QStringLiteral(" foot, inner side");
    case LimbView::FootOuter: return side + QStringLiteral(" foot, outer side");
    }
    return side;
}

// A finger or toe: an upright capsule tilted about the middle of its base.
struct Digit {
    QRectF body;
    double tiltDegrees;
};

const std::array<Digit, 4> kFingers{{
    {QRectF(98, 50, 20, 72), -5},   // index
    {QRectF(120, 40, 21, 82), 0},   // middle
    {QRectF(143, 48, 20, 74), 4},   // ring
    {QRectF(165, 66, 17, 58), 10},  // little
}};
const QPointF kThumbBase(108, 182);
const QPointF kThumbTip(58, 110);
constexpr double kThumbWidth = 27;

const std::array<Digit, 5> kToes{{
    {QRectF(156, 40, 31, 52), 2},    // big toe
    {QRectF(136, 48, 19, 42), -2},
    {QRectF(118, 56, 18, 38), -4},
    {QRectF(101, 64, 17, 34), -7},
    {QRectF(86, 74, 16, 30), -10},  // little toe
}};

QTransform tiltAboutBase(const Digit& digit)
{
    const QPointF base(digit.body.center().x(), digit.body.bottom());
    return QTransform().translate(base.x(), base.y()).rotate(digit.tiltDegrees).translate(-base.x(), -base.y());
}

QPainterPath capsule(const QRectF& rect)
{
    QPainterPath path;
    const double radius = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath digitPath(const Digit& digit) { return tiltAboutBase(digit).map(capsule(digit.body)); }

// The thumb: a capsule from its base towards its tip.
QTransform thumbTransform()
{
    const QPointF d = kThumbTip - kThumbBase;
    const double angle = std::atan2(d.x(), -d.y()) * 180.0 / M_PI;
    return QTransform().translate(kThumbBase.x(), kThumbBase.y()).rotate(angle);
}
double thumbLength() { return std::hypot(kThumbTip.x() - kThumbBase.x(), kThumbTip.y() - kThumbBase.y()); }

QPainterPath thumbPath()
{
    const double w = kThumbWidth;
    return thumbTransform().map(capsule(QRectF(-w / 2, -thumbLength() - w / 2, w, thumbLength() + w)));
}

QPainterPath circle(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath handSilhouette()
{
    QPainterPath palm;
    palm.addRoundedRect(QRectF(96, 100, 88, 98), 22, 22);
    QPainterPath forearm;
    forearm.addPolygon(QPolygonF({QPointF(104, 186), QPointF(178, 186), QPointF(182, 246), QPointF(100, 246)}));
    forearm.closeSubpath();
    QPainterPath hand = palm.united(forearm).united(thumbPath());
    // The ball of the thumb rounds the joint between thumb and palm.
    QPainterPath thenar;
    thenar.addEllipse(QPointF(112, 166), 18, 28);
    hand = hand.united(thenar);
    for (const Digit& finger : kFingers) hand = hand.united(digitPath(finger));
    return hand.simplified();
}

QPainterPath footTopSilhouette()
{
    QPainterPath foot = smoothClosedPath({{86, 98}, {112, 88}, {150, 86}, {186, 88}, {194, 108}, {188, 146},
                                          {178, 184}, {170, 206}, {168, 246}, {104, 246}, {102, 214},
                                          {96, 182}, {88, 144}, {80, 114}});
    foot = foot.united(circle({170, 208}, 8)).united(circle({104, 216}, 8));  // ankle bones
    for (const Digit& toe : kToes) foot = foot.united(digitPath(toe));
    return foot.simplified();
}

// Side view, toes on the right; the sole rises by ARCH under the middle of the foot.
QPainterPath footSideSilhouette(double arch)
{
    return smoothClosedPath({{76, 34}, {122, 34}, {124, 120}, {130, 160}, {152, 180}, {196, 198}, {232, 206},
                             {246, 216}, {242, 232}, {222, 236}, {160, 236 - arch}, {100, 238}, {72, 236},
                             {58, 222}, {56, 200}, {64, 176}, {72, 130}});
}

constexpr double kInnerArch = 12;
constexpr double kOuterArch = 2;
const QPointF kInnerAnkleBone(96, 166);
const QPointF kOuterAnkleBone(90, 178);

QPainterPath silhouette(LimbView view)
{
    switch (view) {
    case LimbView::Palm:
    case LimbView::HandBack: return handSilhouette();
    case LimbView::FootTop: return footTopSilhouette();
    case LimbView::FootInner: return footSideSilhouette(kInnerArch);
    case LimbView::FootOuter: return footSideSilhouette(kOuterArch);
    }
    return {};
}

void addLine(QPainterPath& path, const std::vector<QPointF>& points) { path.addPath(smoothOpenPath(points)); }

// Short creases across a digit at the given fractions of its length, measured from the tip.
void addDigitCreases(QPainterPath& path, const Digit& digit, std::initializer_list<double> fractions)
{
    const QTransform tilt = tiltAboutBase(digit);
    const QRectF& r = digit.body;
    for (double f : fractions) {
        const double y = r.top() + f * r.height();
        QPainterPath crease;
        crease.moveTo(r.left() + 4, y);
        crease.quadTo(r.center().x(), y + 2, r.right() - 4, y);
        path.addPath(tilt.map(crease));
    }
}

void addNail(QPainterPath& path, const Digit& digit)
{
    const QRectF& r = digit.body;
    const double w = r.width() * 0.6;
    QPainterPath nail;
    nail.addRoundedRect(QRectF(r.center().x() - w / 2, r.top() + 4, w, w * 1.1), w / 3, w / 3);
    path.addPath(tiltAboutBase(digit).map(nail));
}

// The lines inside the silhouette that make the view readable: creases, nails, knuckles,
// tendons and bones under the skin.
QPainterPath details(LimbView view)
{
    QPainterPath path;
    switch (view) {
    case LimbView::Palm:
        addLine(path, {{100, 198}, {140, 202}, {180, 198}});  // wrist creases
        addLine(path, {{104, 207}, {140, 211}, {178, 207}});
        addLine(path, {{104, 124}, {112, 152}, {124, 176}, {132, 192}});  // around the ball of the thumb
        addLine(path, {{104, 126}, {140, 138}, {172, 148}});
        addLine(path, {{182, 122}, {160, 116}, {130, 114}});
        for (const Digit& finger : kFingers) addDigitCreases(path, finger, {0.3, 0.58, 0.86});
        {
            QPainterPath thumbCrease;
            thumbCrease.moveTo(-9, -thumbLength() * 0.55);
            thumbCrease.quadTo(0, -thumbLength() * 0.55 + 2, 9, -thumbLength() * 0.55);
            path.addPath(thumbTransform().map(thumbCrease));
        }
        break;
    case LimbView::HandBack:
        for (const Digit& finger : kFingers) {
            addNail(path, finger);
            addDigitCreases(path, finger, {0.42});
            const QPointF knuckle = tiltAboutBase(finger).map(QPointF(finger.body.center().x(), finger.body.bottom() - 14));
            path.addPath(circle(knuckle, 3.5));
            addLine(path, {knuckle + QPointF(0, 6), QPointF((knuckle.x() + 140) / 2, 160), QPointF(140 + (knuckle.x() - 140) / 5, 200)});
        }
        {
            QPainterPath thumbNail;
            thumbNail.addRoundedRect(QRectF(-7, -thumbLength() - 8, 14, 15), 5, 5);
            path.addPath(thumbTransform().map(thumbNail));
        }
        path.addPath(circle({174, 210}, 5));                      // head of the ulna
        addLine(path, {{92, 174}, {96, 190}, {100, 212}});        // tendons that bound the snuffbox
        addLine(path, {{114, 170}, {114, 190}, {116, 212}});
        addLine(path, {{104, 202}, {140, 206}, {178, 202}});      // back of the wrist
        break;
    case LimbView::FootTop:
        for (const Digit& toe : kToes) {
            addNail(path, toe);
            const QPointF base = tiltAboutBase(toe).map(QPointF(toe.body.center().x(), toe.body.bottom() - 6));
            addLine(path, {base, QPointF((base.x() + 136) / 2, 160), QPointF(136 + (base.x() - 136) / 4, 206)});
        }
        addLine(path, {{106, 204}, {136, 212}, {166, 204}});  // front of the ankle
        break;
    case LimbView::FootInner:
    case LimbView::FootOuter: {
        const bool inner = view == LimbView::FootInner;
        const double arch = inner ? kInnerArch : kOuterArch;
        path.addPath(circle(inner ? kInnerAnkleBone : kOuterAnkleBone, 12));
        addLine(path, {{74, 60}, {70, 150}, {64, 200}});                                      // heel cord
        addLine(path, {{64, 224}, {110, 226 - arch}, {170, 228 - arch}, {228, 228}});         // edge of the sole
        addLine(path, inner ? std::vector<QPointF>{{200, 204}, {206, 214}, {202, 226}}          // ball of the big toe
                            : std::vector<QPointF>{{206, 208}, {212, 216}, {208, 226}});        // ball of the little toe
        QPainterPath nail;
        nail.addRoundedRect(QRectF(232, 206, 9, 7), 3, 3);
        path.addPath(nail);
        break;
    }
    }
    return path;
}

// A source point, drawn in the frame of its view.
struct PointSpot {
    LimbView view;
    QPointF at;
    QPointF labelOffset;          // from the point to the centre of its label
    std::vector<QPointF> course;  // the channel's course past the point
};

// Places 1..6 of the hand: LU, PC, HT, SI, TE, LI.
const std::array<PointSpot, 6>& handSpots()
{
    static const std::array<PointSpot, 6> spots{{
        {LimbView::Palm, {104, 198}, {-54, 30}, {{60, 112}, {88, 160}, {104, 198}, {110, 246}}},
        {LimbView::Palm, {140, 201}, {-2, 30}, {{131, 44}, {132, 150}, {140, 201}, {140, 246}}},
        {LimbView::Palm, {174, 198}, {40, 28}, {{174, 70}, {180, 130}, {174, 198}, {172, 246}}},
        {LimbView::HandBack, {181, 176}, {36, -36}, {{176, 70}, {184, 140}, {181, 176}, {178, 210}, {176, 246}}},
        {LimbView::HandBack, {152, 203}, {44, 24}, {{153, 52}, {154, 120}, {152, 203}, {148, 246}}},
        {LimbView::HandBack, {104, 194}, {-52, 28}, {{108, 52}, {108, 120}, {104, 194}, {114, 246}}},
    }};
    return spots;
}

// Places 1..6 of the foot: SP, LR, KI, BL, GB, ST.
const std::array<PointSpot, 6>& footSpots()
{
    static const std::array<PointSpot, 6> spots{{
        {LimbView::FootInner, {188, 222}, {24, -54}, {{244, 222}, {188, 222}, {128, 182}, {112, 130}, {110, 34}}},
        {LimbView::FootTop, {150, 134}, {60, -6}, {{160, 46}, {152, 100}, {150, 134}, {162, 200}, {160, 246}}},
        {LimbView::FootInner, {80, 194}, {-22, -64}, {{146, 228}, {136, 212}, {104, 200}, {80, 194}, {82, 150}, {84, 34}}},
        {LimbView::FootOuter, {196, 226}, {-8, -60}, {{244, 222}, {196, 226}, {150, 228}, {94, 208}, {70, 176}, {74, 34}}},
        {LimbView::FootOuter, {112, 194}, {56, -44}, {{236, 210}, {170, 196}, {112, 194}, {106, 140}, {104, 34}}},
        {LimbView::FootTop, {132, 172}, {-62, 8}, {{144, 52}, {140, 110}, {132, 172}, {136, 206}, {134, 246}}},
    }};
    return spots;
}

// How a style draws the limb.
struct Look {
    bool skin;           // filled with skin colours (else white)
    QPen outline;
    QPen detail;
    bool showCourse;     // the channel's course as a dashed line
    bool tintedBackground;
};

Look lookOf(int style)
{
    switch (style) {
    case 2: return {false, QPen(Qt::black, 2.0), QPen(QColor(90, 90, 90), 1.0), false, false};
    case 3: return {true, QPen(QColor(40, 40, 40), 2.0), QPen(QColor(150, 105, 80), 1.0), true, true};
    default: return {true, QPen(QColor(176, 122, 92), 1.6), QPen(QColor(196, 146, 116), 1.0), false, true};
    }
}

void paintBackground(QPainter& p, const Look& look)
{
    if (!look.tintedBackground) {
        p.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
        return;
    }
    QLinearGradient gradient(0, 0, 0, kHeight);
    gradient.setColorAt(0, QColor(232, 240, 250));
    gradient.setColorAt(1, QColor(252, 253, 255));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), gradient);
}

void paintLimb(QPainter& p, LimbView view, const Look& look)
{
    const QPainterPath shape = silhouette(view);
    if (look.skin) {
        QLinearGradient skin(60, 0, 200, 0);
        skin.setColorAt(0, QColor(250, 218, 190));
        skin.setColorAt(0.55, QColor(255, 230, 206));
        skin.setColorAt(1, QColor(236, 196, 162));
        p.setBrush(skin);
    } else {
        p.setBrush(Qt::white);
    }
    p.setPen(look.outline);
    p.drawPath(shape);
    p.setBrush(Qt::NoBrush);
    p.setPen(look.detail);
    p.drawPath(details(view));
}

void paintCourse(QPainter& p, const PointSpot& spot, const QColor& colour)
{
    QPen pen(colour, 2.4, Qt::DashLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(smoothOpenPath(spot.course));
}

void paintMarker(QPainter& p, QPointF at)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(at, 10, 10);
    p.setPen(QPen(QColor(120, 0, 0), 1.2));
    p.setBrush(QColor(224, 24, 24));
    p.drawEllipse(at, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(224, 24, 24), 1.6));
    p.drawEllipse(at, 13, 13);
}

// The point's code in bold with its name beneath, in a box joined to the point by a line.
void paintLabel(QPainter& p, QPointF point, QPointF centre, const QString& code, const QString& name)
{
    const QFont codeFont = pixelFont(15, true);
    const QFont nameFont = pixelFont(11);
    const QFontMetrics codeMetrics(codeFont);
    const QFontMetrics nameMetrics(nameFont);
    const double w = std::max(codeMetrics.horizontalAdvance(code), nameMetrics.horizontalAdvance(name)) + 12;
    const double h = codeMetrics.height() + nameMetrics.height() + 6;
    const double band = kPointPictureBand;
    const double x = std::clamp(centre.x() - w / 2, 2.0, kWidth - 2 - w);
    const double y = std::clamp(centre.y() - h / 2, band + 2, kHeight - band - 2 - h);
    const QRectF box(std::round(x), std::round(y), std::round(w), std::round(h));

    const QColor ink(120, 0, 0);
    p.setPen(QPen(ink, 1.2));
    const QPointF towards = box.center() - point;
    const double distance = std::hypot(towards.x(), towards.y());
    if (distance > 16) p.drawLine(point + towards * (14.0 / distance), box.center());
    p.setBrush(QColor(255, 255, 255, 236));
    p.drawRoundedRect(box, 5, 5);
    p.setPen(ink);
    p.setFont(codeFont);
    p.drawText(QRectF(box.left(), box.top() + 3, box.width(), codeMetrics.height()), Qt::AlignHCenter, code);
    p.setPen(QColor(60, 60, 60));
    p.setFont(nameFont);
    p.drawText(QRectF(box.left(), box.top() + 3 + codeMetrics.height(), box.width(), nameMetrics.height()),
               Qt::AlignHCenter, name);
}

void paintCaption(QPainter& p, const QString& caption)
{
    const QFont font = pixelFont(11);
    const QFontMetrics metrics(font);
    const QRectF box(4, kPointPictureBand + 2, metrics.horizontalAdvance(caption) + 10, metrics.height() + 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawRoundedRect(box, 4, 4);
    p.setPen(QColor(60, 60, 80));
    p.setFont(font);
    p.drawText(box, Qt::AlignCenter, caption);
}

}  // namespace

QImage drawPointPicture(int me, int style)
{
    const int meridian = tork::meridianOfPoint(me);
    const bool hand = me <= 12;
    const bool left = tork::isLeftPoint(me);
    const int place = (me - 1) % 6;
    const PointSpot& spot = hand ? handSpots()[place] : footSpots()[place];
    const tork::MeridianInfo& info = tork::meridianInfo(meridian);
    // sourcePoint holds the point's name, blanks and its code, e.g. "TaiYuan  LU9".
    const QStringList sourcePoint = info.sourcePoint.split(QLatin1Char(' '), Qt::SkipEmptyParts);

    const Look look = lookOf(style);
    const bool mirrored = left != frameShowsLeftLimb(spot.view);
    const QTransform frame = mirrored ? QTransform(-1, 0, 0, 1, kWidth, 0) : QTransform();

    QImage image(kPointPictureWidth, kPointPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(p, look);

    // The limb never reaches into the bands the window writes on.
    p.setClipRect(QRectF(0, kPointPictureBand, kWidth, kHeight - 2 * kPointPictureBand));
    p.setTransform(frame);
    paintLimb(p, spot.view, look);
    if (look.showCourse) paintCourse(p, spot, elementColour(info.element));
    p.resetTransform();
    p.setClipping(false);

    const QPointF at = frame.map(spot.at);
    paintMarker(p, at);
    paintLabel(p, at, frame.map(spot.at + spot.labelOffset), sourcePoint.value(1), sourcePoint.value(0));
    paintCaption(p, viewCaption(spot.view, left));
    p.end();
    return image;
}

void writePointPictures(const QString& folder)
{
    for (int style = 1; style <= 3; ++style) {
        for (int me = 1; me <= tork::kPointCount; ++me) {
            const QImage picture = drawPointPicture(me, style).convertToFormat(QImage::Format_RGB888);
            writeImage(picture, folder + QLatin1Char('/') + tork::pointPictureName(me, style), "BMP");
        }
    }
}

}  // namespace picturegen
