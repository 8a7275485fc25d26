#include "bodyfigure.h"

#include "painting.h"

#include <vector>

namespace picturegen {

namespace {

// The half of a symmetric outline on the viewer's left, top to bottom; returns the whole.
std::vector<QPointF> withMirroredHalf(const std::vector<QPointF>& leftHalf)
{
    std::vector<QPointF> all = leftHalf;
    const std::vector<QPointF> right = mirroredPoints(leftHalf, kBodyMiddle);
    all.insert(all.end(), right.rbegin(), right.rend());
    return all;
}

// Arm and hand on the viewer's left: down the outer (thumb) edge, round the hand, up the inner edge.
const std::vector<QPointF> kArm{{56, 90},  {46, 112}, {39, 150}, {33, 196}, {25, 246}, {17, 282},
                                {11, 292}, {4, 312},  {6, 322},  {11, 318}, {12, 328}, {14, 344},
                                {20, 349}, {26, 344}, {29, 324}, {28, 300}, {28, 284}, {35, 248},
                                {45, 200}, {52, 160}, {58, 126}, {62, 104}};
// Leg and foot on the viewer's left: down the outer edge, round the foot, up the inner edge.
const std::vector<QPointF> kLeg{{64, 236}, {60, 290}, {64, 340}, {66, 390}, {70, 428}, {64, 446},
                                {66, 458}, {82, 461}, {94, 456}, {92, 440}, {88, 426}, {90, 390},
                                {92, 340}, {96, 290}, {100, 262}, {90, 250}};
const std::vector<QPointF> kTorsoHalf{{100, 76}, {84, 80},  {64, 86},  {54, 96},  {53, 110}, {57, 130},
                                      {61, 160}, {66, 196}, {64, 222}, {62, 244}, {72, 258}, {100, 263}};

}  // namespace

QPainterPath bodySilhouette()
{
    QPainterPath head;
    head.addEllipse(QPointF(kBodyMiddle, 36), 21, 26);
    QPainterPath neck;
    neck.addRect(QRectF(89, 54, 22, 28));
    QPainterPath body = head.united(neck).united(smoothClosedPath(withMirroredHalf(kTorsoHalf)));
    for (const auto* limb : {&kArm, &kLeg}) {
        const QPainterPath shape = smoothClosedPath(*limb);
        body = body.united(shape).united(mirroredPath(shape, kBodyMiddle));
    }
    return body.simplified();
}

QPainterPath bodyLandmarks(BodyView view)
{
    QPainterPath marks;
    auto both = [&marks](const QPainterPath& path) {
        marks.addPath(path);
        marks.addPath(mirroredPath(path, kBodyMiddle));
    };
    if (view == BodyView::Front) {
        QPainterPath eye;
        eye.addEllipse(QPointF(92, 32), 3.5, 2);
        both(eye);
        QPainterPath nipple;
        nipple.addEllipse(QPointF(80, 140), 2.5, 2.5);
        both(nipple);
        marks.moveTo(100, 36);
        marks.lineTo(97, 44);
        marks.lineTo(101, 45);
        marks.moveTo(94, 51);
        marks.quadTo(100, 54, 106, 51);
        marks.addEllipse(QPointF(100, 200), 2.5, 2.5);
        both(smoothOpenPath({{70, 88}, {84, 92}, {97, 90}}));  // collar bones
    } else {
        marks.moveTo(100, 82);
        marks.lineTo(100, 246);  // spine
        both(smoothOpenPath({{70, 100}, {88, 104}, {86, 140}, {72, 128}, {70, 100}}));  // shoulder blades
        both(smoothOpenPath({{100, 246}, {84, 258}, {68, 250}}));                       // buttocks
        both(smoothOpenPath({{70, 338}, {80, 341}, {90, 338}}));                        // backs of the knees
    }
    return marks;
}

}  // namespace picturegen
