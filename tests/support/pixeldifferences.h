#pragma once

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>

// How two pictures of the window differ: the pixels in which a colour
// channel differs by more than the tolerance, and the largest difference.
// Empty when they match. Header only, for the Windows check programs too.
inline QString pixelDifferences(const QImage &a, const QImage &b, int tolerance = 0)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    int worst = 0;
    int pixels = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            worst = std::max(worst, d);
            pixels += d > tolerance ? 1 : 0;
        }
    }
    return pixels == 0 ? QString()
                       : QStringLiteral("%1 pixels differ, by up to %2").arg(pixels).arg(worst);
}
