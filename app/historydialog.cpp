#include "app/historydialog.h"

#include "params/paramtype.h"
#include "session/fcsession.h"

#include <QAbstractTableModel>
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

void setUpTable(QTableView *table, const char *name)
{
    table->setObjectName(QLatin1String(name));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
}

} // namespace

// The journal's sets newest first, read where they are: a journal of
// 10,000 sets opens without an item for each cell.
class ChangeSetList : public QAbstractTableModel
{
public:
    explicit ChangeSetList(QObject *parent) : QAbstractTableModel(parent) {}

    const JournalContents &contents() const { return journal; }
    const ChangeSet &setAt(int row) const { return journal.sets.at(rowCount() - 1 - row); }
    void show(JournalContents read)
    {
        beginResetModel();
        journal = std::move(read);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(journal.sets.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(headers().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? text(setAt(index.row()), index.column()) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return QVariant();
        return headers().value(section);
    }

private:
    static QStringList headers()
    {
        return {HistoryDialog::tr("Id"), HistoryDialog::tr("Time"), HistoryDialog::tr("Source"),
                HistoryDialog::tr("Values")};
    }

    static QString text(const ChangeSet &set, int column)
    {
        switch (column) {
        case 0:
            return QString::number(set.id);
        case 1:
            return QLocale().toString(set.time.toLocalTime(), QLocale::ShortFormat);
        case 2:
            return set.source;
        default:
            break;
        }
        const int missed = set.notConfirmedCount();
        return missed == 0
                   ? QString::number(set.changes.size())
                   : HistoryDialog::tr("%1 (%2 not confirmed)").arg(set.changes.size()).arg(missed);
    }

    JournalContents journal;
};

HistoryDialog::HistoryDialog(FcSession &session, QWidget *parent)
    : QDialog(parent), journalPath(session.journal().path()),
      undo(session.bridge(), session.parameters(), session.heartbeat(), session.writeTurns()),
      list(new ChangeSetList(this)), sets(new QTableView(this)), changes(new QTableWidget(this)),
      undoButton(new QPushButton(tr("Undo"), this)), status(new QLabel(this))
{
    setWindowTitle(tr("History"));
    buildLayout();
    sets->setModel(list);
    connect(sets->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryDialog::showSelectedSet);
    connect(undoButton, &QPushButton::clicked, this, &HistoryDialog::undoSelectedSet);
    connect(&undo, &ChangeUndo::changedSinceFound, this, &HistoryDialog::askAboutChangedSince);
    connect(&undo, &ChangeUndo::finished, this, &HistoryDialog::showUndoReport);
    loadJournal();
}

void HistoryDialog::buildLayout()
{
    setObjectName(QStringLiteral("historyDialog"));
    setUpTable(sets, "historySets");
    setUpTable(changes, "historyChanges");
    changes->setColumnCount(4);
    changes->setHorizontalHeaderLabels({tr("Parameter"), tr("Before"), tr("After"), tr("Outcome")});
    sets->setColumnWidth(1, fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")));
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
    list->show(readJournal(journalPath, error));
    const int count = list->rowCount();
    if (!error.isEmpty())
        status->setText(tr("Cannot read the change journal %1: %2.")
                            .arg(QDir::toNativeSeparators(journalPath), error));
    else if (count == 0)
        status->setText(tr("No change has been written to an FC yet."));
    else
        status->setText(list->contents().skippedNote(journalPath));
    if (count > 0)
        sets->selectRow(0);
    showSelectedSet();
}

const ChangeSet *HistoryDialog::selectedSet() const
{
    const QModelIndexList chosen = sets->selectionModel()->selectedRows();
    return chosen.isEmpty() ? nullptr : &list->setAt(chosen.constFirst().row());
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
