#include "accel_faces.h"

#include "paint_util.h"
#include "scene3d.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zefa::imagegen {

namespace {

const QColor kFront(0xe5, 0x39, 0x35);
const QColor kRear(0x45, 0x5a, 0x64);
const QColor kBodyColor(0xe0, 0xe4, 0xe8);
const QColor kDark(0x26, 0x32, 0x38);
const QColor kBattery(0x3f, 0x6f, 0xb5);
const QColor kUpColor(0x2e, 0x7d, 0x32);
const QColor kInk(0x26, 0x32, 0x38);

struct Step
{
    const char *caption;
    const char *hint;
    Mat3 attitude; // body (x right, y forward, z up) to world before yaw
    double yawDeg; // turns the aircraft on the table for a readable view
};

Step stepInfo(int step)
{
    switch (step) {
    case 1:
        return {"Level", "top side up", Mat3(), -30};
    case 2:
        return {"Left side up", "resting on its right side", Mat3::rotY(90), -65};
    case 3:
        return {"Right side up", "resting on its left side", Mat3::rotY(-90), 65};
    case 4:
        return {"Nose down", "rear side up", Mat3::rotX(-90), 210};
    case 5:
        return {"Nose up", "front side up", Mat3::rotX(90), -30};
    default:
        return {"Upside down", "bottom side up", Mat3::rotY(180), -30};
    }
}

// Quadcopter in body axes: x right, y forward, z up. Front arms are red, rear
// arms dark; a red arrow on the top plate points to the nose.
Scene buildAircraft()
{
    Scene s;
    const double reach = 1.0;
    const double k = std::sqrt(0.5);
    const Vec3 corners[] = {{k, k, 0}, {-k, k, 0}, {-k, -k, 0}, {k, -k, 0}};

    s.addBox({0, 0, 0}, {0.24, 0, 0}, {0, 0.34, 0}, {0, 0, 0.06}, kBodyColor);
    // Battery strapped underneath.
    s.addBox({0, -0.02, -0.13}, {0.15, 0, 0}, {0, 0.26, 0}, {0, 0, 0.07}, kBattery);
    // Camera at the nose.
    s.addBox({0, 0.38, -0.02}, {0.08, 0, 0}, {0, 0.05, 0}, {0, 0, 0.06}, kDark);

    // Heading arrow on the top plate.
    Face arrow;
    const double z = 0.0605;
    // Counter-clockwise seen from above, so it faces up and hides with the top plate.
    arrow.points = {{0, 0.30, z},     {-0.14, 0.10, z}, {-0.05, 0.10, z}, {-0.05, -0.22, z},
                    {0.05, -0.22, z}, {0.05, 0.10, z},  {0.14, 0.10, z}};
    arrow.color = kFront;
    arrow.depthBias = 0.05;
    s.addFace(arrow);

    // GPS puck on a short mast, toward the rear; no higher than the props.
    s.addPrism({0, -0.2, 0.06}, {0, 0, 0.06}, 0.02, 6, kDark);
    s.addPrism({0, -0.2, 0.12}, {0, 0, 0.04}, 0.1, 12, kDark);

    for (int i = 0; i < 4; ++i) {
        const Vec3 d = corners[i];
        const bool front = d.y > 0;
        const Vec3 tip = d * reach;
        s.addBeam(d * 0.22, tip, 0.045, front ? kFront : kRear);
        s.addPrism(tip + Vec3{0, 0, -0.05}, {0, 0, 0.17}, 0.09, 10, kDark);
        QColor prop = front ? QColor(0xff, 0x8a, 0x80) : QColor(0x90, 0xa4, 0xae);
        prop.setAlpha(120);
        s.addDisc(tip + Vec3{0, 0, 0.16}, {1, 0, 0}, {0, 1, 0}, 0.46, 32, prop, 0.4);
    }

    // Landing skids below the body.
    for (double side : {-1.0, 1.0}) {
        for (double fy : {-0.2, 0.2})
            s.addBeam({side * 0.14, fy, -0.06}, {side * 0.3, fy, -0.46}, 0.022, kDark);
        s.addBeam({side * 0.3, -0.36, -0.46}, {side * 0.3, 0.36, -0.46}, 0.025, kDark);
    }
    return s;
}

Mat3 placement(const Step &info)
{
    return Mat3::rotZ(info.yawDeg) * info.attitude;
}

double lowestZ(const Scene &scene, const Mat3 &model)
{
    double lowest = 1e9;
    for (const Face &f : scene.faces())
        for (const Vec3 &p : f.points)
            lowest = std::min(lowest, (model * p).z);
    return lowest;
}

void drawTable(QPainter &p, const View &view, double z, double halfX, double halfY)
{
    auto pt = [&](double x, double y, double zz) { return view.project({x, y, zz}); };
    const double t = 0.12;
    QPolygonF top;
    top << pt(-halfX, -halfY, z) << pt(halfX, -halfY, z) << pt(halfX, halfY, z)
        << pt(-halfX, halfY, z);
    QPolygonF edge;
    edge << pt(-halfX, -halfY, z) << pt(halfX, -halfY, z) << pt(halfX, -halfY, z - t)
         << pt(-halfX, -halfY, z - t);
    p.setPen(QPen(QColor(0xa1, 0x88, 0x7f), 1));
    p.setBrush(QColor(0xd7, 0xcc, 0xc8));
    p.drawPolygon(top);
    p.setBrush(QColor(0xa1, 0x88, 0x7f));
    p.drawPolygon(edge);
}

void drawUpArrow(QPainter &p, const QPointF &tail, const QPointF &tip)
{
    const double head = 12;
    p.setPen(QPen(kUpColor, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tail, tip + QPointF(0, head * 0.8));
    QPolygonF tri;
    tri << tip << tip + QPointF(head * 0.8, head * 1.1) << tip + QPointF(-head * 0.8, head * 1.1);
    p.setPen(Qt::NoPen);
    p.setBrush(kUpColor);
    p.drawPolygon(tri);
    p.setFont(uiFont(16));
    p.setPen(kUpColor);
    p.drawText(QRectF(tip.x() + 12, tip.y(), 40, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("UP"));
}

void drawLegend(QPainter &p, double right, double top)
{
    p.setFont(uiFont(11, false));
    const struct
    {
        QColor color;
        const char *text;
    } rows[] = {{kFront, "front"}, {kRear, "rear"}};
    for (int i = 0; i < 2; ++i) {
        const double y = top + i * 15;
        p.setPen(Qt::NoPen);
        p.setBrush(rows[i].color);
        p.drawRoundedRect(QRectF(right - 58, y + 4, 16, 6), 2, 2);
        p.setPen(kInk);
        p.drawText(QRectF(right - 38, y, 38, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(rows[i].text));
    }
}

} // namespace

QImage accelFace(int step, int density)
{
    const int w = kAccelWidth, h = kAccelHeight;
    QImage image = newCanvas(w, h, density);
    QPainter p(&image);
    setupPainter(p);

    p.setPen(QPen(QColor(0xcf, 0xd8, 0xdc), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 8, 8);

    const Scene aircraft = buildAircraft();
    const Step info = stepInfo(step);

    View probe;
    probe.scale = 1;
    probe.model = placement(info);
    const QRectF unitBounds = projectedBounds(aircraft, probe);
    const QRectF stage(16, 60, w - 32, 172); // where the aircraft may go
    const double scale =
        std::min({stage.width() / unitBounds.width(), stage.height() / unitBounds.height(), 80.0});

    View view;
    view.model = placement(info);
    view.scale = scale;
    // Rest the aircraft on the table (world z = 0) and centre it on the stage.
    const double lift = -lowestZ(aircraft, view.model);
    Scene placed;
    for (Face f : aircraft.faces()) {
        for (Vec3 &pt : f.points)
            pt = view.model * pt + Vec3{0, 0, lift};
        placed.addFace(f);
    }
    view.model = Mat3();
    view.origin = QPointF(0, 0);
    const QRectF bounds = projectedBounds(placed, view);
    // Bottom of the aircraft sits at the bottom of the stage.
    view.origin =
        QPointF(stage.center().x() - bounds.center().x(), stage.bottom() - bounds.bottom());

    p.save();
    QPainterPath card;
    card.addRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);
    p.setClipPath(card);
    p.setClipRect(QRectF(0, 0, w, 242), Qt::IntersectClip); // keep the caption clear
    drawTable(p, view, 0.0, 2.4, 1.0);
    p.restore();
    renderScene(p, placed, view);

    const QRectF onScreen = projectedBounds(placed, view);
    drawUpArrow(p, QPointF(w / 2.0, std::max(onScreen.top() - 4, 40.0)), QPointF(w / 2.0, 8));
    drawLegend(p, w - 10, 10);

    // Caption.
    p.setPen(kInk);
    p.setFont(uiFont(22));
    p.drawText(QRectF(0, 250, w, 30), Qt::AlignHCenter | Qt::AlignVCenter,
               QString::fromLatin1(info.caption));
    p.setFont(uiFont(13, false));
    p.setPen(QColor(0x54, 0x6e, 0x7a));
    p.drawText(QRectF(0, 281, w, 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Step %1 of %2: %3")
                   .arg(step)
                   .arg(kAccelSteps)
                   .arg(QString::fromLatin1(info.hint)));
    p.end();
    return image;
}

} // namespace zefa::imagegen
