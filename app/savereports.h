#pragma once

#include "params/pagesaves.h"

#include <QObject>

class QStatusBar;
class QWidget;
class WriteTurns;

// The pages' Saves in the window: each goes to the FC's writer, and what the
// FC confirmed is said in the status bar, what it did not in a warning box.
class SaveReports : public QObject
{
    Q_OBJECT

public:
    SaveReports(MavLinkBridge &bridge, WriteTurns &turns, QStatusBar &statusBar, QWidget &window);

    // what names the page or setting as the status bar and the warning say it.
    void save(const QString &what, const PageSaves::Values &values);
    void linkClosed() { saves.linkClosed(); }

private:
    void showOutcome(const SaveOutcome &outcome);
    void showNotJournalled(const QString &what, const QString &reason);

    PageSaves saves;
    QStatusBar &statusBar;
    QWidget &window;
};
