#pragma once

#include "paramfile.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <cstdint>

struct PlannedWrite
{
    QString name;
    float fcValue = 0.0f;
    float fileValue = 0.0f;
    std::uint8_t type = 0; // the FC's own type for the parameter
};

// What a restore would change on the FC, sorted by name.
struct RestorePlan
{
    Q_DECLARE_TR_FUNCTIONS(RestorePlan)

public:
    QList<PlannedWrite> writes;
    int alreadyEqual = 0;
    // In the file but not on the FC: skipped.
    QStringList unknownNames;
    // Differ, but the FC's firmware version is never written.
    QStringList readOnlyNames;
    // The FC's system id and the first other one the file names: a file
    // saved from another vehicle is written only when the user says so.
    int fcSystemId = -1;
    int otherSystemId = -1;

    bool isForAnotherVehicle() const { return otherSystemId >= 0; }
    QString otherVehicleText() const;

    // One paragraph for both front ends: how many change, how many are
    // equal, what is skipped.
    QString summary() const;
    // Not one name of the file is on the FC: most likely a file for another
    // aircraft or firmware.
    bool matchesNothing() const
    {
        return writes.isEmpty() && alreadyEqual == 0 && readOnlyNames.isEmpty();
    }
    // "NAME: value on the FC -> value in the file"
    static QString changeText(const PlannedWrite &write);
};

// Compares the file with the FC's parameters by name. A value for an
// integer-typed FC parameter must be whole and in the type's range, and a
// name the FC has may be repeated only with the same value; the first line
// that breaks either refuses the whole file. Repeats of names the FC does
// not have are skipped with them.
ParamFileError planRestore(const QList<ParamFileEntry> &file,
                           const QHash<QString, ParameterReport> &fc, RestorePlan &plan);

Q_DECLARE_METATYPE(RestorePlan)
