#pragma once

#include <QByteArray>
#include <QString>

// Reads at most one byte beyond the largest file accepted, so a huge file is
// refused without being loaded. False with the system's reason when the file
// cannot be read.
bool readParamFileBytes(const QString &path, QByteArray &bytes, QString &error);

// Writes through a temporary file renamed over the target at the end: a
// failure leaves no half-written file, and an earlier file stays as it was.
bool saveParamFile(const QString &path, const QByteArray &content, QString &error);
