#pragma once

#include <QString>

class QWidget;

// Other Port...: asks for the name of a port the system may not list (a
// pseudo-terminal, an rfcomm device, a COM port), starting from current.
// The name without surrounding blanks; empty when cancelled.
QString askForPortName(QWidget *parent, const QString &current);
