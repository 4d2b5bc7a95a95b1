#include "frame_diagrams.h"

#include "paint_util.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zefa::imagegen {

namespace {

const QColor kCwColor(0xd9, 0x48, 0x0f);
const QColor kCcwColor(0x19, 0x71, 0xc2);
const QColor kInk(0x26, 0x32, 0x38);
const QColor kArmColor(0x90, 0xa4, 0xae);

constexpr double kDiscRadius = 9.0;
constexpr double kArcGap = 3.5; // between disc edge and the direction arc
constexpr double kArcRadius = kDiscRadius + kArcGap;
constexpr double kHeaderHeight = 14.0;
// Coaxial pairs: the bottom disc peeks out below-right of the top disc.
const QPointF kTopShift(-5.0, -5.0);
const QPointF kBottomShift(6.0, 6.0);

QColor spinColor(Spin spin)
{
    return spin == Spin::CW ? kCwColor : kCcwColor;
}

// Screen angle: 0 = right, increasing clockwise on screen (y grows downward),
// which is clockwise as seen from above because the nose points up.
QPointF onCircle(const QPointF &c, double radius, double screenDeg)
{
    const double a = qDegreesToRadians(screenDeg);
    return {c.x() + radius * std::cos(a), c.y() + radius * std::sin(a)};
}

// Curved arrow around a centre: an arc of `span` degrees centred on `midDeg`,
// with the head at the end reached when turning in the spin direction.
void drawSpinArrow(QPainter &p, const QPointF &c, double radius, double midDeg, double span,
                   Spin spin, const QColor &color, double width, double head)
{
    const double start = midDeg - span / 2;
    const int steps = 48;
    QPainterPath arc;
    for (int i = 0; i <= steps; ++i) {
        const QPointF pt = onCircle(c, radius, start + span * i / steps);
        if (i == 0)
            arc.moveTo(pt);
        else
            arc.lineTo(pt);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(arc);

    const bool cw = spin == Spin::CW;
    const double endDeg = cw ? start + span : start;
    const double a = qDegreesToRadians(endDeg);
    const QPointF base = onCircle(c, radius, endDeg);
    // Unit tangent pointing the way the rotor turns.
    const QPointF tangent =
        cw ? QPointF(-std::sin(a), std::cos(a)) : QPointF(std::sin(a), -std::cos(a));
    const QPointF normal(std::cos(a), std::sin(a));
    QPolygonF tri;
    tri << base + tangent * head << base - tangent * (head * 0.25) + normal * (head * 0.75)
        << base - tangent * (head * 0.25) - normal * (head * 0.75);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(tri);
}

void drawDisc(QPainter &p, const QPointF &c, const MotorPlacement &m, const QPointF &labelAt,
              int fontPx)
{
    const QColor fill = spinColor(m.spin);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(fill);
    p.drawEllipse(c, kDiscRadius, kDiscRadius);
    p.setPen(Qt::white);
    p.setFont(uiFont(fontPx));
    const QRectF box(labelAt.x() - 8, labelAt.y() - 8, 16, 16);
    p.drawText(box, Qt::AlignCenter, QString::number(m.number));
}

void drawHeader(QPainter &p, double width)
{
    // Spin legend in the corners, nose marker in the middle.
    const QFont legendFont = uiFont(8);
    const QFontMetricsF legendMetrics(legendFont);
    p.setFont(legendFont);
    drawSpinArrow(p, QPointF(7, 7), 3.8, 90, 270, Spin::CW, kCwColor, 1.6, 3.2);
    p.setPen(kCwColor);
    p.drawText(QPointF(13, 10), QStringLiteral("CW"));
    drawSpinArrow(p, QPointF(width - 7, 7), 3.8, 90, 270, Spin::CCW, kCcwColor, 1.6, 3.2);
    p.setPen(kCcwColor);
    const QString ccw = QStringLiteral("CCW");
    p.drawText(QPointF(width - 13 - legendMetrics.horizontalAdvance(ccw), 10), ccw);

    const QFont frontFont = uiFont(9);
    const QString front = QStringLiteral("FRONT");
    const double textWidth = QFontMetricsF(frontFont).horizontalAdvance(front);
    const double triangle = 8, gap = 2;
    const double left = (width - (triangle + gap + textWidth)) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPolygonF tri;
    tri << QPointF(left, 11) << QPointF(left + triangle / 2, 3) << QPointF(left + triangle, 11);
    p.drawPolygon(tri);
    p.setFont(frontFont);
    p.setPen(kInk);
    p.drawText(QPointF(left + triangle + gap, 11), front);
}

struct Placed
{
    const MotorPlacement *motor;
    QPointF armEnd; // where the arm ends (shared by a coaxial pair)
};

} // namespace

QImage frameDiagram(const FrameLayout &layout, int density)
{
    const int size = kFrameDiagramSize;
    QImage image = newCanvas(size, size, density);
    QPainter p(&image);
    setupPainter(p);

    // White card so the picture reads on light and dark themes alike.
    p.setPen(QPen(QColor(0xcf, 0xd8, 0xdc), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 6, 6);

    drawHeader(p, size);

    bool coaxial = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0; // unit space, y toward the nose
    for (std::size_t i = 0; i < layout.count; ++i) {
        const MotorPlacement &m = layout.motors[i];
        coaxial = coaxial || m.level != Level::Single;
        const double a = qDegreesToRadians(m.angleDeg);
        const double x = m.radius * std::sin(a);
        const double y = m.radius * std::cos(a);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }

    // Fit the motor centres into the area below the header, leaving room for the
    // discs and arrows around them.
    const double pad = coaxial ? kArcRadius + 7.5 : kArcRadius + 1.5;
    const QRectF area(1, kHeaderHeight + 1, size - 2, size - kHeaderHeight - 2);
    const double scale = std::min((area.width() - 2 * pad) / (maxX - minX),
                                  (area.height() - 2 * pad) / (maxY - minY));
    const QPointF origin(area.center().x() - scale * (minX + maxX) / 2,
                         area.center().y() + scale * (minY + maxY) / 2);

    std::vector<Placed> placed;
    for (std::size_t i = 0; i < layout.count; ++i) {
        const MotorPlacement &m = layout.motors[i];
        const double a = qDegreesToRadians(m.angleDeg);
        const QPointF end(origin.x() + scale * m.radius * std::sin(a),
                          origin.y() - scale * m.radius * std::cos(a));
        placed.push_back({&m, end});
    }

    // Arms, then the body with its nose marker.
    p.setPen(QPen(kArmColor, 3.0, Qt::SolidLine, Qt::RoundCap));
    for (const Placed &pl : placed)
        p.drawLine(origin, pl.armEnd);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(origin, 8.0, 8.0);
    p.setBrush(Qt::white);
    QPolygonF nose;
    nose << origin + QPointF(0, -5.5) << origin + QPointF(4.5, 3.5) << origin + QPointF(-4.5, 3.5);
    p.drawPolygon(nose);

    // Bottom discs first so the top discs cover them.
    auto drawPass = [&](Level level) {
        for (const Placed &pl : placed) {
            const MotorPlacement &m = *pl.motor;
            if (m.level != level)
                continue;
            const QColor arrow = darker(spinColor(m.spin), 115);
            if (level == Level::Single) {
                // Arrow gap faces the arm so the arc never crosses it.
                const QPointF out = pl.armEnd - origin;
                const double outDeg = qRadiansToDegrees(std::atan2(out.y(), out.x()));
                drawSpinArrow(p, pl.armEnd, kArcRadius, outDeg, 250, m.spin, arrow, 2.0, 4.5);
                drawDisc(p, pl.armEnd, m, pl.armEnd, 11);
            } else if (level == Level::Bottom) {
                const QPointF c = pl.armEnd + kBottomShift;
                drawSpinArrow(p, c, kArcRadius, 45, 190, m.spin, arrow, 2.0, 4.5);
                drawDisc(p, c, m, c + QPointF(2.5, 2.5), 10);
            } else {
                const QPointF c = pl.armEnd + kTopShift;
                drawSpinArrow(p, c, kArcRadius, 225, 190, m.spin, arrow, 2.0, 4.5);
                drawDisc(p, c, m, c, 11);
            }
        }
    };
    drawPass(Level::Single);
    drawPass(Level::Bottom);
    drawPass(Level::Top);

    p.end();
    return image;
}

} // namespace zefa::imagegen
