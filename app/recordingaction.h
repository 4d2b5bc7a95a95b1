#pragma once

#include "serial/sessionrecorder.h"

#include <QObject>

class FcLink;
class QAction;
class QStatusBar;
class QWidget;

// Record Session... in the window: asks for the file, records the link's
// frames to it and says in the status bar what was recorded; a failed write
// also gets a warning box.
class RecordingAction : public QObject
{
    Q_OBJECT

public:
    RecordingAction(FcLink &link, QAction &action, QStatusBar &statusBar, QWidget &window);

    void start(const QString &path);

private slots:
    void toggled(bool checked);
    void showStopped(const RecordingSummary &summary);

private:
    void showRecording(bool on);

    QAction &action;
    QStatusBar &statusBar;
    QWidget &window;
    SessionRecorder recorder;
};
