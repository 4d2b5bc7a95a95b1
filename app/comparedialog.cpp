#include "app/comparedialog.h"

#include "params/paramtype.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CompareDialog::CompareDialog(const RestorePlan &plan, const QString &fileName, QWidget *parent)
    : QDialog(parent), differences(plan.writes), list(new QTreeWidget(this))
{
    setWindowTitle(tr("Compare with File"));
    auto *intro = new QLabel(
        tr("Where %1 differs from the FC; take over the checked values?").arg(fileName), this);
    intro->setWordWrap(true);
    list->setObjectName(QStringLiteral("compareList"));
    list->setHeaderLabels({tr("Parameter"), tr("On the FC"), tr("In the file")});
    list->setRootIsDecorated(false);
    for (const PlannedWrite &write : differences) {
        auto *item =
            new QTreeWidgetItem(list, {write.name, ParamType::valueText(write.fcValue, write.type),
                                       ParamType::valueText(write.fileValue, write.type)});
        item->setCheckState(0, Qt::Checked);
    }
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
