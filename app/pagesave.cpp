#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/laterbox.h"
#include "params/paramtype.h"
#include "serial/fclink.h"

void MainWindow::initPageSaves()
{
    pageSaves = new PageSaves(*bridge, link->parameters(), this);
    connect(pageSaves, &PageSaves::saveEnded, this, &MainWindow::showSaveOutcome);
}

// what names the page or setting as the status bar and the warning say it.
void MainWindow::saveToFc(const QString &what, const PageSaves::Values &values)
{
    if (!pageSaves->save(what, values))
        ui->statusBar->showMessage(tr("%1 not saved: no flight controller connected").arg(what));
}

namespace {
QString missText(const UnconfirmedWrite &miss)
{
    const QString sent = ParamType::valueText(miss.write.fileValue, miss.write.type);
    if (!miss.reported)
        return MainWindow::tr("%1: sent %2, no answer from the FC").arg(miss.write.name, sent);
    return MainWindow::tr("%1: sent %2, the FC reports %3")
        .arg(miss.write.name, sent, ParamType::valueText(miss.reportedValue, miss.write.type));
}
} // namespace

// The FC's echo has already put its value on the page; the box says which
// values differ from what the user saved, once the echo that ended the Save
// has been handled.
void MainWindow::showSaveOutcome(const SaveOutcome &outcome)
{
    if (outcome.unconfirmed.isEmpty()) {
        ui->statusBar->showMessage(outcome.confirmed == 1
                                       ? tr("%1 saved: confirmed by the FC").arg(outcome.what)
                                       : tr("%1 saved: %2 values confirmed by the FC")
                                             .arg(outcome.what)
                                             .arg(outcome.confirmed));
        return;
    }
    ui->statusBar->showMessage(
        tr("%1 not saved: the FC did not confirm every value").arg(outcome.what));
    QStringList lines;
    for (const UnconfirmedWrite &miss : outcome.unconfirmed)
        lines << missText(miss);
    showBoxLater(QMessageBox::warning, this, tr("Save"),
                 tr("The FC did not confirm these values of %1:").arg(outcome.what) +
                     QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')));
}
