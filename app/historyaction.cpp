#include "app/historyaction.h"

#include "app/historydialog.h"

#include <QAction>

HistoryAction::HistoryAction(FcSession &session, QAction &action, QWidget &window)
    : QObject(&window), session(session), window(window)
{
    connect(&action, &QAction::triggered, this, &HistoryAction::openDialog);
}

void HistoryAction::followLink(bool open)
{
    linked = open;
    if (dialog)
        dialog->setLinked(open);
}

void HistoryAction::openDialog()
{
    HistoryDialog history(session, &window);
    dialog = &history;
    history.setLinked(linked);
    history.exec();
}
