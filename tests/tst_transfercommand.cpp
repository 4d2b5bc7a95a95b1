#include "support/paramtables.h"
#include "support/programs.h"

#include "fcsim/parametertable.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>

// zefa-gcs --backup and --restore as an installer runs them, without a
// display, against zefa-fc-sim on a noisy line.

namespace {

const QString kGcs = QStringLiteral(ZEFA_GCS_PATH);
const QString kSimulator = QStringLiteral(ZEFA_FCSIM_PATH);
// One byte in a hundred garbled, two parameter answers in a hundred lost.
const QStringList kNoisyLine = {"--fault-rate", "0.01", "--param-drop-rate", "0.02", "--seed", "5"};
// Plain lines, not one per parameter.
constexpr int kMostProgressLines = 40;

QString lastLine(const QString &text)
{
    return text.trimmed().section('\n', -1);
}

} // namespace

class TestTransferCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void backupRestoreAndBackupAgainOverANoisyLine();
    void failuresSayWhyAndExitWithOne_data();
    void failuresSayWhyAndExitWithOne();
    void restoreOfEveryParameterOverANoisyLine_data();
    void restoreOfEveryParameterOverANoisyLine();
    void refusalsKeepTheOldFile_data();
    void refusalsKeepTheOldFile();
    void unpluggedFcEndsTheBackupWithOne();
    void ctrlCStopsARestoreAndSaysWhatWasWritten();
};

// The second backup reads back what the restore wrote.
void TestTransferCommand::backupRestoreAndBackupAgainOverANoisyLine()
{
    SimulatorProgram sim(kSimulator, kNoisyLine);
    const QString port = sim.slavePath();
    const ParameterTable table;
    const QString backup = dir.filePath("before.param");
    ProgramRun run = runWithoutDisplay(kGcs, {"--backup", backup, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(lastLine(run.err),
             QStringLiteral("Backed up %1 parameters to %2.").arg(table.count()).arg(backup));
    QVERIFY2(run.err.count('\n') <= kMostProgressLines, qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("Reading parameters: %1 of %1\n").arg(table.count())));
    QCOMPARE(fileRows(backup), tableRows(table));

    const ValueChanges changes = someChanges(table);
    const QString edited = dir.filePath("edited.param");
    writeFile(edited, backupOf(table, changes));
    run = runWithoutDisplay(kGcs, {"--restore", edited, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.err.contains("\nChanges:\n"));
    QCOMPARE(run.err.count(QRegularExpression("\n  [A-Z0-9_]+: \\S+ -> \\S+\n")), changes.size());
    QCOMPARE(lastLine(run.err),
             QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));

    const QString after = dir.filePath("after.param");
    run = runWithoutDisplay(kGcs, {"--backup", after, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(fileRows(after), tableRows(table, changes));
}

void TestTransferCommand::failuresSayWhyAndExitWithOne_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such port")
        << QStringList{"--backup", dir.filePath("x.param"), "--port", "/dev/zefa-no-such-port"}
        << "zefa-gcs: Cannot open /dev/zefa-no-such-port: No such file or directory.";
    QTest::newRow("no such file") << QStringList{"--restore", dir.filePath("missing.param")}
                                  << QStringLiteral("zefa-gcs: Cannot read %1: No such file or "
                                                    "directory. Nothing was written.")
                                         .arg(dir.filePath("missing.param"));
    QTest::newRow("firmware 21") << QStringList{"--backup", dir.filePath("x.param")}
                                 << "zefa-gcs: The FC runs firmware version 21; this program works "
                                    "with version 20 only. No file was written.";
    QTest::newRow("recording into a missing folder")
        << QStringList{"--backup", dir.filePath("x.param"), "--record", "/nonexistent/a.tlog"}
        << "zefa-gcs: Cannot record to /nonexistent/a.tlog: No such file or directory";
}

void TestTransferCommand::failuresSayWhyAndExitWithOne()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    SimulatorProgram sim(kSimulator, {"--firmware", "21"});
    if (!arguments.contains("--port"))
        arguments << "--port" << sim.slavePath();
    const ProgramRun run = runWithoutDisplay(kGcs, arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(lastLine(run.err), error);
    QVERIFY(!QFile::exists(dir.filePath("x.param")));
}

void TestTransferCommand::restoreOfEveryParameterOverANoisyLine_data()
{
    QTest::addColumn<QString>("seed");
    QTest::newRow("seed 1") << QStringLiteral("1");
}

// Hundreds of writes on a line that garbles one byte in a hundred: lost
// heartbeats and garbled frames cost retries, not the rest of the restore.
void TestTransferCommand::restoreOfEveryParameterOverANoisyLine()
{
    QFETCH(QString, seed);
    SimulatorProgram sim(kSimulator, {"--fault-rate", "0.01", "--seed", seed});
    const ParameterTable table;
    const ValueChanges changes = someChanges(table, table.count());
    const QString edited = dir.filePath("everything.param");
    writeFile(edited, backupOf(table, changes));
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run =
        runWithoutDisplay(kGcs, {"--restore", edited, "--port", sim.slavePath()});
    qInfo("restore of %d values took %lld ms", int(changes.size()), clock.elapsed());
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(lastLine(run.err),
             QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));
}

void TestTransferCommand::refusalsKeepTheOldFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString old = dir.filePath("old.params");
    const QString fifo = dir.filePath("fifo");
    const QString foreign = dir.filePath("foreign.param");
    const QString notRegular = QStringLiteral("not a regular file (a device, pipe or folder)");
    // The shell ignores SIGXFSZ so that the write fails instead of killing.
    QTest::newRow("backup beyond the file-size limit")
        << QStringList{"/bin/sh", "-c",       "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"",
                       kGcs,      "--backup", old}
        << QStringLiteral("Cannot write %1: File too large. No file was written.").arg(old);
    QTest::newRow("backup onto a device")
        << QStringList{kGcs, "--backup", "/dev/full"}
        << QStringLiteral("Cannot write /dev/full: %1. No file was written.").arg(notRegular);
    QTest::newRow("backup onto a folder")
        << QStringList{kGcs, "--backup", dir.path()}
        << QStringLiteral("Cannot write %1: %2. No file was written.").arg(dir.path(), notRegular);
    QTest::newRow("restore from a FIFO nobody writes to")
        << QStringList{kGcs, "--restore", fifo}
        << QStringLiteral("Cannot read %1: %2. Nothing was written.").arg(fifo, notRegular);
    QTest::newRow("restore that matches nothing")
        << QStringList{kGcs, "--restore", foreign}
        << QStringLiteral("No name in %1 is a parameter of this FC. To write: 0; already equal: "
                          "0. Not on the FC, skipped: NOT_HERE, NOR_HERE. Nothing was written.")
               .arg(foreign);
}

