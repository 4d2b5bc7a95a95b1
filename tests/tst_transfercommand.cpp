#include "support/paramtables.h"
#include "support/programs.h"
#include "support/ptypair.h"
#include "support/scriptedfc.h"

#include "fcsim/parametertable.h"
#include "serial/telemetrylog.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
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

// The records of a telemetry log; -1 when it ends inside one.
int wholeRecords(const QByteArray &log)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(log.constData());
    int at = 0;
    int records = 0;
    while (at + TelemetryLog::kTimestampLength + 2 <= log.size()) {
        at += TelemetryLog::recordLength(bytes + at);
        ++records;
    }
    return at == log.size() ? records : -1;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each change set's first line: its id, source and count, the time left out.
QStringList historyHeads(const QString &history)
{
    QStringList heads;
    for (const QString &line : history.split('\n')) {
        if (!line.isEmpty() && !line.startsWith(' '))
            heads << line.section('\t', 0, 0) + ' ' + line.section('\t', 2);
    }
    return heads;
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
    void fileOfAnotherVehicleNeedsForce();
    void getAndSetByName();
    void refusedNamesAndValuesWriteNothing_data();
    void refusedNamesAndValuesWriteNothing();
    void unpluggedFcEndsTheBackupWithOne();
    void ctrlCStopsARestoreAndSaysWhatWasWritten();
    void ctrlCStopsAReadThatAsksForMissingIndexes();
    void backupToParmIsNameValue();
    void recordingReplacesItsFileOnlyAtTheEnd();
    void recordingBeyondTheFileSizeLimitKeepsWholeRecords();
    void valuesToAPipeClosedEarlyFailWithTheReason();
    void eachWriteIsAChangeSetThatUndoTakesBack();
    void undoLeavesValuesChangedSinceAloneWithoutForce();
    void aChangeTheJournalCannotRecordIsWrittenAndSaysSo();
};

