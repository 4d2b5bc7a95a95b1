#include "support/paramtables.h"
#include "support/programs.h"

#include "fcsim/parametertable.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

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
