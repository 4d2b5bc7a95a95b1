#pragma once

#include "paramfile.h"

#include <QByteArray>
#include <QString>

class QFileDevice;

// Writes content, repeating a short write for the rest, so that a full disk
// shows as the error that stopped it. The count written: less than the
// content's size when a write failed.
qint64 writeFully(QFileDevice &file, const QByteArray &content);

// Why no parameter file can be read from or saved to path: a device, pipe
// or folder there would be replaced by a regular file, or (a FIFO) block the
// program. Empty when the path names a regular file or nothing yet.
QString notRegularFileProblem(const QString &path);

// Whether two paths name one file: links and "./" followed, hard links by
// the file itself where both exist; on Windows regardless of case. A file
// not created yet is told by its folder and name.
bool isSameFile(const QString &a, const QString &b);

// A new empty file in the folder of path (a link's target's folder when
// path is a link), named after it, for replaceFile() to put in its place;
// empty, with the reason in error, when none can be created.
QString temporaryFileBeside(const QString &path, QString &error);

// Renames from over to in one step, whatever to was. False, with the
// system's reason in error, when that fails.
bool replaceFile(const QString &from, const QString &to, QString &error);

// Reads at most one byte beyond maxBytes, so a huge file is refused without
// being loaded. Only regular files are opened: a FIFO would block until
// someone writes to it, a device may never end. False with the reason when
// the file cannot be read.
bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &error);

// Reads and parses the file at path: "Cannot read PATH: why." or "Refused
// PATH: line N: why." when that fails, else empty.
QString loadParamFile(const QString &path, ParamFile &file);

// Writes through a temporary file renamed over the target at the end: a
// failure leaves no half-written file, and an earlier file stays as it was.
// Every write error fails the save, also the one that shows only when the
// data reaches the disk.
bool saveParamFile(const QString &path, const QByteArray &content, QString &error);
