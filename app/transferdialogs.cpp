#include "transferdialogs.h"

#include "params/paramtype.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kProgressWidth = 360;
constexpr int kChangeListWidth = 520;
constexpr int kChangeListHeight = 420;
} // namespace

QString pathInDocuments(const QString &fileName)
{
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists())
        folder = QDir::home();
    return folder.filePath(fileName);
}

QString chooseParamFileToOpen(QWidget *parent, const QString &title)
{
    return QFileDialog::getOpenFileName(
        parent, title, QDir::homePath(),
        QCoreApplication::translate("ParamFileDialog",
                                    "Parameter files (*.params *.param *.parm);;All files (*)"));
}

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
    QTreeWidget *changes = writesList(plan.writes, this);
    summary->setObjectName(QStringLiteral("changeSummary"));
    summary->setWordWrap(true);
    summary->setText(plan.summary());
    changes->setObjectName(QStringLiteral("changeList"));
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

QTreeWidget *ChangeListDialog::writesList(const QList<PlannedWrite> &writes, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({tr("Parameter"), tr("On the FC"), tr("In the file")});
    for (const PlannedWrite &write : writes) {
        list->addTopLevelItem(
            new QTreeWidgetItem({write.name, ParamType::valueText(write.fcValue, write.type),
                                 ParamType::valueText(write.fileValue, write.type)}));
    }
    return list;
}
