#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QMap>
#include <QString>

class QPainter;

namespace zefa::imagegen {

// Every picture is collected here under its path relative to the output folder.
using ImageSet = QMap<QString, QByteArray>;

// The one font family used for all text, at an explicit pixel size.
QFont uiFont(int pixelSize, bool bold = true);

// False (with a reason) when the font family is not installed, since a fallback
// font would silently change the committed pictures.
bool checkFont(QString *error);

// Transparent canvas with a fixed pixel format, `width` x `height` in the
// painter's units and `density` device pixels per unit, so one drawing code
// renders every pixel density.
QImage newCanvas(int width, int height, int density = 1);

// Fixed render hints so output does not depend on defaults.
void setupPainter(QPainter &painter);

// PNG bytes with no metadata that could vary between runs.
QByteArray pngBytes(const QImage &image);

// Same hue, lightness scaled; used for outlines and arrow strokes.
QColor darker(const QColor &color, int percent);

} // namespace zefa::imagegen
