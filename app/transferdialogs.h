#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
struct RestorePlan;

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
};
