#pragma once

#include "params/restoreplan.h"

#include <QDialog>

class QTreeWidget;

// The values in which a file differs from the FC, each with a check box:
// "Take Over" makes the checked ones changes to be written.
class CompareDialog : public QDialog
{
    Q_OBJECT

public:
    CompareDialog(const RestorePlan &plan, const QString &fileName, QWidget *parent);

    QList<PlannedWrite> chosen() const;

private:
    QList<PlannedWrite> differences;
    QTreeWidget *list;
};
