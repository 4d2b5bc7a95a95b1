#pragma once

#include <QObject>

class AllParametersWindow;
class FcSession;
class QAction;
class QWidget;

// All Parameters... in the window: enabled while the link is open, the
// window built when first asked for.
class AllParametersAction : public QObject
{
    Q_OBJECT

public:
    AllParametersAction(FcSession &session, QAction &action, QWidget &window);

    void followLink(bool open);

private:
    void openWindow();

    FcSession &session;
    QAction &action;
    QWidget &window;
    AllParametersWindow *parametersWindow = nullptr;
    bool linked = false;
};
