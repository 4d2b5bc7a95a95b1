#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// zefa-fc-sim running in the background; its first line is the terminal.
class SimulatorProgram
{
public:
    SimulatorProgram(const QString &program, const QStringList &arguments);
    ~SimulatorProgram();

    QString slavePath();

    QProcess process;
};

struct ProgramRun
{
    int exitCode = -1; // -1: did not end by itself, or crashed
    QString out;
    QString err;
};

// A program as a user runs it from a terminal: no display, and no platform
// chosen for Qt.
ProgramRun runWithoutDisplay(const QString &program, const QStringList &arguments,
                             const QString &locale = QStringLiteral("C.UTF-8"));
