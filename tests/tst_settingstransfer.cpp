#include "support/filesizelimit.h"
#include "support/modalboxcloser.h"
#include "support/paramtables.h"
#include "support/simulatedfc.h"
#include "support/simulatorwait.h"

#include "app/transferdialogs.h"
#include "serial/fclink.h"

#include "params/paramtransfer.h"
#include "session/fcsession.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The noisy line every full run has to survive.
constexpr double kGarbledBytes = 0.01;
constexpr double kDroppedAnswers = 0.02;
constexpr int kRunTimeoutMs = 120000;

// Runs an action on the next modal widget of type T, from a timer, so that
// it happens inside whatever nested event loop shows it.
template <typename T> class WhenModal : public QObject
{
public:
    explicit WhenModal(std::function<void(T *)> act) : action(std::move(act))
    {
        connect(&timer, &QTimer::timeout, this, &WhenModal::check);
        timer.start(10);
    }
    bool done() const { return handled; }

private:
    void check()
    {
        T *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (handled || !widget || !widget->isVisible())
            return;
        handled = true;
        timer.stop();
        action(widget);
    }

    QTimer timer;
    std::function<void(T *)> action;
    bool handled = false;
};

// Typed into the name field: selectFile() leaves the field alone once it
// has the focus. Replacing a file is agreed to beforehand.
void chooseFile(QFileDialog *dialog, const QString &path)
{
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
}

TransferProgressDialog *progressDialog(GcsHarness &gcs)
{
    return gcs.window().findChild<TransferProgressDialog *>();
}

QString progressText(GcsHarness &gcs)
{
    return progressDialog(gcs)->findChild<QLabel *>("transferProgressText")->text();
}

void cancelTransfer(GcsHarness &gcs)
{
    for (QPushButton *button : progressDialog(gcs)->findChildren<QPushButton *>()) {
        if (button->text() == QLatin1String("Cancel"))
            button->click();
    }
}

bool simulatorGotAWrite(const FcSimulator &sim)
{
    for (const MavLinkMessage &msg : sim.receivedFrames()) {
        if (msg.msgid == MavMsg::ParamSet)
            return true;
    }
    return false;
}

// Each name once, however often it was sent.
QStringList writtenNames(FcSimulator &sim)
{
    QStringList names;
    for (const QString &frame : receivedBySimulator(sim)) {
        if (frame.startsWith("set "))
            names << frame.mid(4).section('=', 0, 0);
    }
    names.removeDuplicates();
    return names;
}

struct ChangeListSeen
{
    QString title;
    QStringList rows;
    QString summary;
};

// Reads the change list and presses Write.
void writeChanges(ChangeListDialog *dialog, ChangeListSeen &seen)
{
    seen.title = dialog->windowTitle();
    const QTreeWidget *list = dialog->findChild<QTreeWidget *>("changeList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        seen.rows << QStringLiteral("%1 %2 %3").arg(item->text(0), item->text(1), item->text(2));
    }
    seen.summary = dialog->findChild<QLabel *>("changeSummary")->text();
    dialog->findChild<QPushButton *>("writeButton")->click();
}

// A backup or restore started from the menu: the file dialog gets the path,
// a change list is read and written, every box is recorded and closed.
class MenuRun
{
public:
    MenuRun(GcsHarness &gcs, const char *action, const QString &path)
        : files([path](QFileDialog *d) { chooseFile(d, path); }),
          changeList([this](ChangeListDialog *d) { writeChanges(d, seen); })
    {
        gcs.action(action)->trigger();
    }

    bool ended() const { return !boxes.boxes().isEmpty(); }
    QString report() const { return boxes.boxes().value(0).text; }

    ModalBoxCloser boxes;
    ChangeListSeen seen;

private:
    WhenModal<QFileDialog> files;
    WhenModal<ChangeListDialog> changeList;
};

} // namespace

