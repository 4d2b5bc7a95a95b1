#include "app_icon.h"

#include "paint_util.h"

#include <QPainter>

namespace zefa::imagegen {

namespace {

const QColor kTile(0x1e, 0x3a, 0x5f);
const QColor kArm(0xb0, 0xbe, 0xc5);
const QColor kProp(0xbb, 0xde, 0xfb);
const QColor kFrontProp(0xff, 0xe0, 0xb2);
const QColor kHub(0x37, 0x47, 0x4f);
const QColor kBody(0xf5, 0x7c, 0x00);

} // namespace

QImage appIcon(int size)
{
    QImage image = newCanvas(size, size);
    QPainter p(&image);
    setupPainter(p);

    const double s = size;
    const bool small = size <= 32;

    // Background tile.
    const double margin = small ? 0.0 : s * 0.03;
    const QRectF tile(margin, margin, s - 2 * margin, s - 2 * margin);
    p.setPen(Qt::NoPen);
    p.setBrush(kTile);
    p.drawRoundedRect(tile, s * 0.18, s * 0.18);

    const QPointF c(s / 2, s / 2);
    const double reach = s * (small ? 0.31 : 0.27);
    const double propR = s * (small ? 0.16 : 0.175);
    const QPointF offsets[] = {{reach, -reach}, {-reach, -reach}, {-reach, reach}, {reach, reach}};

    // Rotor discs first; the front pair is tinted so the icon has a heading.
    for (int i = 0; i < 4; ++i) {
        const QColor ring = i < 2 ? kFrontProp : kProp;
        QColor fill = ring;
        fill.setAlpha(small ? 255 : 70);
        p.setPen(small ? QPen(Qt::NoPen) : QPen(ring, qMax(1.0, s * 0.022)));
        p.setBrush(fill);
        p.drawEllipse(c + offsets[i], propR, propR);
    }

    // Arms in an X, over the discs as seen from above.
    if (!small) {
        p.setPen(QPen(kArm, s * 0.06, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + offsets[0], c + offsets[2]);
        p.drawLine(c + offsets[1], c + offsets[3]);
        for (int i = 0; i < 4; ++i) {
            // Two-blade propeller across each hub.
            const QColor blade = i < 2 ? kFrontProp : kProp;
            p.save();
            p.translate(c + offsets[i]);
            p.rotate(i % 2 == 0 ? 20 : -20);
            p.setPen(Qt::NoPen);
            p.setBrush(blade);
            p.drawRoundedRect(QRectF(-propR * 0.85, -s * 0.018, propR * 1.7, s * 0.036), s * 0.018,
                              s * 0.018);
            p.restore();
            p.setBrush(kHub);
            p.drawEllipse(c + offsets[i], s * 0.038, s * 0.038);
        }
    }

    // Body with the series name.
    const double bw = s * (small ? 0.66 : 0.44);
    const double bh = s * (small ? 0.52 : 0.34);
    const QRectF body(c.x() - bw / 2, c.y() - bh / 2, bw, bh);
    p.setPen(small ? Qt::NoPen : QPen(QColor(0xbf, 0x36, 0x0c), qMax(1.0, s * 0.012)));
    p.setBrush(kBody);
    p.drawRoundedRect(body, bh * 0.25, bh * 0.25);

    p.setFont(uiFont(qMax(8, qRound(bh * (small ? 0.95 : 0.78)))));
    p.setPen(Qt::white);
    p.drawText(body, Qt::AlignCenter, QStringLiteral("R7"));
    p.end();
    return image;
}

} // namespace zefa::imagegen
