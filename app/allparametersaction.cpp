#include "app/allparametersaction.h"

#include "app/allparameterswindow.h"

#include <QAction>

AllParametersAction::AllParametersAction(FcSession &session, QAction &action, QWidget &window)
    : QObject(&window), session(session), action(action), window(window)
{
    connect(&action, &QAction::triggered, this, &AllParametersAction::openWindow);
    followLink(false);
}

void AllParametersAction::followLink(bool open)
{
    linked = open;
    action.setEnabled(open);
    if (parametersWindow)
        parametersWindow->setLinked(open);
}

void AllParametersAction::openWindow()
{
    if (!parametersWindow) {
        parametersWindow = new AllParametersWindow(session, &window);
        parametersWindow->setLinked(linked);
    }
    parametersWindow->open();
}
