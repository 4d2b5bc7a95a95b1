#pragma once

#include <QString>

// The informative text of the box after a failed Connect: which port could
// not be opened and why, or, when no port of the FC was found, the ports
// there are and where to choose one.
QString openFailureDetails(const QString &portError);
