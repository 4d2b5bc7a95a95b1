#include "transferdialogs.h"

#include "params/paramtype.h"
#include "params/restoreplan.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kProgressWidth = 360;
constexpr int kChangeListWidth = 520;
constexpr int kChangeListHeight = 420;
} // namespace

TransferProgressDialog::TransferProgressDialog(QWidget *parent)
    : QDialog(parent), text(new QLabel(this)), bar(new QProgressBar(this))
{
    setWindowModality(Qt::WindowModal);
    text->setObjectName(QStringLiteral("transferProgressText"));
    text->setMinimumWidth(kProgressWidth);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(bar);
    layout->addWidget(buttons);
}

void TransferProgressDialog::showProgress(const QString &label, int done, int total)
{
    text->setText(label);
    bar->setRange(0, total);
    bar->setValue(done);
}

ChangeListDialog::ChangeListDialog(const RestorePlan &plan, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Restore Settings"));
    auto *question = new QLabel(tr("Write these values to the FC?"), this);
    auto *summary = new QLabel(this);
    auto *changes = new QTreeWidget(this);
    summary->setObjectName(QStringLiteral("changeSummary"));
    summary->setWordWrap(true);
    summary->setText(plan.summary());
    changes->setObjectName(QStringLiteral("changeList"));
    changes->setRootIsDecorated(false);
    changes->setHeaderLabels({tr("Parameter"), tr("On the FC"), tr("In the file")});
    for (const PlannedWrite &write : plan.writes) {
        changes->addTopLevelItem(
            new QTreeWidgetItem({write.name, ParamType::valueText(write.fcValue, write.type),
                                 ParamType::valueText(write.fileValue, write.type)}));
    }
    changes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Write"), QDialogButtonBox::AcceptRole)->setObjectName("writeButton");
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addWidget(changes);
    layout->addWidget(summary);
    layout->addWidget(buttons);
    resize(kChangeListWidth, kChangeListHeight);
}
