#pragma once

class QFileDevice;

// Flushes Qt's buffer and asks the system to put the file's data on the
// disk (fsync, FlushFileBuffers): false when either fails.
bool syncToDisk(QFileDevice &file);
