#pragma once

#include "params/paramtransfer.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

class FcSession;
class QAction;
class QWidget;
class TransferProgressDialog;

// Back Up Settings... and Restore Settings... in the window: the file
// dialogs, the progress, the restore's questions and list of changes, and
// the report at the end. The run itself is the engine's ParamTransfer.
class TransferActions : public QObject
{
    Q_OBJECT

public:
    TransferActions(FcSession &session, QAction &backUp, QAction &restore, QWidget &window);

    // A backup or restore still running loses its line.
    void linkClosed() { transfer.linkClosed(); }

public slots:
    void backUpSettings();
    void restoreSettings();

private slots:
    void showProgress(ParamTransfer::Stage stage, int done, int total);
    void confirmRestore(RestorePlan plan);
    void showReport(TransferReport report);

private:
    void openProgress(const QString &title);
    bool confirmOtherVehicle(const RestorePlan &plan);

    QWidget &window;
    ParamTransfer transfer;
    TransferProgressDialog *progress;
    QPointer<QDialog> changeList; // while a restore waits for the user's Write
};
