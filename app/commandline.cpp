#include "app/commandline.h"

#include "app/translation.h"
#include "app/version.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

namespace {

const char kContext[] = "CommandLine";

QString dashed(const QString &optionName)
{
    return (optionName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + optionName;
}

// The unknown option as it was typed, where that can be told: "-abc"
// reports its unknown letter alone.
QString typedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments) {
        const QString typed = argument.section('=', 0, 0);
        if (typed == QStringLiteral("--") + name || typed == QStringLiteral("-") + name)
            return typed;
    }
    return dashed(name);
}

} // namespace

ArgumentReader::ArgumentReader(const QString &program, const char *description,
                               const QTranslator *catalogue)
    : program_(program), catalogue_(catalogue),
      helpOption_({QStringLiteral("h"), QStringLiteral("help")},
                  text(QT_TRANSLATE_NOOP("CommandLine", "Show this help and exit."))),
      versionOption_({QStringLiteral("v"), QStringLiteral("version")},
                     text(QT_TRANSLATE_NOOP("CommandLine", "Show the version and exit.")))
{
    parser_.setApplicationDescription(text(description));
    parser_.addOption(helpOption_);
    parser_.addOption(versionOption_);
}

QString ArgumentReader::text(const char *source) const
{
    const QString translated = catalogue_ ? catalogue_->translate(kContext, source) : QString();
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

std::optional<CommandLineAnswer> ArgumentReader::read(const QStringList &arguments)
{
    const bool parsed = parser_.parse(arguments);
    if (!parsed || !parser_.positionalArguments().isEmpty())
        return usageError(problem(arguments));
    if (parser_.isSet(helpOption_))
        return CommandLineAnswer{helpText(), 0};
    if (parser_.isSet(versionOption_))
        return CommandLineAnswer{program_ + ' ' + QStringLiteral(ZEFA_VERSION) + '\n', 0};
    return std::nullopt;
}

CommandLineAnswer ArgumentReader::usageError(const QString &problem) const
{
    return {program_ + QStringLiteral(": ") + problem + '\n', kUsageErrorStatus};
}

QString ArgumentReader::problem(const QStringList &arguments) const
{
    const QStringList unknown = parser_.unknownOptionNames();
    if (!unknown.isEmpty())
        return text(QT_TRANSLATE_NOOP("CommandLine", "unknown option '%1'; see --help"))
            .arg(typedOption(arguments, unknown.first()));
    if (!parser_.positionalArguments().isEmpty())
        return text(QT_TRANSLATE_NOOP("CommandLine", "unexpected argument '%1'; see --help"))
            .arg(parser_.positionalArguments().first());
    return parser_.errorText();
}

// Qt's help text names the program after the application object's first
// argument, so one stands in while it is written.
QString ArgumentReader::helpText() const
{
    if (QCoreApplication::instance())
        return parser_.helpText();
    QByteArray name = program_.toLocal8Bit();
    int argc = 1;
    char *argv[] = {name.data(), nullptr};
    const QCoreApplication app(argc, argv);
    return parser_.helpText();
}

int printAnswer(const CommandLineAnswer &answer)
{
    std::fputs(answer.text.toLocal8Bit().constData(), answer.exitStatus == 0 ? stdout : stderr);
    return answer.exitStatus;
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

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
    const QCommandLineOption recordOption(
        QStringLiteral("record"),
        reader.text(QT_TRANSLATE_NOOP(
            "CommandLine", "Record every frame sent and received to FILE (a telemetry log).")),
        QStringLiteral("FILE"));
    reader.parser().addOptions({portOption, backupOption, restoreOption, recordOption});

    CommandLine commandLine;
    commandLine.answer = reader.read(arguments);
    commandLine.port = reader.parser().value(portOption);
    if (commandLine.answer)
        return commandLine;
    const bool backup = reader.parser().isSet(backupOption);
    const bool restore = reader.parser().isSet(restoreOption);
    commandLine.transfer = backup    ? CommandLine::Transfer::Backup
                           : restore ? CommandLine::Transfer::Restore
                                     : CommandLine::Transfer::None;
    commandLine.file = reader.parser().value(backup ? backupOption : restoreOption);
    commandLine.recordFile = reader.parser().value(recordOption);
    const auto repeated = [&reader](const QCommandLineOption &option) {
        return reader.parser().values(option).size() > 1;
    };
    const auto given = {portOption, backupOption, restoreOption, recordOption};
    const auto twice = std::find_if(given.begin(), given.end(), repeated);
    if (twice != given.end())
        commandLine.answer = reader.usageError(
            reader.text(QT_TRANSLATE_NOOP("CommandLine", "--%1 is given more than once"))
                .arg(twice->names().constFirst()));
    else if (backup && restore)
        commandLine.answer = reader.usageError(reader.text(
            QT_TRANSLATE_NOOP("CommandLine", "--backup and --restore cannot be used together")));
    else if ((backup || restore) && commandLine.file.isEmpty())
        commandLine.answer = reader.usageError(
            reader.text(QT_TRANSLATE_NOOP("CommandLine", "%1 needs a FILE"))
                .arg(backup ? QStringLiteral("--backup") : QStringLiteral("--restore")));
    else if (reader.parser().isSet(recordOption) &&
             (commandLine.transfer == CommandLine::Transfer::None ||
              commandLine.recordFile.isEmpty()))
        commandLine.answer = reader.usageError(reader.text(QT_TRANSLATE_NOOP(
            "CommandLine", "--record needs a FILE and a command to record, such as --backup")));
    return commandLine;
}
