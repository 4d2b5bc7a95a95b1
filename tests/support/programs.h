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

// The environment of a program run from a terminal: no display, and no
// platform chosen for Qt.
QProcessEnvironment environmentWithoutDisplay(const QString &locale = QStringLiteral("C.UTF-8"));

// A program as a user runs it from a terminal, to its end.
ProgramRun runWithoutDisplay(const QString &program, const QStringList &arguments,
                             const QString &locale = QStringLiteral("C.UTF-8"));
