#include "app/historydialog.h"

#include "params/paramtype.h"
#include "session/fcsession.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

void setUpTable(QTableWidget *table, const char *name, const QStringList &headers)
{
    table->setObjectName(QLatin1String(name));
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
}

} // namespace

HistoryDialog::HistoryDialog(FcSession &session, QWidget *parent)
    : QDialog(parent), journalPath(session.journal().path()),
      undo(session.bridge(), session.parameters(), session.heartbeat(), session.writeTurns()),
      sets(new QTableWidget(this)), changes(new QTableWidget(this)),
      undoButton(new QPushButton(tr("Undo"), this)), status(new QLabel(this))
{
    setWindowTitle(tr("History"));
    buildLayout();
    connect(sets, &QTableWidget::itemSelectionChanged, this, &HistoryDialog::showSelectedSet);
    connect(undoButton, &QPushButton::clicked, this, &HistoryDialog::undoSelectedSet);
    connect(&undo, &ChangeUndo::changedSinceFound, this, &HistoryDialog::askAboutChangedSince);
    connect(&undo, &ChangeUndo::finished, this, &HistoryDialog::showUndoReport);
    loadJournal();
}

void HistoryDialog::buildLayout()
{
    setObjectName(QStringLiteral("historyDialog"));
    setUpTable(sets, "historySets", {tr("Id"), tr("Time"), tr("Source"), tr("Values")});
    setUpTable(changes, "historyChanges",
               {tr("Parameter"), tr("Before"), tr("After"), tr("Outcome")});
    undoButton->setObjectName(QStringLiteral("undoButton"));
    status->setObjectName(QStringLiteral("historyStatus"));
    status->setWordWrap(true);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(undoButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sets, 3);
    layout->addWidget(changes, 2);
    layout->addWidget(status);
    layout->addLayout(buttons);
    resize(720, 600);
}

// Newest first; the newest selected.
void HistoryDialog::loadJournal()
{
    QString error;
    journal = readJournal(journalPath, error);
    const int count = int(journal.sets.size());
    sets->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const ChangeSet &set = journal.sets.at(count - 1 - i);
        const int missed = set.notConfirmedCount();
        sets->setItem(i, 0, cell(QString::number(set.id)));
        sets->setItem(i, 1, cell(QLocale().toString(set.time.toLocalTime(), QLocale::ShortFormat)));
        sets->setItem(i, 2, cell(set.source));
        sets->setItem(i, 3,
                      cell(missed == 0
                               ? QString::number(set.changes.size())
                               : tr("%1 (%2 not confirmed)").arg(set.changes.size()).arg(missed)));
    }
    sets->resizeColumnsToContents();
    if (!error.isEmpty())
        status->setText(tr("Cannot read the change journal %1: %2.")
                            .arg(QDir::toNativeSeparators(journalPath), error));
    else if (count == 0)
        status->setText(tr("No change has been written to an FC yet."));
    else
        status->setText(journal.skippedNote(journalPath));
    if (count > 0)
        sets->selectRow(0);
    showSelectedSet();
}

const ChangeSet *HistoryDialog::selectedSet() const
{
    const QList<QTableWidgetItem *> chosen = sets->selectedItems();
    if (chosen.isEmpty())
        return nullptr;
    return &journal.sets.at(journal.sets.size() - 1 - chosen.constFirst()->row());
}

void HistoryDialog::showSelectedSet()
{
    const ChangeSet *set = selectedSet();
    changes->setRowCount(set ? int(set->changes.size()) : 0);
    for (int row = 0; set && row < set->changes.size(); ++row) {
        const JournalChange &change = set->changes.at(row);
        const QString outcome = ChangeSet::outcomeText(change);
        changes->setItem(row, 0, cell(change.name));
        changes->setItem(row, 1, cell(set->beforeText(change)));
        changes->setItem(row, 2, cell(ParamType::valueText(change.after, change.type)));
        changes->setItem(row, 3, cell(outcome.isEmpty() ? tr("confirmed") : outcome));
    }
    enableUndo();
}

void HistoryDialog::enableUndo()
{
    undoButton->setEnabled(linked && selectedSet() && !undo.isRunning());
}

void HistoryDialog::undoSelectedSet()
{
    const ChangeSet *set = selectedSet();
    if (!set)
        return;
    status->setText(tr("Reading the FC's values of change set %1...").arg(set->id));
    undo.start(*set);
    enableUndo();
}

void HistoryDialog::askAboutChangedSince(const QStringList &changedSince)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Undo"),
        tr("These values were changed since the change set:") + QStringLiteral("\n\n") +
            changedSince.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
            tr("Write the values before over them too? No leaves them as they are."));
    undo.proceed(answer == QMessageBox::Yes);
}

// The undo is a change set of its own: the list shows it at the top.
void HistoryDialog::showUndoReport(const UndoReport &report)
{
    loadJournal();
    status->setText(report.message);
    if (report.succeeded)
        QMessageBox::information(this, tr("Undo"), report.message);
    else
        QMessageBox::warning(this, tr("Undo"), report.message);
}

void HistoryDialog::setLinked(bool open)
{
    linked = open;
    if (!open)
        undo.linkClosed();
    enableUndo();
}
