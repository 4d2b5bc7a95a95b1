#include "app/savereports.h"

#include "app/laterbox.h"
#include "app/mainwindow.h"
#include "params/paramtype.h"

#include <QStatusBar>

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

SaveReports::SaveReports(MavLinkBridge &bridge, WriteTurns &turns, QStatusBar &statusBar,
                         QWidget &window)
    : QObject(&window), saves(bridge, turns), statusBar(statusBar), window(window)
{
    connect(&saves, &PageSaves::saveEnded, this, &SaveReports::showOutcome);
    connect(&saves, &PageSaves::saveNotJournalled, this, &SaveReports::showNotJournalled);
}

void SaveReports::save(const QString &what, const PageSaves::Values &values)
{
    if (!saves.save(what, values))
        statusBar.showMessage(
            MainWindow::tr("%1 not saved: no flight controller connected").arg(what));
}

void SaveReports::showNotJournalled(const QString &what, const QString &reason)
{
    showBoxLater(QMessageBox::warning, &window, MainWindow::tr("Save"),
                 MainWindow::tr("%1 is written to the FC, but History cannot undo it: no "
                                "record of it can be kept.")
                         .arg(what) +
                     QStringLiteral("\n\n") + reason);
}

// The FC's echo has already put its value on the page; the box says which
// values differ from what the user saved.
void SaveReports::showOutcome(const SaveOutcome &outcome)
{
    if (outcome.unconfirmed.isEmpty()) {
        statusBar.showMessage(
            outcome.confirmed == 1
                ? MainWindow::tr("%1 saved: confirmed by the FC").arg(outcome.what)
                : MainWindow::tr("%1 saved: %2 values confirmed by the FC")
                      .arg(outcome.what)
                      .arg(outcome.confirmed));
        return;
    }
    statusBar.showMessage(
        MainWindow::tr("%1 not saved: the FC did not confirm every value").arg(outcome.what));
    QStringList lines;
    for (const UnconfirmedWrite &miss : outcome.unconfirmed)
        lines << missText(miss);
    showBoxLater(QMessageBox::warning, &window, MainWindow::tr("Save"),
                 MainWindow::tr("The FC did not confirm these values of %1:").arg(outcome.what) +
                     QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')));
}