class TestSettingsTransfer : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void backupOverANoisyLineHoldsTheWholeTable();
    void restoreOverANoisyLineLeavesTheFileOnTheFc();
    void restoreNeedsADisarmedFcThatIsAlive_data();
    void restoreNeedsADisarmedFcThatIsAlive();
    void setNamesItsOwnRefusals_data();
    void setNamesItsOwnRefusals();
    void fileOfAnotherVehicleIsAskedAbout();
    void cancelledBackupWritesNoFile();
    void backupBeyondTheFileSizeLimitKeepsTheOldFile();
    void backupIsOfferedInTheDocumentsFolder();
    void interruptedRestoreKeepsWhatTheFcConfirmed_data();
    void interruptedRestoreKeepsWhatTheFcConfirmed();
    void saveDuringARestoreWaitsForIt();
};

void TestSettingsTransfer::backupOverANoisyLineHoldsTheWholeTable()
{
    SimulatedFc fc;
    fc.sim.setFaultRate(kGarbledBytes, 7);
    fc.sim.setParamDropRate(kDroppedAnswers, 7);
    const QString path = dir.filePath("noisy.params");
    QStringList progressSeen;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (progressDialog(fc.gcs) && progressDialog(fc.gcs)->isVisible())
            progressSeen << progressText(fc.gcs);
    });
    watch.start(50);
    MenuRun run(fc.gcs, "actionBackUpSettings", path);

    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);
    QCOMPARE(run.boxes.titles(), QStringList{"Back Up Settings"});
    const int count = fc.sim.parameterTable().count();
    QCOMPARE(run.report(),
             QStringLiteral("Backed up %1 parameters to %2 as five tab-separated columns.")
                 .arg(count)
                 .arg(path));
    QCOMPARE(fileRows(path), tableRows(fc.sim.parameterTable()));
    const QRegularExpression nOfN(QStringLiteral("^Reading parameters: \\d+ of %1$").arg(count));
    QVERIFY2(!progressSeen.filter(nOfN).isEmpty(), qPrintable(progressSeen.join('\n')));
    QVERIFY(!progressDialog(fc.gcs)->isVisible());
}

// Integer and float values change, a name the FC lacks is skipped and the
// firmware version is left alone.
void TestSettingsTransfer::restoreOverANoisyLineLeavesTheFileOnTheFc()
{
    SimulatedFc fc;
    const ValueChanges changes = someChanges(fc.sim.parameterTable());
    const QStringList expected = tableRows(fc.sim.parameterTable(), changes);
    ValueChanges fileChanges = changes;
    fileChanges.insert(QStringLiteral("ZEFAVERSION"), 21);
    const QString path = dir.filePath("edited.params");
    writeFile(path, backupOf(fc.sim.parameterTable(), fileChanges, "1\t1\tNOT_ON_THIS_FC\t3\t6\n"));
    fc.sim.setFaultRate(kGarbledBytes, 11);
    fc.sim.setParamDropRate(kDroppedAnswers, 11);

    MenuRun run(fc.gcs, "actionRestoreSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);

    QCOMPARE(run.seen.title, QStringLiteral("Restore Settings"));
    QCOMPARE(run.seen.rows.size(), changes.size());
    for (const QString &row : run.seen.rows)
        QVERIFY2(changes.contains(row.section(' ', 0, 0)), qPrintable(row));
    const int count = fc.sim.parameterTable().count();
    QCOMPARE(run.seen.summary,
             QStringLiteral("To write: %1; already equal: %2. Not on the FC, "
                            "skipped: NOT_ON_THIS_FC. Never written: ZEFAVERSION.")
                 .arg(changes.size())
                 .arg(count - 1 - changes.size()));
    QCOMPARE(run.boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(run.report(), QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));
    QCOMPARE(tableRows(fc.sim.parameterTable()), expected);
}

void TestSettingsTransfer::restoreNeedsADisarmedFcThatIsAlive_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("report");
    QTest::newRow("armed") << true
                           << "The FC is armed. Disarm it before restoring settings. Nothing was "
                              "written.";
    QTest::newRow("no heartbeat")
        << false << "No heartbeat from the FC; the restore stopped. Nothing was written.";
}

