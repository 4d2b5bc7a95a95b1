#pragma once

#include <QImage>

namespace zefa::imagegen {

// Tool bar icons, flat style on a transparent background. The strokes are thick
// enough to survive scaling down to 24x24.
QImage connectIcon(int size);
QImage disconnectIcon(int size);
QImage exitIcon(int size);
QImage clearIcon(int size);
QImage settingsIcon(int size);

} // namespace zefa::imagegen
