#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class ParameterTable;

// Parameter tables compared as "NAME bits type" rows sorted by name: the
// float's 32 bits in hex, the MAVLink type.
using ValueChanges = QMap<QString, float>;

// The simulated FC's table, with some values changed.
QStringList tableRows(const ParameterTable &table, const ValueChanges &changes = {});
// A parameter file as the restore reads it; empty when it does not read.
QStringList fileRows(const QString &path);

// The table as a backup file, with some values changed and lines added.
QByteArray backupOf(const ParameterTable &table, const ValueChanges &changes,
                    const QByteArray &extraLines = QByteArray());
// A new value for the first perType parameters of each type after the
// firmware version.
ValueChanges someChanges(const ParameterTable &table, int perType = 1);

void writeFile(const QString &path, const QByteArray &content);
