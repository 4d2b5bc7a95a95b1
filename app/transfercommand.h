#pragma once

#include <QString>

enum class TransferMode
{
    Backup,
    Restore,
};

// Backs up or restores the FC's settings without a window, for installers
// setting up many FCs: the same engine as the window's, progress and the
// list of changes on stderr, no question asked. The port is chosen as
// Connect chooses it. Needs an application object (a QCoreApplication is
// enough: no display). Returns the exit status: 0 when everything was read,
// or written and confirmed; 1 on any failure, whose reason is on stderr.
// With a recordFile, every frame of the run is recorded there (a failed
// recording is a failure too).
int runTransferCommand(TransferMode mode, const QString &file, const QString &recordFile = {});
