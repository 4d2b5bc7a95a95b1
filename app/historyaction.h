#pragma once

#include <QObject>
#include <QPointer>

class FcSession;
class HistoryDialog;
class QAction;
class QWidget;

// History... in the window: enabled always, as the journal needs no link;
// the dialog's Undo follows the link.
class HistoryAction : public QObject
{
    Q_OBJECT

public:
    HistoryAction(FcSession &session, QAction &action, QWidget &window);

    void followLink(bool open);

private:
    void openDialog();

    FcSession &session;
    QWidget &window;
    QPointer<HistoryDialog> dialog;
    bool linked = false;
};