// Each exits 1 with the reason, and the backup of last week stays as it was.
void TestTransferCommand::refusalsKeepTheOldFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const QByteArray old = "# the backup of last week\nFRAME,1\n";
    writeFile(dir.filePath("old.params"), old);
    writeFile(dir.filePath("foreign.param"), "NOT_HERE,1\nNOR_HERE,2\n");
    QFile::remove(dir.filePath("fifo"));
    QCOMPARE(::mkfifo(qPrintable(dir.filePath("fifo")), 0600), 0);
    SimulatorProgram sim(kSimulator, {});
    const ProgramRun run =
        runWithoutDisplay(arguments.first(), arguments.mid(1) << "--port" << sim.slavePath());
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(lastLine(run.err), "zefa-gcs: " + error);
    QFile file(dir.filePath("old.params"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(dir.path()).entryList({"old*"}), QStringList{"old.params"});
}

// The simulator's end closes its side of the terminal, as pulling the USB
// cable hangs up the FC's port.
void TestTransferCommand::unpluggedFcEndsTheBackupWithOne()
{
    auto sim = std::make_unique<SimulatorProgram>(kSimulator, QStringList{});
    const QString backup = dir.filePath("unplugged.param");
    QProcess gcs;
    gcs.setProcessEnvironment(environmentWithoutDisplay());
    gcs.start(kGcs, {"--backup", backup, "--port", sim->slavePath()});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += gcs.readAllStandardError()).contains("Reading parameters"),
                             30000);
    sim.reset();
    QVERIFY(gcs.waitForFinished(60000));
    QCOMPARE(gcs.exitCode(), 1);
    err += gcs.readAllStandardError();
    QCOMPARE(lastLine(err),
             QStringLiteral("zefa-gcs: The link to the FC was closed. No file was written."));
    QVERIFY(!QFile::exists(backup));
}

void TestTransferCommand::ctrlCStopsARestoreAndSaysWhatWasWritten()
{
    SimulatorProgram sim(kSimulator, {});
    const ParameterTable table;
    const ValueChanges changes = someChanges(table, table.count());
    const QString edited = dir.filePath("many.param");
    writeFile(edited, backupOf(table, changes));
    QProcess gcs;
    gcs.setProcessEnvironment(environmentWithoutDisplay());
    gcs.start(kGcs, {"--restore", edited, "--port", sim.slavePath()});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += gcs.readAllStandardError()).contains("Writing parameters"),
                             30000);
    ::kill(pid_t(gcs.processId()), SIGINT);
    QVERIFY(gcs.waitForFinished(30000));
    QCOMPARE(gcs.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gcs.exitCode(), 1);
    err += gcs.readAllStandardError();
    const QRegularExpressionMatch report =
        QRegularExpression("^zefa-gcs: Restore cancelled\\. Written and confirmed: (\\d+) of "
                           "(\\d+)\\. Not written: (\\d+)\\.$")
            .match(lastLine(err));
    QVERIFY2(report.hasMatch(), qPrintable(err));
    QCOMPARE(report.captured(2).toInt(), changes.size());
    QCOMPARE(report.captured(1).toInt() + report.captured(3).toInt(), changes.size());
}

QTEST_GUILESS_MAIN(TestTransferCommand)
#include "tst_transfercommand.moc"
