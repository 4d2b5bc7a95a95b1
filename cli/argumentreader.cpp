#include "cli/argumentreader.h"

#include "cli/version.h"

#include <QCoreApplication>
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
    if (!parsed || (!takesArguments() && !parser_.positionalArguments().isEmpty()))
        return usageError(problem(arguments));
    if (parser_.isSet(helpOption_))
        return CommandLineAnswer{helpText(), 0};
    if (parser_.isSet(versionOption_))
        return CommandLineAnswer{program_ + ' ' + QStringLiteral(ZEFA_VERSION) + '\n', 0};
    return std::nullopt;
}

bool ArgumentReader::takesArguments() const
{
    return std::any_of(argumentTakers_.begin(), argumentTakers_.end(),
                       [this](const QCommandLineOption &option) { return parser_.isSet(option); });
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
