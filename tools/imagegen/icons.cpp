#include "icons.h"

#include "paint_util.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

namespace zefa::imagegen {

namespace {

const QColor kCable(0x45, 0x5a, 0x64);
const QColor kMetal(0x90, 0xa4, 0xae);
const QColor kGreen(0x2e, 0x9e, 0x44);
const QColor kRed(0xd3, 0x2f, 0x2f);

// All tool bar icons are drawn on a 128 unit grid and scaled to the target size.
constexpr double kGrid = 128.0;

struct PlugStyle
{
    QColor body;
    double gap; // distance between plug face and socket face
    bool sparks;
};

void drawPlugPair(QPainter &p, const PlugStyle &style)
{
    p.save();
    p.translate(kGrid / 2, kGrid / 2);
    p.rotate(-45.0);

    const double half = style.gap / 2;

    // Cables run out to the corners.
    const double body = 36;
    QPen cable(kCable, 14, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cable);
    p.drawLine(QPointF(-half - body, 0), QPointF(-92, 0));
    p.drawLine(QPointF(half + body, 0), QPointF(92, 0));

    // Prongs of the plug, partly hidden by the socket when connected.
    p.setPen(Qt::NoPen);
    p.setBrush(kMetal);
    p.drawRoundedRect(QRectF(-half - 2, -18, 22, 10), 2, 2);
    p.drawRoundedRect(QRectF(-half - 2, 8, 22, 10), 2, 2);

    const QPen outline(darker(style.body, 140), 3.5);
    p.setPen(outline);
    p.setBrush(style.body);
    // Plug body, then socket body.
    p.drawRoundedRect(QRectF(-half - body, -29, body, 58), 8, 8);
    p.drawRoundedRect(QRectF(half, -29, body, 58), 8, 8);

    // Grip ridges make the bodies read as connectors, not blocks.
    p.setPen(QPen(darker(style.body, 135), 4, Qt::SolidLine, Qt::RoundCap));
    for (double y : {-13.0, 0.0, 13.0}) {
        p.drawLine(QPointF(-half - body + 9, y), QPointF(-half - 10, y));
        p.drawLine(QPointF(half + 10, y), QPointF(half + body - 9, y));
    }

    if (style.sparks) {
        p.setPen(QPen(kRed, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-5, -36), QPointF(-10, -48));
        p.drawLine(QPointF(5, -36), QPointF(12, -47));
        p.drawLine(QPointF(-5, 36), QPointF(-12, 47));
        p.drawLine(QPointF(5, 36), QPointF(10, 48));
    }
    p.restore();
}

QImage drawScaled(int size, void (*paint)(QPainter &))
{
    QImage image = newCanvas(size, size);
    QPainter p(&image);
    setupPainter(p);
    p.scale(size / kGrid, size / kGrid);
    paint(p);
    p.end();
    return image;
}

void paintConnect(QPainter &p)
{
    drawPlugPair(p, {kGreen, 6, false});
}

void paintDisconnect(QPainter &p)
{
    drawPlugPair(p, {kRed, 34, true});
}

void paintExit(QPainter &p)
{
    const QPointF c(kGrid / 2, kGrid / 2 + 4);
    const double r = 40;
    QPen pen(kRed, 14, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // Open ring with the gap at the top; Qt angles are counter-clockwise from 3 o'clock.
    const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.drawArc(ring, qRound(125.0 * 16), qRound(290.0 * 16));
    p.drawLine(QPointF(c.x(), c.y() - r - 10), QPointF(c.x(), c.y() - 6));
}

void paintClear(QPainter &p)
{
    // A sheet with text lines...
    QPainterPath sheet;
    sheet.moveTo(22, 8);
    sheet.lineTo(78, 8);
    sheet.lineTo(100, 30);
    sheet.lineTo(100, 116);
    sheet.lineTo(22, 116);
    sheet.closeSubpath();
    p.setPen(QPen(kCable, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xfa, 0xfa, 0xfa));
    p.drawPath(sheet);
    p.setPen(QPen(kMetal, 7, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = 40 + i * 17;
        p.drawLine(QPointF(36, y), QPointF(i == 3 ? 60 : 86, y));
    }
    // ...being wiped: a red badge with a cross.
    const QPointF c(92, 92);
    p.setPen(QPen(Qt::white, 6));
    p.setBrush(kRed);
    p.drawEllipse(c, 30, 30);
    p.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-11, -11), c + QPointF(11, 11));
    p.drawLine(c + QPointF(-11, 11), c + QPointF(11, -11));
}

void paintSettings(QPainter &p)
{
    const QPointF c(kGrid / 2, kGrid / 2);
    const int teeth = 8;
    const double outer = 58, inner = 44;
    const double step = 360.0 / teeth;
    QPainterPath gear;
    for (int i = 0; i < teeth; ++i) {
        const double a = i * step;
        // Tooth flanks are slightly tapered; angles in degrees clockwise from top.
        const double pts[][2] = {{a - step * 0.30, inner},
                                 {a - step * 0.19, outer},
                                 {a + step * 0.19, outer},
                                 {a + step * 0.30, inner}};
        for (const auto &pt : pts) {
            const double rad = qDegreesToRadians(pt[0]);
            const QPointF q(c.x() + pt[1] * std::sin(rad), c.y() - pt[1] * std::cos(rad));
            if (i == 0 && &pt == &pts[0])
                gear.moveTo(q);
            else
                gear.lineTo(q);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(c, 18, 18);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x60, 0x7d, 0x8b));
    p.drawPath(gear);
}

} // namespace

QImage connectIcon(int size)
{
    return drawScaled(size, paintConnect);
}

QImage disconnectIcon(int size)
{
    return drawScaled(size, paintDisconnect);
}

QImage exitIcon(int size)
{
    return drawScaled(size, paintExit);
}

QImage clearIcon(int size)
{
    return drawScaled(size, paintClear);
}

QImage settingsIcon(int size)
{
    return drawScaled(size, paintSettings);
}

} // namespace zefa::imagegen
