#pragma once

#include "params/restoreplan.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QTreeWidget;

// Where the files the program offers to save go by default: the user's
// Documents folder, where every platform keeps a user's files, or the home
// folder on a system that has none.
QString pathInDocuments(const QString &fileName);

// Asks for a parameter file to read; empty when the user cancels.
QString chooseParamFileToOpen(QWidget *parent, const QString &title);

// Shown while settings travel to or from the FC; Cancel (or Esc) rejects
// it. Window-modal and opened without a nested event loop, so the FC's
// answers keep arriving.
class TransferProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TransferProgressDialog(QWidget *parent);

    // total 0: not known yet, the bar just shows activity.
    void showProgress(const QString &text, int done, int total);

private:
    QLabel *text;
    QProgressBar *bar;
};

// The values a restore would write, with Write and Cancel.
class ChangeListDialog : public QDialog
{
    Q_OBJECT

public:
    ChangeListDialog(const RestorePlan &plan, QWidget *parent);

    // One row per write: the name, the value on the FC, the one in the file.
    static QTreeWidget *writesList(const QList<PlannedWrite> &writes, QWidget *parent);
};
