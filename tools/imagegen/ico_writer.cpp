#include "ico_writer.h"

#include "paint_util.h"

#include <QDataStream>

namespace zefa::imagegen {

QByteArray icoBytes(const QList<QImage> &images)
{
    if (images.isEmpty() || images.size() > 0xffff)
        return {};

    QList<QByteArray> pngs;
    for (const QImage &image : images) {
        if (image.width() != image.height() || image.width() < 1 || image.width() > 256)
            return {};
        pngs.append(pngBytes(image));
    }

    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);

    // ICONDIR
    const auto count = static_cast<quint16>(images.size());
    stream << quint16(0) << quint16(1) << count;

    // ICONDIRENTRY per image; data follows the directory in the same order.
    quint32 offset = 6 + 16 * quint32(count);
    for (int i = 0; i < images.size(); ++i) {
        const int side = images.at(i).width();
        // A side of 256 is stored as 0.
        const auto dim = static_cast<quint8>(side == 256 ? 0 : side);
        stream << dim << dim << quint8(0) << quint8(0) // width, height, palette, reserved
               << quint16(1) << quint16(32)            // planes, bits per pixel
               << quint32(pngs.at(i).size()) << offset;
        offset += quint32(pngs.at(i).size());
    }
    for (const QByteArray &png : pngs)
        stream.writeRawData(png.constData(), png.size());
    return out;
}

} // namespace zefa::imagegen
