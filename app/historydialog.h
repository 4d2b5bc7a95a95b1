#pragma once

#include "params/changeundo.h"
#include "params/journalformat.h"

#include <QDialog>

class FcSession;
class QLabel;
class QPushButton;
class ChangeSetList;
class QTableView;
class QTableWidget;

// The change journal, newest change set first (time, source, how many
// values, those not confirmed), and the selected set's values before and
// after. Undo writes the set's values before back through the confirmed
// writer, a compare-and-swap (ChangeUndo); values changed since are written
// only when the user says so. Undo needs the link; the journal does not.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    HistoryDialog(FcSession &session, QWidget *parent);

    // Without a link the journal is shown, and an undo under way ends.
    void setLinked(bool open);

private slots:
    void showSelectedSet();
    void undoSelectedSet();
    void askAboutChangedSince(const QStringList &changes);
    void showUndoReport(const UndoReport &report);

private:
    void buildLayout();
    void loadJournal();
    const ChangeSet *selectedSet() const;
    void enableUndo();

    QString journalPath;
    ChangeUndo undo;
    bool linked = false;
    ChangeSetList *list;
    QTableView *sets;
    QTableWidget *changes;
    QPushButton *undoButton;
    QLabel *status;
};
