#pragma once

#include "serial/portwatch.h"

#include <QObject>

class FcLink;
class QAction;
class QWidget;

// Connect Automatically: remembered across runs; while checked the watch
// follows the link and tells when the FC's port appears.
class AutoConnectAction : public QObject
{
    Q_OBJECT

public:
    AutoConnectAction(FcLink &link, QAction &action, QWidget &window);

    PortWatch &watch() { return portWatch; }

private slots:
    void toggled(bool checked);

private:
    PortWatch portWatch;
};
