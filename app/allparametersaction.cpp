#include "app/allparameterswindow.h"
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "serial/fclink.h"

// The window needs the link exactly when Back Up Settings does, so it
// follows that action's state.
void MainWindow::initAllParameters()
{
    allParameters = new AllParametersWindow(*bridge, link->parameters(), this);
    const auto followLink = [this] {
        const bool open = ui->actionBackUpSettings->isEnabled();
        ui->actionAllParameters->setEnabled(open);
        allParameters->setLinked(open);
    };
    connect(ui->actionBackUpSettings, &QAction::changed, this, followLink);
    followLink();
    connect(ui->actionAllParameters, &QAction::triggered, allParameters,
            &AllParametersWindow::open);
}
