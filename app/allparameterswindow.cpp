#include "app/allparameterswindow.h"

#include "app/comparedialog.h"
#include "app/laterbox.h"
#include "app/paramvaluedelegate.h"
#include "app/transferdialogs.h"
#include "params/parameterstore.h"
#include "params/paramfileio.h"
#include "params/paramtransfer.h"
#include "session/fcsession.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

AllParametersWindow::AllParametersWindow(FcSession &session, QWidget *parent)
    : QDialog(parent), store(session.parameters()), heartbeat(session.heartbeat()),
      reader(session.bridge(), store), turns(session.writeTurns()), writer(session.writer()),
      model(store), filtered(new QSortFilterProxyModel(this)), filter(new QLineEdit(this)),
      table(new QTableView(this)), writeButton(new QPushButton(tr("Write"), this)),
      refreshButton(new QPushButton(tr("Refresh"), this)),
      compareButton(new QPushButton(tr("Compare with File..."), this)), status(new QLabel(this))
{
    setWindowTitle(tr("All Parameters"));
    filtered->setSourceModel(&model);
    filtered->setFilterKeyColumn(ParamEditModel::NameColumn);
    filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtered->setSortRole(ParamEditModel::SortRole);
    buildLayout();
    connect(filter, &QLineEdit::textChanged, filtered,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(writeButton, &QPushButton::clicked, this, &AllParametersWindow::writeChanges);
    connect(refreshButton, &QPushButton::clicked, this, &AllParametersWindow::refresh);
    connect(compareButton, &QPushButton::clicked, this, &AllParametersWindow::chooseFileToCompare);
    connect(&reader, &ParamListReader::progress, this, &AllParametersWindow::listProgress);
    connect(&reader, &ParamListReader::finished, this, &AllParametersWindow::listRead);
    connect(&writer, &ParamWriter::progress, this, &AllParametersWindow::writeProgress);
    connect(&writer, &ParamWriter::finished, this, &AllParametersWindow::writesEnded);
    setBusy(false);
}

void AllParametersWindow::buildLayout()
{
    setObjectName(QStringLiteral("allParametersWindow"));
    filter->setObjectName(QStringLiteral("parameterFilter"));
    filter->setPlaceholderText(tr("Filter by name"));
    filter->setClearButtonEnabled(true);
    table->setObjectName(QStringLiteral("parameterTable"));
    table->setModel(filtered);
    table->setItemDelegateForColumn(ParamEditModel::ValueColumn, new ParamValueDelegate(table));
    table->setSortingEnabled(true);
    table->sortByColumn(ParamEditModel::NameColumn, Qt::AscendingOrder);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    writeButton->setObjectName(QStringLiteral("writeParametersButton"));
    refreshButton->setObjectName(QStringLiteral("refreshParametersButton"));
    compareButton->setObjectName(QStringLiteral("compareWithFileButton"));
    status->setObjectName(QStringLiteral("parameterStatus"));
    status->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    // Return commits a value being edited; it must not press Write too.
    for (QPushButton *button : {writeButton, refreshButton, compareButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(table);
    layout->addWidget(status);
    layout->addLayout(buttons);
    resize(640, 560);
}

void AllParametersWindow::open()
{
    show();
    raise();
    activateWindow();
    if (linked && (store.rowCount() == 0 || store.rowCount() < store.fcCount()))
        refresh();
}

void AllParametersWindow::setBusy(bool isBusy)
{
    for (QPushButton *button : {writeButton, refreshButton, compareButton})
        button->setEnabled(linked && !isBusy);
}

void AllParametersWindow::showStatus(const QString &text)
{
    status->setText(text);
}

void AllParametersWindow::refresh()
{
    setBusy(true);
    showStatus(ParamTransfer::progressText(ParamTransfer::Stage::ReadingList, 0, 0));
    reader.start();
}

void AllParametersWindow::listProgress(int received, int total)
{
    showStatus(ParamTransfer::progressText(ParamTransfer::Stage::ReadingList, received, total));
}

void AllParametersWindow::listRead(bool complete)
{
    setBusy(false);
    if (complete)
        showStatus(tr("Read %1 parameters.").arg(reader.total()));
    else
        showStatus(tr("%1 of %2 parameters did not arrive from the FC.")
                       .arg(reader.total() - reader.receivedCount())
                       .arg(reader.total()));
}

// Nothing goes to an armed FC; the writer also stops should it be armed
// between two writes.
void AllParametersWindow::writeChanges()
{
    const QList<PlannedWrite> writes = model.pendingWrites();
    if (writes.isEmpty()) {
        showStatus(tr("No value was changed."));
        return;
    }
    if (heartbeat.armed()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The FC is armed. Disarm it before writing parameters."));
        return;
    }
    const QString journalProblem = writer.journalProblem();
    if (!journalProblem.isEmpty())
        QMessageBox::warning(this, windowTitle(),
                             journalProblem + QStringLiteral("\n\n") +
                                 tr("The values are written all the same; History cannot undo "
                                    "them."));
    setBusy(true);
    showStatus(ParamTransfer::progressText(ParamTransfer::Stage::Writing, 0, writes.size()));
    turns.request(this, [this, writes] {
        writer.start(writes, tr("All Parameters"), ParamWriter::Pace::OneAtATime,
                     snapshotOf(store));
    });
}

void AllParametersWindow::writeProgress(int done, int total)
{
    if (!turns.holds(this))
        return;
    showStatus(ParamTransfer::progressText(ParamTransfer::Stage::Writing, done, total));
}

void AllParametersWindow::writesEnded(ParamWriter::Ending ending)
{
    if (!turns.holds(this))
        return;
    setBusy(false);
    model.markWritten(writer.confirmedNames(), writer.unconfirmedWrites());
    showStatus(writer.summary());
    turns.release(this);
    if (ending == ParamWriter::Ending::Armed)
        showBoxLater(QMessageBox::warning, this, windowTitle(),
                     tr("The FC was armed; writing stopped."));
    else if (ending == ParamWriter::Ending::NoHeartbeat)
        showBoxLater(QMessageBox::warning, this, windowTitle(),
                     tr("No heartbeat from the FC; writing stopped."));
}

void AllParametersWindow::chooseFileToCompare()
{
    const QString path = chooseParamFileToOpen(this, tr("Compare with File"));
    if (!path.isEmpty())
        compareWithFile(path);
}

void AllParametersWindow::compareWithFile(const QString &path)
{
    ParamFile file;
    RestorePlan plan;
    QString problem = loadParamFile(path, file);
    if (problem.isEmpty()) {
        const ParamFileError refused = planRestore(file.entries, model.fcParameters(), plan);
        if (refused.isError())
            problem = tr("Refused %1: %2.").arg(QDir::toNativeSeparators(path), refused.text());
    }
    if (!problem.isEmpty()) {
        QMessageBox::critical(this, tr("Compare with File"), problem);
        return;
    }
    CompareDialog dialog(plan, QFileInfo(path).fileName(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QList<PlannedWrite> chosen = dialog.chosen();
    model.takeOver(chosen);
    showStatus(tr("Taken over from the file: %1. Write sends them to the FC.").arg(chosen.size()));
}

void AllParametersWindow::setLinked(bool open)
{
    linked = open;
    if (!open) {
        reader.stop();
        turns.release(this);
    }
    setBusy(false);
}
