#include "app/commandline.h"

#include "app/translation.h"
#include "params/paramfileio.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

namespace {

CommandLine::Transfer chosenTransfer(const QCommandLineParser &parser,
                                     const QList<QCommandLineOption> &modeOptions)
{
    static const CommandLine::Transfer modes[] = {
        CommandLine::Transfer::Backup, CommandLine::Transfer::Restore, CommandLine::Transfer::Get,
        CommandLine::Transfer::Set,    CommandLine::Transfer::History, CommandLine::Transfer::Undo};
    for (int i = 0; i < modeOptions.size(); ++i) {
        if (parser.isSet(modeOptions[i]))
            return modes[i];
    }
    return CommandLine::Transfer::None;
}

// --set's arguments as values to write, each numbered by its place; the
// reason for the first that is not NAME=VALUE or names a parameter given
// before, else empty.
QString readAssignments(const ArgumentReader &reader, const QStringList &arguments,
                        QList<ParamFileEntry> &entries)
{
    QStringList names;
    for (const QString &assignment : arguments) {
        ParamFileEntry entry;
        const QString reason = readAssignment(assignment.toUtf8(), entry);
        if (!reason.isEmpty())
            return reader.text(QT_TRANSLATE_NOOP("CommandLine", "--set %1: %2"))
                .arg(assignment, reason);
        if (names.contains(entry.name))
            return reader.text(QT_TRANSLATE_NOOP("CommandLine", "--set gives %1 more than once"))
                .arg(entry.name);
        names << entry.name;
        entry.line = entries.size() + 1;
        entries << entry;
    }
    return QString();
}

// --history's N and --undo's ID, whole numbers above 0: the reason when
// they are not, else empty.
QString readJournalArguments(const ArgumentReader &reader, const QString &undoValue,
                             CommandLine &commandLine)
{
    bool ok = true;
    if (commandLine.transfer == CommandLine::Transfer::History &&
        !commandLine.arguments.isEmpty()) {
        if (commandLine.arguments.size() == 1)
            commandLine.historyCount = commandLine.arguments.constFirst().toInt(&ok);
        if (commandLine.arguments.size() > 1 || !ok || commandLine.historyCount <= 0)
            return reader
                .text(QT_TRANSLATE_NOOP("CommandLine",
                                        "--history takes one N, a whole number above 0, "
                                        "not '%1'"))
                .arg(commandLine.arguments.join(QLatin1Char(' ')));
    }
    if (commandLine.transfer == CommandLine::Transfer::Undo) {
        commandLine.undoId = undoValue.toLongLong(&ok);
        if (!ok || commandLine.undoId <= 0)
            return reader
                .text(QT_TRANSLATE_NOOP("CommandLine", "--undo needs the ID of a change set (see "
                                                       "--history), not '%1'"))
                .arg(undoValue);
    }
    return QString();
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    // No application object yet to install a translator in: the texts are
    // looked up in the catalogue directly.
    QTranslator catalogue;
    loadCatalogueForLocale(catalogue, QLocale::system().name());
    ArgumentReader reader(
        QStringLiteral("zefa-gcs"),
        QT_TRANSLATE_NOOP("CommandLine",
                          "Configuration assistant for ZEFA R7 multirotor flight controllers."),
        &catalogue);
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Open PORT instead of searching for the flight "
                                      "controller's port; wins over ZEFA_GCS_PORT.")),
        QStringLiteral("PORT"));
    const QCommandLineOption backupOption(
        QStringLiteral("backup"),
        reader.text(
            QT_TRANSLATE_NOOP("CommandLine", "Save the FC's settings to FILE, without a window.")),
        QStringLiteral("FILE"));
    const QCommandLineOption restoreOption(
        QStringLiteral("restore"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Write the settings in FILE to the FC, without a window.")),
        QStringLiteral("FILE"));
    const QCommandLineOption forceOption(
        QStringLiteral("force"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "With --restore: write a file saved from another vehicle "
                                      "(another system id). With --undo: write back values "
                                      "changed since too.")));
    const QCommandLineOption getOption(
        QStringLiteral("get"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Print \"NAME VALUE\" for each parameter NAME given after "
                                      "the options, without a window.")));
    const QCommandLineOption setOption(
        QStringLiteral("set"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Write each NAME=VALUE given after the options to the FC, "
                                      "each confirmed by the FC, without a window.")));
    const QCommandLineOption recordOption(
        QStringLiteral("record"),
        reader.text(QT_TRANSLATE_NOOP(
            "CommandLine", "Record every frame sent and received to FILE (a telemetry log).")),
        QStringLiteral("FILE"));
    const QCommandLineOption historyOption(
        QStringLiteral("history"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Print the last N change sets written to an FC (N given "
                                      "after the options, 10 without), newest first, without a "
                                      "port.")));
    const QCommandLineOption undoOption(
        QStringLiteral("undo"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "Write the values before change set ID back to the FC "
                                      "where it still holds the values the set wrote, without "
                                      "a window.")),
        QStringLiteral("ID"));
    reader.parser().addOptions({portOption, backupOption, restoreOption, forceOption, getOption,
                                setOption, recordOption, historyOption, undoOption});
    reader.parser().addPositionalArgument(
        QStringLiteral("NAME"),
        reader.text(QT_TRANSLATE_NOOP("CommandLine",
                                      "With --get: NAME; with --set: NAME=VALUE; with --history: "
                                      "N.")),
        QStringLiteral("[NAME | NAME=VALUE... | N]"));
    reader.takeArgumentsWith({getOption, setOption, historyOption});

    CommandLine commandLine;
    commandLine.answer = reader.read(arguments);
    commandLine.port = reader.parser().value(portOption);
    if (commandLine.answer)
        return commandLine;
    const bool backup = reader.parser().isSet(backupOption);
    const bool restore = reader.parser().isSet(restoreOption);
    const QList<QCommandLineOption> modeOptions = {backupOption, restoreOption, getOption,
                                                   setOption,    historyOption, undoOption};
    commandLine.transfer = chosenTransfer(reader.parser(), modeOptions);
    commandLine.file = reader.parser().value(backup ? backupOption : restoreOption);
    commandLine.force = reader.parser().isSet(forceOption);
    commandLine.arguments = reader.parser().positionalArguments();
    const QString fileOption = backup ? QStringLiteral("--backup") : QStringLiteral("--restore");
    const bool byName = commandLine.transfer == CommandLine::Transfer::Get ||
                        commandLine.transfer == CommandLine::Transfer::Set;
    commandLine.recordFile = reader.parser().value(recordOption);
    const auto repeated = [&reader](const QCommandLineOption &option) {
        return reader.parser().values(option).size() > 1;
    };
    const QString badAssignment =
        commandLine.transfer == CommandLine::Transfer::Set
            ? readAssignments(reader, commandLine.arguments, commandLine.assignments)
            : QString();
    const QString badJournalArgument =
        readJournalArguments(reader, reader.parser().value(undoOption), commandLine);
    const auto given = {portOption, backupOption, restoreOption, recordOption, undoOption};
    const auto twice = std::find_if(given.begin(), given.end(), repeated);
    const auto isSet = [&reader](const QCommandLineOption &option) {
        return reader.parser().isSet(option);
    };
    if (twice != given.end())
        commandLine.answer = reader.usageError(
            reader.text(QT_TRANSLATE_NOOP("CommandLine", "--%1 is given more than once"))
                .arg(twice->names().constFirst()));
    else if (backup && restore)
        commandLine.answer = reader.usageError(reader.text(
            QT_TRANSLATE_NOOP("CommandLine", "--backup and --restore cannot be used together")));
    else if (std::count_if(modeOptions.begin(), modeOptions.end(), isSet) > 1)
        commandLine.answer = reader.usageError(reader.text(QT_TRANSLATE_NOOP(
            "CommandLine",
            "use one of --backup, --restore, --get, --set, --history and --undo at a time")));
    else if ((backup || restore) && commandLine.file.isEmpty())
        commandLine.answer = reader.usageError(
            reader.text(QT_TRANSLATE_NOOP("CommandLine", "%1 needs a FILE")).arg(fileOption));
    else if (commandLine.force && !restore && commandLine.transfer != CommandLine::Transfer::Undo)
        commandLine.answer = reader.usageError(reader.text(
            QT_TRANSLATE_NOOP("CommandLine", "--force goes with --restore or --undo only")));
    else if (byName && commandLine.arguments.isEmpty())
        commandLine.answer = reader.usageError(
            commandLine.transfer == CommandLine::Transfer::Get
                ? reader.text(QT_TRANSLATE_NOOP("CommandLine", "--get needs a NAME"))
                : reader.text(QT_TRANSLATE_NOOP("CommandLine", "--set needs a NAME=VALUE")));
    else if (!badAssignment.isEmpty())
        commandLine.answer = reader.usageError(badAssignment);
    else if (!badJournalArgument.isEmpty())
        commandLine.answer = reader.usageError(badJournalArgument);
    else if (reader.parser().isSet(recordOption) &&
             (commandLine.transfer == CommandLine::Transfer::None ||
              commandLine.transfer == CommandLine::Transfer::History ||
              commandLine.recordFile.isEmpty()))
        commandLine.answer = reader.usageError(reader.text(QT_TRANSLATE_NOOP(
            "CommandLine", "--record needs a FILE and a command to record, such as --backup")));
    else if (!commandLine.recordFile.isEmpty() && (backup || restore) &&
             isSameFile(commandLine.recordFile, commandLine.file))
        commandLine.answer = reader.usageError(
            reader.text(QT_TRANSLATE_NOOP("CommandLine", "--record and %1 name the same file"))
                .arg(fileOption));
    return commandLine;
}
