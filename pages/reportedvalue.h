#pragma once

#include <QVariant>

// Whole numbers from the values the FC reports, defined for every float it
// can send: beyond int's range they saturate, where converting directly is
// undefined (and so is QVariant::toInt() on such a float).
int roundedInt(const QVariant &value); // QVariant::toInt() rounding
int truncatedInt(float value);
