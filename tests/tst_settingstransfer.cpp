#include "support/modalboxcloser.h"
#include "support/paramtables.h"
#include "support/simulatedfc.h"
#include "support/simulatorwait.h"

#include "app/transferdialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

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
// has the focus.
void chooseFile(QFileDialog *dialog, const QString &path)
{
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

// Reads the change list and presses Write, or Cancel.
std::unique_ptr<WhenModal<ChangeListDialog>> answerChangeList(ChangeListSeen &seen, bool write)
{
    return std::make_unique<WhenModal<ChangeListDialog>>([&seen, write](ChangeListDialog *d) {
        seen.title = d->windowTitle();
        const QTreeWidget *list = d->findChild<QTreeWidget *>("changeList");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            seen.rows
                << QStringLiteral("%1 %2 %3").arg(item->text(0), item->text(1), item->text(2));
        }
        seen.summary = d->findChild<QLabel *>("changeSummary")->text();
        if (write)
            d->findChild<QPushButton *>("writeButton")->click();
        else
            d->reject();
    });
}

} // namespace

class TestSettingsTransfer : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void backupOverANoisyLineHoldsTheWholeTable();
    void restoreOverANoisyLineLeavesTheFileOnTheFc();
    void restoreIsRefusedWhileArmed();
    void restoreStopsWhenTheFcArms();
    void restoreWithoutHeartbeatWritesNothing();
    void cancelledBackupWritesNoFile();
    void cancelledRestoreStopsAfterTheWriteInFlight();
};

void TestSettingsTransfer::backupOverANoisyLineHoldsTheWholeTable()
{
    SimulatedFc fc;
    fc.sim.setFaultRate(kGarbledBytes, 7);
    fc.sim.setParamDropRate(kDroppedAnswers, 7);
    const QString path = dir.filePath("noisy.param");
    QStringList progressSeen;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (progressDialog(fc.gcs) && progressDialog(fc.gcs)->isVisible())
            progressSeen << progressText(fc.gcs);
    });
    watch.start(50);
    ModalBoxCloser boxes;
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionBackUpSettings")->trigger();

    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);
    QCOMPARE(boxes.titles(), QStringList{"Back Up Settings"});
    const int count = fc.sim.parameterTable().count();
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("Backed up %1 parameters to %2.").arg(count).arg(path));
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
    const QString path = dir.filePath("edited.param");
    writeFile(path, backupOf(fc.sim.parameterTable(), fileChanges, "1\t1\tNOT_ON_THIS_FC\t3\t6\n"));
    fc.sim.setFaultRate(kGarbledBytes, 11);
    fc.sim.setParamDropRate(kDroppedAnswers, 11);

    ModalBoxCloser boxes;
    ChangeListSeen seen;
    const auto changeList = answerChangeList(seen, true);
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    QCOMPARE(seen.title, QStringLiteral("Restore Settings"));
    QCOMPARE(seen.rows.size(), changes.size());
    for (const QString &row : seen.rows)
        QVERIFY2(changes.contains(row.section(' ', 0, 0)), qPrintable(row));
    const int count = fc.sim.parameterTable().count();
    QCOMPARE(seen.summary, QStringLiteral("To write: %1; already equal: %2. Not on the FC, "
                                          "skipped: NOT_ON_THIS_FC. Never written: ZEFAVERSION.")
                               .arg(changes.size())
                               .arg(count - 1 - changes.size()));
    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("Written and confirmed: %1 of %1.").arg(changes.size()));
    QCOMPARE(tableRows(fc.sim.parameterTable()), expected);
}

void TestSettingsTransfer::restoreIsRefusedWhileArmed()
{
    SimulatedFc fc;
    fc.sim.setArmed(true);
    const QString path = dir.filePath("armed.param");
    writeFile(path, backupOf(fc.sim.parameterTable(), someChanges(fc.sim.parameterTable())));
    ModalBoxCloser boxes;
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("The FC is armed. Disarm it before restoring settings. "
                            "Nothing was written."));
    QCOMPARE(writtenNames(fc.sim), QStringList());
}

// The next heartbeat tells; no write goes out after it.
void TestSettingsTransfer::restoreStopsWhenTheFcArms()
{
    SimulatedFc fc;
    const ValueChanges changes = someChanges(fc.sim.parameterTable(), 40);
    const QString path = dir.filePath("arming.param");
    writeFile(path, backupOf(fc.sim.parameterTable(), changes));
    ModalBoxCloser boxes;
    ChangeListSeen seen;
    const auto changeList = answerChangeList(seen, true);
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(simulatorGotAWrite(fc.sim), kRunTimeoutMs);
    fc.sim.setArmed(true);
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    const QStringList written = writtenNames(fc.sim);
    QVERIFY(written.size() < changes.size());
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("The FC was armed; the restore stopped. Written and confirmed: %1 of "
                            "%2. Not written: %3.")
                 .arg(written.size())
                 .arg(changes.size())
                 .arg(changes.size() - written.size()));
}

void TestSettingsTransfer::restoreWithoutHeartbeatWritesNothing()
{
    SimulatedFc fc;
    fc.sim.setHeartbeatSilenced(true);
    const QString path = dir.filePath("silent.param");
    writeFile(path, backupOf(fc.sim.parameterTable(), someChanges(fc.sim.parameterTable())));
    ModalBoxCloser boxes;
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("No heartbeat from the FC; the restore stopped. Nothing was written."));
    QCOMPARE(writtenNames(fc.sim), QStringList());
}

// No box either: the user knows what he did.
void TestSettingsTransfer::cancelledBackupWritesNoFile()
{
    SimulatedFc fc;
    const QString path = dir.filePath("cancelled.param");
    ModalBoxCloser boxes;
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionBackUpSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(progressText(fc.gcs).startsWith("Reading parameters: "),
                             kRunTimeoutMs);
    cancelTransfer(fc.gcs);
    QVERIFY(!progressDialog(fc.gcs)->isVisible());
    pumpEvents(1500);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList({"cancelled*"}), QStringList());
    QCOMPARE(boxes.boxes().size(), 0);
}

// Whatever the FC confirmed before the cancel stays; nothing is sent after
// the write in flight.
void TestSettingsTransfer::cancelledRestoreStopsAfterTheWriteInFlight()
{
    SimulatedFc fc;
    const ValueChanges changes = someChanges(fc.sim.parameterTable(), 5);
    const QString path = dir.filePath("many.param");
    writeFile(path, backupOf(fc.sim.parameterTable(), changes));
    ModalBoxCloser boxes;
    ChangeListSeen seen;
    const auto changeList = answerChangeList(seen, true);
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(simulatorGotAWrite(fc.sim), kRunTimeoutMs);
    cancelTransfer(fc.gcs);
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    const QStringList written = writtenNames(fc.sim);
    QVERIFY(written.size() < changes.size());
    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("Restore cancelled. Written and confirmed: %1 of %2. Not written: %3.")
                 .arg(written.size())
                 .arg(changes.size())
                 .arg(changes.size() - written.size()));
    for (auto change = changes.begin(); change != changes.end(); ++change) {
        const bool applied = fc.sim.parameter(change.key()) == change.value();
        QCOMPARE(applied, written.contains(change.key()));
    }
}

QTEST_MAIN(TestSettingsTransfer)
#include "tst_settingstransfer.moc"
