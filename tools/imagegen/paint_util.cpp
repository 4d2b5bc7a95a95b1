#include "paint_util.h"

#include <QBuffer>
#include <QFontInfo>
#include <QImageWriter>
#include <QPainter>

namespace zefa::imagegen {

static const char kFamily[] = "DejaVu Sans";

QFont uiFont(int pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(kFamily));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

bool checkFont(QString *error)
{
    const QFontInfo info(uiFont(12));
    if (info.family() != QLatin1String(kFamily)) {
        if (error)
            *error = QStringLiteral("font \"%1\" not found (got \"%2\"); "
                                    "install fonts-dejavu-core")
                         .arg(QLatin1String(kFamily), info.family());
        return false;
    }
    return true;
}

QImage newCanvas(int width, int height, int density)
{
    QImage image(width * density, height * density, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(density);
    image.fill(Qt::transparent);
    // Fixed resolution so the pHYs chunk is the same everywhere.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

void setupPainter(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image.convertToFormat(QImage::Format_ARGB32));
    return bytes;
}

QColor darker(const QColor &color, int percent)
{
    return color.darker(percent);
}

} // namespace zefa::imagegen
