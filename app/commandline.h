#pragma once

#include "cli/argumentreader.h"
#include "params/paramfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// What zefa-gcs is asked to do.
struct CommandLine
{
    enum class Transfer
    {
        None,    // the window
        Backup,  // --backup FILE
        Restore, // --restore FILE
        Get,     // --get NAME...
        Set,     // --set NAME=VALUE...
        History, // --history [N]
        Undo,    // --undo ID
    };

    std::optional<CommandLineAnswer> answer; // set: print it and exit at once
    QString port;                            // --port: opened instead of searching
    Transfer transfer = Transfer::None;      // without a window
    QString file;                            // of the transfer
    bool force = false;                // --force: another vehicle's file, values changed since
    QStringList arguments;             // of --get and --set
    QList<ParamFileEntry> assignments; // --set's, read and checked
    QString recordFile;                // --record: the run's frames go there
    int historyCount = 10;             // --history's N
    qint64 undoId = 0;                 // --undo's ID
};

CommandLine parseCommandLine(const QStringList &arguments);
