#pragma once

#include "app/commandline.h"

// Backs up or restores the FC's settings, reads or writes parameters by
// name, prints the change journal (--history, no port needed) or undoes a
// change set of it (--undo), without a window, for installers setting up
// many FCs: the same engine as the window's, progress and the list of
// changes on stderr (the values of --get and --history on stdout), no
// question asked: a file saved from another vehicle, or a value changed
// since the set undone, is written only with --force. The port is chosen as Connect
// chooses it. Needs an application object (a QCoreApplication is enough: no
// display). Returns the exit status: 0 when everything was read, or written
// and confirmed; 1 on any failure, whose reason is on stderr. With --record,
// every frame of the run is recorded (a failed recording is a failure too).
int runTransferCommand(const CommandLine &commandLine);
