#include "support/ptypair.h"
#include "support/scriptedfc.h"

#include "mavlink/mavlinkbridge.h"
#include "params/paramfile.h"
#include "params/paramtransfer.h"
#include "serial/portlist.h"
#include "session/fcsession.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// A backup's reading of the whole list, against an FC played by the test
// that loses exactly what each case says.

namespace {

constexpr int kRunTimeoutMs = 30000;

// A backup through the link, the FC on the terminal's other end.
class LinkedBackup
{
public:
    LinkedBackup()
        : transfer(session.bridge(), session.parameters(), session.heartbeat(),
                   session.writeTurns())
    {
        setFlightControllerPortOverride(pty.slavePath());
        QTest::ignoreMessage(QtDebugMsg, "port attached: true");
        opened = session.open();
        setFlightControllerPortOverride(QString());
    }

    QString path() const { return dir.filePath("three.params"); }
    QString restoreFile() const
    {
        const QString path = dir.filePath("restore.param");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("BRAVO,4\n");
        return path;
    }

    // The report's text; empty when the link did not open or no report came.
    QString run(const std::function<void(ParamTransfer &)> &start)
    {
        QSignalSpy finished(&transfer, &ParamTransfer::finished);
        start(transfer);
        if (!opened || !finished.wait(kRunTimeoutMs))
            return QString();
        return finished.at(0).at(0).value<TransferReport>().message;
    }
    QString run()
    {
        return run([this](ParamTransfer &backup) { backup.startBackup(path()); });
    }

    PtyPair pty;

private:
    FcSession session;
    ParamTransfer transfer;
    QTemporaryDir dir;
    bool opened = false;
};

} // namespace

Q_DECLARE_METATYPE(Losses)

class TestParamListRead : public QObject
{
    Q_OBJECT

private slots:
    void missingParametersAreAskedForByIndex_data();
    void missingParametersAreAskedForByIndex();
    void countBeyondAnyR7EndsTheReadAtOnce_data();
    void countBeyondAnyR7EndsTheReadAtOnce();
    void countThatCannotBeRightIsGivenUpAndAskedNoMore();
    void nameReportedTwiceFailsEveryRun_data();
    void nameReportedTwiceFailsEveryRun();
};

void TestParamListRead::missingParametersAreAskedForByIndex_data()
{
    QTest::addColumn<Losses>("losses");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("requests"); // what the FC heard after the version check
    QTest::addColumn<int>("strayIndex");   // of a report added to the list

    const QString backedUp = "Backed up 3 parameters to %1 as five tab-separated columns.";
    const QString oneMissing = "1 of 3 parameters did not arrive from the FC. No file was written.";
    const QString allRounds = "list" + QString(" get #2").repeated(9);
    QTest::newRow("one lost from the list")
        << Losses{{1}, {}, 0} << backedUp << "list get #1" << -1;
    QTest::newRow("the list request lost") << Losses{{}, {}, 1} << backedUp << "list list" << -1;
    QTest::newRow("an index that never answers")
        << Losses{{}, {2}, 0} << oneMissing << allRounds << -1;
    // Indexes run from 0 to count - 1: this one fills no gap.
    QTest::newRow("a report at the count's index")
        << Losses{{}, {2}, 0} << oneMissing << allRounds << 3;
}

void TestParamListRead::missingParametersAreAskedForByIndex()
{
    QFETCH(Losses, losses);
    QFETCH(QString, report);
    QFETCH(QString, requests);
    QFETCH(int, strayIndex);

    LinkedBackup backup;
    ScriptedFc fc(backup.pty, losses, ScriptedFc::kParameters, strayIndex);
    QCOMPARE(backup.run(), report.replace(QLatin1String("%1"), backup.path()));
    QCOMPARE(fc.heard.mid(1).join(' '), requests);
    QFile file(backup.path());
    QCOMPARE(file.open(QIODevice::ReadOnly), losses.always.isEmpty());
    if (losses.always.isEmpty())
        QCOMPARE(parseParamFile(file.readAll()).entries.size(), ScriptedFc::kParameters);
}

void TestParamListRead::countBeyondAnyR7EndsTheReadAtOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one beyond the bound") << 1025;
    QTest::newRow("the most a count holds") << 65535;
}

// A garbled or foreign count is not waited on for hours.
void TestParamListRead::countBeyondAnyR7EndsTheReadAtOnce()
{
    QFETCH(int, count);
    LinkedBackup backup;
    ScriptedFc fc(backup.pty, {}, count);
    QCOMPARE(backup.run(), QStringLiteral("The FC reports %1 parameters, more than an R7 has "
                                          "(this program reads at most 1024). No file was "
                                          "written.")
                               .arg(count));
    QCOMPARE(fc.heard.mid(1), QStringList{"list"});
    QVERIFY(!QFile::exists(backup.path()));
}

// 1024 is within the bound, so the missing indexes are asked for; rounds
// that bring nothing end the read, and no request is left to go out after
// it.
void TestParamListRead::countThatCannotBeRightIsGivenUpAndAskedNoMore()
{
    LinkedBackup backup;
    ScriptedFc fc(backup.pty, {}, 1024);
    QCOMPARE(backup.run(),
             QStringLiteral("1021 of 1024 parameters did not arrive from the FC. No file was "
                            "written."));
    const int heardAtTheEnd = fc.heard.size();
    QVERIFY(fc.heard.contains("get #3"));
    QTest::qWait(500);
    QCOMPARE(fc.heard.mid(heardAtTheEnd), QStringList());
}

void TestParamListRead::nameReportedTwiceFailsEveryRun_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("ending");
    QTest::newRow("backup") << "backup"
                            << " No file was written.";
    QTest::newRow("get, another name") << "get"
                                       << "";
    QTest::newRow("restore") << "restore"
                             << " Nothing was written.";
}

// Which of the two values the FC holds cannot be told: a backup cannot
// save it, --get cannot print it, a restore cannot plan against it.
void TestParamListRead::nameReportedTwiceFailsEveryRun()
{
    QFETCH(QString, command);
    QFETCH(QString, ending);
    LinkedBackup linked;
    ScriptedFc fc(linked.pty, {}, ScriptedFc::kParameters + 1, ScriptedFc::kParameters);
    const QString restoreFile = linked.restoreFile();
    const QString report = linked.run([&](ParamTransfer &transfer) {
        if (command == "backup")
            transfer.startBackup(linked.path());
        else if (command == "get")
            transfer.startGet({"BRAVO"});
        else
            transfer.startRestore(restoreFile);
    });
    QCOMPARE(report, "The FC reports ALPHA twice, as 0.25 (type 9) and as 1.25 (type 9); which "
                     "one it holds cannot be told." +
                         ending);
}

QTEST_GUILESS_MAIN(TestParamListRead)
#include "tst_paramlistread.moc"
