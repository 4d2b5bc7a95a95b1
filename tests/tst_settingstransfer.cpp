#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"
#include "support/simulatorwait.h"

#include "app/transferdialogs.h"
#include "params/paramfile.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

// The noisy line every full run has to survive.
constexpr double kGarbledBytes = 0.01;
constexpr double kDroppedAnswers = 0.02;
constexpr int kRunTimeoutMs = 120000;

QString bitsText(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return QString::number(bits, 16);
}

// "NAME bits type" per parameter, sorted by name, with some values changed.
QStringList simulatorTable(const FcSimulator &sim, const QMap<QString, float> &changes = {})
{
    QStringList rows;
    const ParameterTable &table = sim.parameterTable();
    for (int i = 0; i < table.count(); ++i) {
        const FcParameter &p = table.at(i);
        const float value = changes.value(p.name, p.value);
        rows << QStringLiteral("%1 %2 %3").arg(p.name, bitsText(value)).arg(p.type);
    }
    rows.sort();
    return rows;
}

QList<ParamFileEntry> fileEntries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const ParamFile parsed = parseParamFile(file.readAll());
    if (parsed.error.isError())
        qWarning("%s", qPrintable(parsed.error.text()));
    return parsed.entries;
}

QStringList fileTable(const QString &path)
{
    QStringList rows;
    for (const ParamFileEntry &e : fileEntries(path))
        rows << QStringLiteral("%1 %2 %3").arg(e.name, bitsText(e.value)).arg(e.type);
    return rows;
}

// The simulator's table as a backup file, with some values changed.
QByteArray editedBackup(const FcSimulator &sim, const QMap<QString, float> &changes,
                        const QByteArray &extraLines = QByteArray())
{
    QList<ParameterReport> params;
    const ParameterTable &table = sim.parameterTable();
    for (int i = 0; i < table.count(); ++i) {
        ParameterReport p;
        p.name = table.at(i).name;
        p.value = changes.value(p.name, table.at(i).value);
        p.type = table.at(i).type;
        p.systemId = p.componentId = 1;
        params << p;
    }
    return formatParamFile({QStringLiteral("test"), QStringLiteral("20"), QDateTime()}, params) +
           extraLines;
}

// One changed value each for the first INT8, INT16, INT32 and REAL32
// parameters after the firmware version.
QMap<QString, float> someChanges(const FcSimulator &sim, int perType = 1)
{
    QMap<QString, float> changes;
    QMap<int, int> taken;
    const ParameterTable &table = sim.parameterTable();
    for (int i = 1; i < table.count(); ++i) {
        const FcParameter &p = table.at(i);
        if (taken[p.type]++ >= perType)
            continue;
        changes.insert(p.name, p.type == 9 ? p.value * 1.5f + 0.1f : p.value > 0 ? 0 : 1);
    }
    return changes;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

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

QStringList writtenNames(FcSimulator &sim)
{
    QStringList names;
    for (const QString &frame : receivedBySimulator(sim)) {
        if (frame.startsWith("set "))
            names << frame.mid(4).section('=', 0, 0);
    }
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
    QCOMPARE(fileTable(path), simulatorTable(fc.sim));
    const QRegularExpression nOfN(QStringLiteral("^Reading parameters: \\d+ of %1$").arg(count));
    QVERIFY2(!progressSeen.filter(nOfN).isEmpty(), qPrintable(progressSeen.join('\n')));
    QVERIFY(!progressDialog(fc.gcs)->isVisible());
}

// Integer and float values change, a name the FC lacks is skipped and the
// firmware version is left alone.
void TestSettingsTransfer::restoreOverANoisyLineLeavesTheFileOnTheFc()
{
    SimulatedFc fc;
    const QMap<QString, float> changes = someChanges(fc.sim);
    const QStringList expected = simulatorTable(fc.sim, changes);
    QMap<QString, float> fileChanges = changes;
    fileChanges.insert(QStringLiteral("ZEFAVERSION"), 21);
    const QString path = dir.filePath("edited.param");
    writeFile(path, editedBackup(fc.sim, fileChanges, "1\t1\tNOT_ON_THIS_FC\t3\t6\n"));
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
    QCOMPARE(seen.summary, QStringLiteral("%1 values to write, %2 already equal. Not on the FC, "
                                          "skipped: NOT_ON_THIS_FC. Never written: ZEFAVERSION.")
                               .arg(changes.size())
                               .arg(count - 1 - changes.size()));
    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("%1 of %1 values written and confirmed.").arg(changes.size()));
    QCOMPARE(simulatorTable(fc.sim), expected);
}

void TestSettingsTransfer::restoreIsRefusedWhileArmed()
{
    SimulatedFc fc;
    fc.sim.setArmed(true);
    const QString path = dir.filePath("armed.param");
    writeFile(path, editedBackup(fc.sim, someChanges(fc.sim)));
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

void TestSettingsTransfer::restoreWithoutHeartbeatWritesNothing()
{
    SimulatedFc fc;
    fc.sim.setHeartbeatSilenced(true);
    const QMap<QString, float> changes = someChanges(fc.sim);
    const QString path = dir.filePath("silent.param");
    writeFile(path, editedBackup(fc.sim, changes));
    ModalBoxCloser boxes;
    ChangeListSeen seen;
    const auto changeList = answerChangeList(seen, true);
    WhenModal<QFileDialog> files([&](QFileDialog *d) { chooseFile(d, path); });
    fc.gcs.action("actionRestoreSettings")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRunTimeoutMs);

    QCOMPARE(boxes.titles(), QStringList{"Restore Settings"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("No heartbeat from the FC for 3 seconds; the restore stopped. 0 of %1 "
                            "values written and confirmed. Not written: %1 values.")
                 .arg(changes.size()));
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
    const QMap<QString, float> changes = someChanges(fc.sim, 5);
    const QString path = dir.filePath("many.param");
    writeFile(path, editedBackup(fc.sim, changes));
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
             QStringLiteral("Restore cancelled. %1 of %2 values written and confirmed. "
                            "Not written: %3 values.")
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
