#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

class QTranslator;

// What a program prints instead of starting: its help, its version or a
// usage error, and the status it then exits with.
struct CommandLineAnswer
{
    QString text;
    int exitStatus = 0; // 0 for help and version, kUsageErrorStatus for an error
};

constexpr int kUsageErrorStatus = 2;

// Reads a program's arguments the conventional way: -h/--help and
// -v/--version are answered, an unknown option or a stray argument is a usage
// error. Needs no application object, so the assistant reads its arguments
// before it builds one. Programs add their own options to parser().
class ArgumentReader
{
public:
    // Texts go through the catalogue's "CommandLine" context; without one
    // they stay English.
    ArgumentReader(const QString &program, const char *description,
                   const QTranslator *catalogue = nullptr);

    QCommandLineParser &parser() { return parser_; }
    // Arguments after the options are taken only when one of these is given.
    void takeArgumentsWith(const QList<QCommandLineOption> &options) { argumentTakers_ = options; }
    QString text(const char *source) const;

    // Empty when the program is to start.
    std::optional<CommandLineAnswer> read(const QStringList &arguments);
    // "program: problem" on stderr, status 2.
    CommandLineAnswer usageError(const QString &problem) const;

private:
    QString problem(const QStringList &arguments) const;
    bool takesArguments() const;
    QString helpText() const;

    QString program_;
    const QTranslator *catalogue_;
    QCommandLineParser parser_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
    QList<QCommandLineOption> argumentTakers_;
};

// Prints the answer, a usage error on stderr, and returns its exit status.
int printAnswer(const CommandLineAnswer &answer);

// The process's arguments, read before any application object exists.
QStringList argumentList(int argc, char *argv[]);