// Refused before the change list: nothing to ask, nothing written.
void TestSettingsTransfer::restoreNeedsADisarmedFcThatIsAlive()
{
    QFETCH(bool, armed);
    QFETCH(QString, report);
    SimulatedFc fc;
    fc.sim.setArmed(armed);
    fc.sim.setHeartbeatSilenced(!armed);
    const QString path = dir.filePath("refused.params");
    writeFile(path, backupOf(fc.sim.parameterTable(), someChanges(fc.sim.parameterTable())));
    MenuRun run(fc.gcs, "actionRestoreSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);

    QCOMPARE(run.boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(run.report(), report);
    QVERIFY(run.seen.title.isEmpty());
    QCOMPARE(writtenNames(fc.sim), QStringList());
}

void TestSettingsTransfer::setNamesItsOwnRefusals_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("report");
    QTest::newRow("armed")
        << true << "The FC is armed. Disarm it before setting values. Nothing was written.";
    QTest::newRow("no heartbeat")
        << false << "No heartbeat from the FC; writing the values stopped. Nothing was written.";
}

// Values given by name are no restore of settings, and their refusals say
// what was refused.
void TestSettingsTransfer::setNamesItsOwnRefusals()
{
    QFETCH(bool, armed);
    QFETCH(QString, report);
    SimulatedFc fc;
    fc.sim.setArmed(armed);
    fc.sim.setHeartbeatSilenced(!armed);
    FcSession &session = fc.gcs.session();
    ParamTransfer transfer(session.bridge(), session.parameters(), session.heartbeat(),
                           session.writeTurns());
    QSignalSpy finished(&transfer, &ParamTransfer::finished);
    ParamFileEntry value;
    QVERIFY(readAssignment("RTL_ALT=2500", value).isEmpty());
    transfer.startSet({value});
    QVERIFY(finished.wait(kRunTimeoutMs));
    QCOMPARE(finished.at(0).at(0).value<TransferReport>().message, report);
    QCOMPARE(writtenNames(fc.sim), QStringList());
}

// Answered with anything but Yes: no change list, nothing written.
void TestSettingsTransfer::fileOfAnotherVehicleIsAskedAbout()
{
    SimulatedFc fc;
    const QString path = dir.filePath("other.params");
    writeFile(path, "3\t1\tRTL_ALT\t2500\t9\n");
    MenuRun run(fc.gcs, "actionRestoreSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);

    QCOMPARE(run.boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(run.report(), QStringLiteral("The file was saved from system id 3; this FC is system "
                                          "id 1. Write its values to this FC anyway?"));
    QTRY_VERIFY(!progressDialog(fc.gcs)->isVisible());
    QVERIFY(run.seen.title.isEmpty());
    QCOMPARE(writtenNames(fc.sim), QStringList());
}

// No box either: the user knows what he did.
void TestSettingsTransfer::cancelledBackupWritesNoFile()
{
    SimulatedFc fc;
    const QString path = dir.filePath("cancelled.params");
    MenuRun run(fc.gcs, "actionBackUpSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(progressText(fc.gcs).startsWith("Reading parameters: "),
                             kRunTimeoutMs);
    cancelTransfer(fc.gcs);
    QVERIFY(!progressDialog(fc.gcs)->isVisible());
    pumpEvents(1500);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList({"cancelled*"}), QStringList());
    QCOMPARE(run.boxes.boxes().size(), 0);
}

// A disk that fills up while the backup is written: the box says why, and
// the backup that was there before is still whole.
void TestSettingsTransfer::backupBeyondTheFileSizeLimitKeepsTheOldFile()
{
    SimulatedFc fc;
    const QString path = dir.filePath("full.params");
    const QByteArray old = "# the backup of last week\nFRAME,1\n";
    writeFile(path, old);
    auto small = std::make_unique<FileSizeLimit>(4096);
    MenuRun run(fc.gcs, "actionBackUpSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);
    small.reset();

    QCOMPARE(run.boxes.titles(), QStringList{"Back Up Settings"});
    QCOMPARE(run.report(),
             QStringLiteral("Cannot write %1: File too large. No file was written.").arg(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(dir.path()).entryList({"full*"}), QStringList{"full.params"});
}

void TestSettingsTransfer::backupIsOfferedInTheDocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(QDir().mkpath(documents));
    SimulatedFc fc;
    QString offered;
    WhenModal<QFileDialog> files([&](QFileDialog *dialog) {
        offered =
            QDir(dialog->directory())
                .filePath(dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text());
        dialog->reject();
    });
    fc.gcs.action("actionBackUpSettings")->trigger();
    QVERIFY(files.done());
    const QString name =
        QStringLiteral("zefa-settings-%1.params").arg(QDate::currentDate().toString(Qt::ISODate));
    QCOMPARE(offered, QDir(documents).filePath(name));
    QVERIFY(!progressDialog(fc.gcs)->isVisible());
}

void TestSettingsTransfer::interruptedRestoreKeepsWhatTheFcConfirmed_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("why");
    QTest::newRow("cancelled") << true << "Restore cancelled.";
    QTest::newRow("armed meanwhile") << false << "The FC was armed; the restore stopped.";
}

// The write in flight ends; nothing is sent after it (after the armed
// heartbeat has arrived), and whatever the FC confirmed stays.
void TestSettingsTransfer::interruptedRestoreKeepsWhatTheFcConfirmed()
{
    QFETCH(bool, cancel);
    QFETCH(QString, why);
    SimulatedFc fc;
    const ValueChanges changes = someChanges(fc.sim.parameterTable(), 40);
    const QString path = dir.filePath("many.params");
    writeFile(path, backupOf(fc.sim.parameterTable(), changes));
    MenuRun run(fc.gcs, "actionRestoreSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(simulatorGotAWrite(fc.sim), kRunTimeoutMs);
    if (cancel)
        cancelTransfer(fc.gcs);
    else
        fc.sim.setArmed(true);
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);

    const QStringList written = writtenNames(fc.sim);
    QVERIFY(written.size() < changes.size());
    QCOMPARE(run.boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(run.report(), QStringLiteral("%1 Written and confirmed: %2 of %3. Not written: %4.")
                               .arg(why)
                               .arg(written.size())
                               .arg(changes.size())
                               .arg(changes.size() - written.size()));
    for (auto change = changes.begin(); change != changes.end(); ++change) {
        const bool applied = fc.sim.parameter(change.key()) == change.value();
        QCOMPARE(applied, written.contains(change.key()));
    }
}

// The FC's one writer serves a feature at a time: the Gain page's Save,
// clicked while a restore writes, goes out once the restore has ended.
void TestSettingsTransfer::saveDuringARestoreWaitsForIt()
{
    SimulatedFc fc;
    ValueChanges changes = someChanges(fc.sim.parameterTable(), 5);
    for (const QString &name : changes.keys()) {
        if (name.startsWith(QLatin1String("RATE_")))
            changes.remove(name);
    }
    const QString path = dir.filePath("some.params");
    writeFile(path, backupOf(fc.sim.parameterTable(), changes));
    MenuRun run(fc.gcs, "actionRestoreSettings", path);
    QTRY_VERIFY_WITH_TIMEOUT(simulatorGotAWrite(fc.sim), kRunTimeoutMs);
    fc.gcs.click("pidSaveButton");
    QTRY_VERIFY_WITH_TIMEOUT(run.ended(), kRunTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(fc.gcs.widget<QStatusBar>("statusBar")
                                 ->currentMessage()
                                 .startsWith(QLatin1String("Gain saved")),
                             kRunTimeoutMs);

    QCOMPARE(run.report(), QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));
    QStringList sets = receivedBySimulator(fc.sim).filter(QRegularExpression("^set "));
    for (QString &set : sets)
        set = set.mid(4).section('=', 0, 0);
    const int lastOfRestore = sets.lastIndexOf(QRegularExpression("(?!RATE_).*"));
    const int firstOfSave = sets.indexOf(QRegularExpression("RATE_.*"));
    QVERIFY2(firstOfSave > lastOfRestore, qPrintable(sets.join(' ')));
}

QTEST_MAIN(TestSettingsTransfer)
#include "tst_settingstransfer.moc"
