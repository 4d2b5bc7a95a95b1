#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zefa::imagegen {

// Windows ICO container holding one PNG-compressed entry per image.
// Images must be square, 1..256 pixels; returns an empty array otherwise.
QByteArray icoBytes(const QList<QImage> &images);

} // namespace zefa::imagegen