// The second backup reads back what the restore wrote.
void TestTransferCommand::backupRestoreAndBackupAgainOverANoisyLine()
{
    SimulatorProgram sim(kSimulator, kNoisyLine);
    const QString port = sim.slavePath();
    const ParameterTable table;
    const QString backup = dir.filePath("before.params");
    ProgramRun run = runWithoutDisplay(kGcs, {"--backup", backup, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(lastLine(run.err), QStringLiteral("Backed up %1 parameters to %2 as five "
                                               "tab-separated columns.")
                                    .arg(table.count())
                                    .arg(backup));
    QVERIFY2(run.err.count('\n') <= kMostProgressLines, qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("Reading parameters: %1 of %1\n").arg(table.count())));
    QCOMPARE(fileRows(backup), tableRows(table));

    const ValueChanges changes = someChanges(table);
    const QString edited = dir.filePath("edited.params");
    writeFile(edited, backupOf(table, changes));
    run = runWithoutDisplay(kGcs, {"--restore", edited, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.err.contains("\nChanges:\n"));
    QCOMPARE(run.err.count(QRegularExpression("\n  [A-Z0-9_]+: \\S+ -> \\S+\n")), changes.size());
    QCOMPARE(lastLine(run.err),
             QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));

    const QString after = dir.filePath("after.params");
    run = runWithoutDisplay(kGcs, {"--backup", after, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(fileRows(after), tableRows(table, changes));
}

void TestTransferCommand::failuresSayWhyAndExitWithOne_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such port")
        << QStringList{"--backup", dir.filePath("x.params"), "--port", "/dev/zefa-no-such-port"}
        << "zefa-gcs: Cannot open /dev/zefa-no-such-port: there is no such port.";
    QTest::newRow("no such file") << QStringList{"--restore", dir.filePath("missing.params")}
                                  << QStringLiteral("zefa-gcs: Cannot read %1: No such file or "
                                                    "directory. Nothing was written.")
                                         .arg(dir.filePath("missing.params"));
    QTest::newRow("firmware 21") << QStringList{"--backup", dir.filePath("x.params")}
                                 << "zefa-gcs: The FC runs firmware version 21; this program works "
                                    "with version 20 only. No file was written.";
    QTest::newRow("recording into a missing folder")
        << QStringList{"--backup", dir.filePath("x.param"), "--record", "/nonexistent/a.tlog"}
        << "zefa-gcs: Cannot record to /nonexistent/a.tlog: No such file or directory";
    // Opening a FIFO nobody reads would block the program for good.
    const QString fifo = dir.filePath("recording-fifo");
    QFile::remove(fifo);
    ::mkfifo(qPrintable(fifo), 0600);
    const QString notRegular =
        QStringLiteral("zefa-gcs: Cannot record to %1: not a regular file (a device, pipe or "
                       "folder)");
    QTest::newRow("recording into a FIFO")
        << QStringList{"--get", "RTL_ALT", "--record", fifo} << notRegular.arg(fifo);
    QTest::newRow("recording into a folder")
        << QStringList{"--get", "RTL_ALT", "--record", dir.path()} << notRegular.arg(dir.path());
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
    QVERIFY(!QFile::exists(dir.filePath("x.params")));
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
    const QString edited = dir.filePath("everything.params");
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
    const QString foreign = dir.filePath("foreign.params");
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
    QTest::newRow("backup to an extension that names no format")
        << QStringList{kGcs, "--backup", dir.filePath("old.txt")}
        << QStringLiteral("Cannot write %1: the name's extension chooses the format: .params "
                          "(five tab-separated columns), .param or .parm (NAME,VALUE lines). No "
                          "file was written.")
               .arg(dir.filePath("old.txt"));
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
    writeFile(dir.filePath("foreign.params"), "NOT_HERE,1\nNOR_HERE,2\n");
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

void TestTransferCommand::fileOfAnotherVehicleNeedsForce()
{
    SimulatorProgram sim(kSimulator, {});
    const QString port = sim.slavePath();
    const QString other = dir.filePath("other.params");
    writeFile(other, "3\t1\tRTL_ALT\t2500\t9\n");
    ProgramRun run = runWithoutDisplay(kGcs, {"--restore", other, "--port", port});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(lastLine(run.err),
             QStringLiteral("zefa-gcs: The file was saved from system id 3; this FC is system id "
                            "1. Give --force to write it anyway. Nothing was written."));
    run = runWithoutDisplay(kGcs, {"--restore", other, "--force", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.contains("\nThe file was saved from system id 3; this FC is system id 1. "
                              "Written anyway, as --force says.\n"),
             qPrintable(run.err));
    QCOMPARE(lastLine(run.err), QStringLiteral("Written and confirmed: 1 of 1."));
}

// A float and an INT8, each written with the FC's type and read back.
void TestTransferCommand::getAndSetByName()
{
    SimulatorProgram sim(kSimulator, kNoisyLine);
    const QString port = sim.slavePath();
    ProgramRun run = runWithoutDisplay(kGcs, {"--get", "RTL_ALT", "SYS_CPU_WARN", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 1500\nSYS_CPU_WARN 90\n"));

    run = runWithoutDisplay(kGcs, {"--set", "RTL_ALT=2500.25", "SYS_CPU_WARN=75", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.contains("\n  RTL_ALT: 1500 -> 2500.25\n  SYS_CPU_WARN: 90 -> 75\n"),
             qPrintable(run.err));
    QCOMPARE(lastLine(run.err), QStringLiteral("Written and confirmed: 2 of 2."));
    QCOMPARE(run.out, QString());

    run = runWithoutDisplay(kGcs, {"--get", "SYS_CPU_WARN", "RTL_ALT", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.out, QStringLiteral("SYS_CPU_WARN 75\nRTL_ALT 2500.25\n"));
}

void TestTransferCommand::refusedNamesAndValuesWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString notOnFc = QStringLiteral("zefa-gcs: Not a parameter of this FC: NO_SUCH.");
    QTest::newRow("get, unknown name") << QStringList{"--get", "RTL_ALT", "NO_SUCH"} << notOnFc;
    QTest::newRow("set, unknown name")
        << QStringList{"--set", "RTL_ALT=7", "NO_SUCH=1"} << notOnFc + " Nothing was written.";
    QTest::newRow("set, INT8 out of range")
        << QStringList{"--set", "RTL_ALT=7", "SYS_CPU_WARN=300"}
        << "zefa-gcs: Refused SYS_CPU_WARN: value is out of range (-128 to 127). Nothing was "
           "written.";
    for (const QString version : {"21", "20"})
        QTest::newRow(qPrintable("set, firmware version " + version))
            << QStringList{"--set", "ZEFAVERSION=" + version}
            << "zefa-gcs: Never written: ZEFAVERSION. Nothing was written.";
}

// Exit 1 with the reason, no value on stdout, and RTL_ALT as it was.
void TestTransferCommand::refusedNamesAndValuesWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    SimulatorProgram sim(kSimulator, {});
    const QString port = sim.slavePath();
    ProgramRun run = runWithoutDisplay(kGcs, arguments << "--port" << port);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(lastLine(run.err), error);
    QCOMPARE(run.out, QString());
    run = runWithoutDisplay(kGcs, {"--get", "RTL_ALT", "--port", port});
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 1500\n"));
}

// The simulator's end closes its side of the terminal, as pulling the USB
// cable hangs up the FC's port.
void TestTransferCommand::unpluggedFcEndsTheBackupWithOne()
{
    auto sim = std::make_unique<SimulatorProgram>(kSimulator, QStringList{});
    const QString backup = dir.filePath("unplugged.params");
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
    const QString edited = dir.filePath("many.params");
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

// An FC that claims 1024 parameters and has three: Ctrl+C while the reader
// asks for the missing ones ends the program, and nothing is asked after
// the request in flight.
void TestTransferCommand::ctrlCStopsAReadThatAsksForMissingIndexes()
{
    PtyPair pty;
    ScriptedFc fc(pty, {}, 1024);
    QProcess gcs;
    gcs.setProcessEnvironment(environmentWithoutDisplay());
    gcs.start(kGcs, {"--backup", dir.filePath("never.params"), "--port", pty.slavePath()});
    QTRY_VERIFY_WITH_TIMEOUT(fc.heard.contains("get #3"), 30000);
    ::kill(pid_t(gcs.processId()), SIGINT);
    const int heardAtTheSignal = fc.heard.size();
    QTRY_VERIFY_WITH_TIMEOUT(gcs.state() == QProcess::NotRunning, 10000);
    QCOMPARE(gcs.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gcs.exitCode(), 1);
    QCOMPARE(lastLine(gcs.readAllStandardError()),
             QStringLiteral("zefa-gcs: Backup cancelled. No file was written."));
    QTest::qWait(100); // the close sequence's last frames reach the FC
    const QStringList afterwards = fc.heard.mid(heardAtTheSignal);
    QVERIFY2(afterwards.filter("get #").size() <= 1, qPrintable(afterwards.join(", ")));
    QVERIFY(!QFile::exists(dir.filePath("never.params")));
}

// Other ground stations read ".parm" as NAME,VALUE lines.
void TestTransferCommand::backupToParmIsNameValue()
{
    SimulatorProgram sim(kSimulator, {});
    const QString backup = dir.filePath("other-tools.parm");
    const ProgramRun run = runWithoutDisplay(kGcs, {"--backup", backup, "--port", sim.slavePath()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const int count = ParameterTable().count();
    QCOMPARE(lastLine(run.err), QStringLiteral("Backed up %1 parameters to %2 as NAME,VALUE lines.")
                                    .arg(count)
                                    .arg(backup));
    const QStringList rows =
        QString::fromUtf8(contentOf(backup)).split('\n').filter(QRegularExpression("^[^#]"));
    QCOMPARE(rows.filter(QRegularExpression("^[A-Z0-9_]+,[^,\\s]+$")).size(), count);
    QCOMPARE(rows.size(), count);
}

// Until the run has ended the old log stays as it was; then the recording
// takes its place.
void TestTransferCommand::recordingReplacesItsFileOnlyAtTheEnd()
{
    SimulatorProgram sim(kSimulator, {});
    const QString log = dir.filePath("replaced.tlog");
    writeFile(log, "the log of last week");
    QProcess gcs;
    gcs.setProcessEnvironment(environmentWithoutDisplay());
    gcs.start(kGcs, {"--get", "RTL_ALT", "--record", log, "--port", sim.slavePath()});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += gcs.readAllStandardError()).contains("Reading parameters"),
                             30000);
    QCOMPARE(contentOf(log), QByteArray("the log of last week"));
    QVERIFY(gcs.waitForFinished(60000));
    QCOMPARE(gcs.exitCode(), 0);
    err += gcs.readAllStandardError();
    const int records = wholeRecords(contentOf(log));
    QVERIFY2(records > ParameterTable().count(), qPrintable(err));
    QCOMPARE(lastLine(err),
             QStringLiteral("Recorded %1 frames to %2; 0 rejected frames").arg(records).arg(log));
    QCOMPARE(QDir(dir.path()).entryList({"replaced*"}), QStringList{"replaced.tlog"});
}

// SIGXFSZ is not ignored here: the program must ignore it itself, see the
// write fail and end the recording with whole records.
void TestTransferCommand::recordingBeyondTheFileSizeLimitKeepsWholeRecords()
{
    SimulatorProgram sim(kSimulator, {});
    const QString log = dir.filePath("limited.tlog");
    const ProgramRun run =
        runWithoutDisplay("/bin/sh", {"-c", "ulimit -f 8; exec \"$0\" \"$@\"", kGcs, "--get",
                                      "RTL_ALT", "--record", log, "--port", sim.slavePath()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 1500\n"));
    QVERIFY2(run.err.contains("zefa-gcs: Recording stopped: File too large\n"),
             qPrintable(run.err));
    const QByteArray recorded = contentOf(log);
    QVERIFY(wholeRecords(recorded) > 0);
    QVERIFY(recorded.size() <= 8 * 512);
}

// The reader of the values has gone: SIGPIPE must not end the program
// without a word.
void TestTransferCommand::valuesToAPipeClosedEarlyFailWithTheReason()
{
    SimulatorProgram sim(kSimulator, {});
    QProcess gcs;
    QProcess reader; // ends at once, as "| head -c 0" does
    gcs.setStandardOutputProcess(&reader);
    gcs.setProcessEnvironment(environmentWithoutDisplay());
    gcs.start(kGcs, {"--get", "RTL_ALT", "--port", sim.slavePath()});
    reader.start("true", QStringList());
    QVERIFY(gcs.waitForFinished(60000));
    QCOMPARE(gcs.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gcs.exitCode(), 1);
    QCOMPARE(lastLine(gcs.readAllStandardError()),
             QStringLiteral("zefa-gcs: Cannot print the values: %1.")
                 .arg(QString::fromLocal8Bit(std::strerror(EPIPE))));
}

// A restore and a --set, undone newest first, leave the FC as it was.
void TestTransferCommand::eachWriteIsAChangeSetThatUndoTakesBack()
{
    qputenv("ZEFA_GCS_JOURNAL", dir.filePath("undo.journal").toLocal8Bit());
    SimulatorProgram sim(kSimulator, {});
    const QString port = sim.slavePath();
    const ParameterTable table;
    const QString edited = dir.filePath("changes.params");
    const ValueChanges changes = someChanges(table);
    writeFile(edited, backupOf(table, changes));
    ProgramRun run = runWithoutDisplay(kGcs, {"--restore", edited, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    run = runWithoutDisplay(kGcs, {"--set", "RTL_ALT=2500.25", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    run = runWithoutDisplay(kGcs, {"--history"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(historyHeads(run.out),
             (QStringList{"2 command line\t1",
                          QStringLiteral("1 Restore of changes.params\t%1").arg(changes.size())}));
    QVERIFY2(run.out.contains(QRegularExpression("^2\t[^\n]+\n  RTL_ALT [0-9.]+ -> 2500.25\n1\t")),
             qPrintable(run.out));
    const QByteArray journal = contentOf(dir.filePath("undo.journal"));
    QCOMPARE(journal.count("\nSNAPSHOT\t1\t"), table.count());

    for (const QString id : {"2", "1"}) {
        run = runWithoutDisplay(kGcs, {"--undo", id, "--port", port});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    run = runWithoutDisplay(kGcs, {"--history", "2"});
    QCOMPARE(
        historyHeads(run.out),
        (QStringList{QStringLiteral("4 Undo of 1\t%1").arg(changes.size()), "3 Undo of 2\t1"}));
    const QString after = dir.filePath("undone.params");
    run = runWithoutDisplay(kGcs, {"--backup", after, "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(fileRows(after), tableRows(table));
}

// RTL_ALT written again after the set: left alone and named, exit 1, until
// --force; an unknown id and junk in the journal are told on stderr.
void TestTransferCommand::undoLeavesValuesChangedSinceAloneWithoutForce()
{
    const QString path = dir.filePath("since.journal");
    qputenv("ZEFA_GCS_JOURNAL", path.toLocal8Bit());
    SimulatorProgram sim(kSimulator, {});
    const QString port = sim.slavePath();
    for (const QStringList &set :
         {QStringList{"RTL_ALT=2500", "SYS_CPU_WARN=75"}, QStringList{"RTL_ALT=3000"}}) {
        const ProgramRun run =
            runWithoutDisplay(kGcs, QStringList{"--set"} + set << "--port" << port);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    ProgramRun run = runWithoutDisplay(kGcs, {"--undo", "1", "--port", port});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("\nChanged since, left alone (--force writes them too):\n"
                              "  RTL_ALT: set to 2500, the FC now holds 3000, before it was "
                              "1500\n"),
             qPrintable(run.err));
    QCOMPARE(lastLine(run.err), QStringLiteral("zefa-gcs: Written and confirmed: 1 of 1. Changed "
                                               "since, left alone: RTL_ALT."));
    run = runWithoutDisplay(kGcs, {"--get", "RTL_ALT", "SYS_CPU_WARN", "--port", port});
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 3000\nSYS_CPU_WARN 90\n"));

    run = runWithoutDisplay(kGcs, {"--undo", "1", "--force", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(lastLine(run.err), QStringLiteral("Written and confirmed: 1 of 1."));
    run = runWithoutDisplay(kGcs, {"--get", "RTL_ALT", "--port", port});
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 1500\n"));

    QFile journal(path);
    QVERIFY(journal.open(QIODevice::Append));
    journal.write("\x01junk\n");
    journal.close();
    run = runWithoutDisplay(kGcs, {"--undo", "9"});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, "zefa-gcs: Lines of " + path + " skipped, as they cannot be read: " +
                          QString::number(contentOf(path).count('\n')) +
                          ".\nzefa-gcs: No change set 9 in the change journal " + path + ".\n");
}

// The journal's folder cannot be made (a file stands in its place): --set
// is refused before anything is sent; --history still answers.
void TestTransferCommand::aChangeTheJournalCannotRecordIsWrittenAndSaysSo()
{
    const QString blocker = dir.filePath("blocker");
    writeFile(blocker, "not a folder");
    const QString path = blocker + "/changes.journal";
    qputenv("ZEFA_GCS_JOURNAL", path.toLocal8Bit());
    SimulatorProgram sim(kSimulator, {});
    const QString port = sim.slavePath();
    ProgramRun run = runWithoutDisplay(kGcs, {"--set", "RTL_ALT=7", "--port", port});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(lastLine(run.err), "Cannot write the change journal " + path +
                                    ": its folder cannot be created. History cannot undo these "
                                    "writes.");
    QVERIFY(run.err.contains("Written and confirmed: 1 of 1.\n"));
    run = runWithoutDisplay(kGcs, {"--get", "RTL_ALT", "--port", port});
    QCOMPARE(run.out, QStringLiteral("RTL_ALT 7\n"));
    run = runWithoutDisplay(kGcs, {"--history"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, "The change journal " + path + " holds no change set.\n");
}

QTEST_GUILESS_MAIN(TestTransferCommand)
#include "tst_transfercommand.moc"
