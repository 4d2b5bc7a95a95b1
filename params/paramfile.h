#pragma once

#include "mavlink/mavlinkbridge.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// One parameter line of a backup file.
struct ParamFileEntry
{
    QString name;
    float value = 0.0f;
    // The number exactly as written, for the whole-number and range checks.
    double number = 0.0;
    // The MAVLink type from a tab-separated line; 0 when the line has none.
    int type = 0;
    // The system id of a five-column line; -1 when the line has none.
    int systemId = -1;
    int line = 0;
};

struct ParamFileError
{
    int line = 0; // 0: the file as a whole
    QString reason;

    bool isError() const { return !reason.isEmpty(); }
    // "line 7: value is not a number", or the reason alone.
    QString text() const;
};

struct ParamFile
{
    Q_DECLARE_TR_FUNCTIONS(ParamFile)

public:
    QList<ParamFileEntry> entries;
    ParamFileError error;
};

// What the comment lines of a backup tell.
struct BackupHeader
{
    QString program;
    QString firmwareVersion;
    QDateTime date;
};

// The two formats a backup is written in, named by the file's extension as
// the other tools name them: five tab-separated columns in ".params",
// NAME,VALUE in ".param" and ".parm".
enum class ParamFileFormat
{
    Columns,
    NameValue,
};

// None for any other extension: which format such a file is meant to hold
// cannot be told.
std::optional<ParamFileFormat> paramFileFormatFor(const QString &path);
// "five tab-separated columns", for reports.
QString paramFileFormatName(ParamFileFormat format);

// Nothing larger is taken for a parameter file.
constexpr qint64 kMaxParamFileBytes = 1024 * 1024;

// Reads five columns (sysid, compid, name, value, type) or two (name,
// value), separated by tabs, blanks or commas, line by line; CRLF, a UTF-8
// byte order mark, comment lines (#) and blank lines are accepted. The
// first bad line refuses the whole file. A name given twice is left to the
// restore plan, which knows whether the FC has it.
ParamFile parseParamFile(const QByteArray &bytes);

// Reads a value for a parameter of entry.type as a file gives it: the reason
// it cannot be written, or empty.
QString readValue(const QByteArray &value, ParamFileEntry &entry);
// The same for a name and its value.
QString readNameAndValue(const QByteArray &name, const QByteArray &value, ParamFileEntry &entry);
// Reads "NAME=VALUE" as given on the command line: the reason it cannot be
// written, or empty.
QString readAssignment(const QByteArray &text, ParamFileEntry &entry);

// Why a parameter as the FC reported it cannot be written to a file at all:
// a name the reader refuses, a type it does not know, a value that is not a
// number. Empty when it can.
QString saveProblem(const ParameterReport &param);

// Why a value the FC reported does not fit its own type (an integer not
// whole or out of range): saved as reported, but worth a warning, as the
// file will not restore until it is corrected. Empty when it fits.
QString rangeWarning(const ParameterReport &param);

// Keeps one report of each name where the FC reports a name more than once
// with the same value, so the file reads back. Names reported with different
// values cannot be saved: the reason, or empty.
QString dropRepeatedNames(QList<ParameterReport> &params);

// The backup file: comment lines, then one line per parameter, sorted by
// name.
QByteArray formatParamFile(const BackupHeader &header, QList<ParameterReport> params,
                           ParamFileFormat format = ParamFileFormat::Columns);
