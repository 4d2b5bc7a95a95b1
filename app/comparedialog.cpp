#include "app/comparedialog.h"

#include "app/transferdialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CompareDialog::CompareDialog(const RestorePlan &plan, const QString &fileName, QWidget *parent)
    : QDialog(parent), differences(plan.writes),
      list(ChangeListDialog::writesList(differences, this))
{
    setWindowTitle(tr("Compare with File"));
    auto *intro = new QLabel(
        tr("Where %1 differs from the FC; take over the checked values?").arg(fileName), this);
    intro->setWordWrap(true);
    list->setObjectName(QStringLiteral("compareList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, Qt::Checked);
    auto *summary = new QLabel(plan.summary(), this);
    summary->setObjectName(QStringLiteral("compareSummary"));
    summary->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *takeOver = buttons->addButton(tr("Take Over"), QDialogButtonBox::AcceptRole);
    takeOver->setObjectName(QStringLiteral("takeOverButton"));
    takeOver->setEnabled(!differences.isEmpty());
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(list);
    layout->addWidget(summary);
    layout->addWidget(buttons);
}

QList<PlannedWrite> CompareDialog::chosen() const
{
    QList<PlannedWrite> checked;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
            checked << differences.at(i);
    }
    return checked;
}
