#include "app/autoconnectaction.h"

#include "serial/fclink.h"
#include "serial/portchoice.h"

#include <QAction>
#include <QWidget>

AutoConnectAction::AutoConnectAction(FcLink &link, QAction &action, QWidget &window)
    : QObject(&window)
{
    connect(&link, &FcLink::opened, &portWatch, &PortWatch::linkOpened);
    connect(&link, &FcLink::closed, &portWatch, &PortWatch::linkClosed);
    connect(&link, &FcLink::deviceLost, &portWatch, &PortWatch::portLost);
    action.setChecked(PortChoice::connectsAutomatically());
    portWatch.switchOn(action.isChecked());
    connect(&action, &QAction::toggled, this, &AutoConnectAction::toggled);
}

void AutoConnectAction::toggled(bool checked)
{
    PortChoice::setConnectsAutomatically(checked);
    portWatch.switchOn(checked);
}
