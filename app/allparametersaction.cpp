#include "app/allparameterswindow.h"
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "serial/fclink.h"

// The window needs the link exactly when Back Up Settings does, so it
// follows that action's state. It is built when first asked for.
void MainWindow::initAllParameters()
{
    const auto followLink = [this] {
        const bool open = ui->actionBackUpSettings->isEnabled();
        ui->actionAllParameters->setEnabled(open);
        if (allParameters)
            allParameters->setLinked(open);
    };
    connect(ui->actionBackUpSettings, &QAction::changed, this, followLink);
    followLink();
    connect(ui->actionAllParameters, &QAction::triggered, this, [this] {
        if (!allParameters) {
            allParameters = new AllParametersWindow(*bridge, link->parameters(), this);
            allParameters->setLinked(ui->actionBackUpSettings->isEnabled());
        }
        allParameters->open();
    });
}
