#pragma once

#include <QString>

// What the user chose in the window about the FC's port, kept in an INI file
// in the user's configuration folder on every platform (~/.config on Linux,
// %APPDATA% on Windows), so it lasts across runs.
namespace PortChoice {

// The port the user named; empty for Automatic, the search.
QString namedPort();
void setNamedPort(const QString &portName);

// Whether the window connects by itself when the FC's port appears; off
// unless the user turned it on.
bool connectsAutomatically();
void setConnectsAutomatically(bool on);

} // namespace PortChoice
