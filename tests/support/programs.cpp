#include "programs.h"

namespace {
// Longer than any run that works takes on a loaded machine under a
// sanitizer; a program that opened its window instead never ends.
constexpr int kRunTimeoutMs = 120000;
constexpr int kFirstLineTimeoutMs = 5000;
} // namespace

SimulatorProgram::SimulatorProgram(const QString &program, const QStringList &arguments)
{
    process.start(program, arguments);
    if (!process.waitForStarted())
        qFatal("zefa-fc-sim did not start");
}

SimulatorProgram::~SimulatorProgram()
{
    process.kill();
    process.waitForFinished();
}

QString SimulatorProgram::slavePath()
{
    while (!process.canReadLine() && process.waitForReadyRead(kFirstLineTimeoutMs)) {
    }
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

QProcessEnvironment environmentWithoutDisplay(const QString &locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    return environment;
}

ProgramRun runWithoutDisplay(const QString &program, const QStringList &arguments,
                             const QString &locale)
{
    QProcess process;
    process.setProcessEnvironment(environmentWithoutDisplay(locale));
    process.start(program, arguments);
    if (!process.waitForFinished(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
