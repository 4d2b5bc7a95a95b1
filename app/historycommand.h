#pragma once

#include "params/journalformat.h"

// --history N: the journal's last N change sets, newest first, on stdout:
// per set a line "ID<TAB>TIME<TAB>SOURCE<TAB>COUNT", then one indented line
// per value, "NAME BEFORE -> AFTER" and what became of it unless confirmed.
// Lines that cannot be read are named on stderr. Needs no port. Returns the
// exit status.
int printHistory(int count);

// The change set ID of the journal, for --undo: 0 when found, else the exit
// status, the reason on stderr (1: the journal cannot be read, 2: no such
// set).
int findChangeSet(qint64 id, ChangeSet &set);
