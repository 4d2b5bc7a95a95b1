#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"

#include "app/allparameterswindow.h"
#include "app/historydialog.h"
#include "fc/units.h"
#include "params/changejournal.h"
#include "params/parameterstore.h"
#include "params/paramtype.h"
#include "session/fcsession.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// Action > History... against the simulated FC: the window's writes are
// change sets, newest first, and Undo writes a set's values before back.

namespace {

constexpr int kTimeoutMs = 60000;
const QStringList kGainParameters = {"RATE_RLL_P", "RATE_RLL_I", "RATE_RLL_D", "RATE_PIT_P",
                                     "RATE_PIT_I", "RATE_PIT_D", "RATE_YAW_P"};

QString statusText(GcsHarness &gcs)
{
    return gcs.widget<QStatusBar>("statusBar")->currentMessage();
}

// All Parameters read the whole list: every value before is known.
AllParametersWindow *openAllParameters(GcsHarness &gcs)
{
    gcs.action("actionAllParameters")->trigger();
    auto *parameters = gcs.window().findChild<AllParametersWindow *>();
    auto *status = parameters->findChild<QLabel *>("parameterStatus");
    if (!QTest::qWaitFor([status] { return status->text().startsWith("Read "); }, kTimeoutMs))
        qFatal("the list was not read");
    return parameters;
}

void clickGainSave(GcsHarness &gcs)
{
    for (const char *box : {"pidRoll", "pidPitch", "pidYaw"}) {
        auto *spin = gcs.widget<QAbstractSpinBox>(box);
        spin->selectAll();
        QTest::keyClicks(spin, QStringLiteral("7.00"));
    }
    gcs.click("pidSaveButton");
}

void saveGain(GcsHarness &gcs)
{
    clickGainSave(gcs);
    QTRY_COMPARE_WITH_TIMEOUT(
        statusText(gcs), QStringLiteral("Gain saved: 7 values confirmed by the FC"), kTimeoutMs);
}

QList<float> valuesOf(FcSimulator &sim, const QStringList &names)
{
    QList<float> values;
    for (const QString &name : names)
        values << sim.parameter(name);
    return values;
}

QStringList rowsOf(const QTableView *table)
{
    const QAbstractItemModel *model = table->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            if (model->headerData(column, Qt::Horizontal) != QLatin1String("Time"))
                cells << model->index(row, column).data().toString();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// Opens History... and runs the test in it: the dialog is modal.
void inHistory(GcsHarness &gcs, std::function<void(HistoryDialog *)> action)
{
    QTimer::singleShot(0, [action] {
        auto *dialog = qobject_cast<HistoryDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        action(dialog);
        dialog->reject();
    });
    gcs.action("actionHistory")->trigger();
}

void undoRow(HistoryDialog *dialog, int row)
{
    dialog->findChild<QTableView *>("historySets")->selectRow(row);
    dialog->findChild<QPushButton *>("undoButton")->click();
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void init();
    void windowWritesAreChangeSetsThatUndoWritesBack();
    void undoAsksAboutValuesChangedSinceAndRefusesWhileArmed();
    void aSaveTheJournalCannotRecordIsWrittenAndSaysSo();
};

// Each test with a journal of its own.
void TestHistory::init()
{
    qputenv("ZEFA_GCS_JOURNAL",
            dir.filePath(QString::fromLatin1(QTest::currentTestFunction())).toLocal8Bit());
}

void TestHistory::windowWritesAreChangeSetsThatUndoWritesBack()
{
    SimulatedFc fc;
    const QList<float> gainBefore = valuesOf(fc.sim, kGainParameters);
    AllParametersWindow *parameters = openAllParameters(fc.gcs);
    saveGain(fc.gcs);
    auto *status = parameters->findChild<QLabel *>("parameterStatus");
    QAbstractItemModel *model = parameters->findChild<QTableView *>("parameterTable")->model();
    const QModelIndex rtlAlt =
        model->match(model->index(0, 0), Qt::DisplayRole, "RTL_ALT").value(0);
    QVERIFY(model->setData(rtlAlt.siblingAtColumn(1), "2500.25"));
    parameters->findChild<QPushButton *>("writeParametersButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Written and confirmed: 1 of 1."),
                              kTimeoutMs);
    parameters->close();

    ModalBoxCloser boxes;
    inHistory(fc.gcs, [&](HistoryDialog *dialog) {
        auto *sets = dialog->findChild<QTableView *>("historySets");
        auto *changes = dialog->findChild<QTableWidget *>("historyChanges");
        QCOMPARE(rowsOf(sets), (QStringList{"2|All Parameters|1", "1|Gain|7"}));
        QCOMPARE(rowsOf(changes), QStringList{"RTL_ALT|1500|2500.25|confirmed"});

        undoRow(dialog, 0);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 1, kTimeoutMs);
        QCOMPARE(fc.sim.parameter("RTL_ALT"), 1500.0f);
        undoRow(dialog, 2);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 2, kTimeoutMs);
        QCOMPARE(valuesOf(fc.sim, kGainParameters), gainBefore);
        QCOMPARE(rowsOf(sets).mid(0, 2), (QStringList{"4|Undo of 1|7", "3|Undo of 2|1"}));
    });
    QCOMPARE(boxes.titles(), (QStringList{"Undo", "Undo"}));
    QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("Written and confirmed: 1 of 1."));
    QCOMPARE(boxes.boxes().at(1).text, QStringLiteral("Written and confirmed: 7 of 7."));
    QString error;
    const JournalContents journal = readJournal(ChangeJournal::defaultPath(), error);
    QCOMPARE(journal.sets.at(1).snapshot.size(), fc.sim.parameterTable().count());
}

// RATE_YAW_P written by someone else after the Save: the question names it,
// No leaves it; an armed FC gets nothing.
void TestHistory::undoAsksAboutValuesChangedSinceAndRefusesWhileArmed()
{
    SimulatedFc fc;
    const float yawBefore = fc.sim.parameter("RATE_YAW_P");
    openAllParameters(fc.gcs)->close();
    saveGain(fc.gcs);
    fc.sim.setParameter("RATE_YAW_P", 0.5f);
    ModalBoxCloser boxes([](int) {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (QAbstractButton *no = box->button(QMessageBox::No))
            no->click();
    });
    inHistory(fc.gcs, [&](HistoryDialog *dialog) {
        undoRow(dialog, 0);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 2, kTimeoutMs);
        QCOMPARE(fc.sim.parameter("RATE_YAW_P"), 0.5f);
        QVERIFY(fc.sim.parameter("RATE_RLL_P") != 0.5f);

        fc.sim.setArmed(true);
        QTRY_VERIFY_WITH_TIMEOUT(fc.gcs.session().heartbeat().armed(), kTimeoutMs);
        undoRow(dialog, 1);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 3, kTimeoutMs);
    });
    QCOMPARE(boxes.titles(), (QStringList{"Undo", "Undo", "Undo"}));
    QCOMPARE(boxes.boxes().at(0).text,
             QStringLiteral("These values were changed since the change set:\n\nRATE_YAW_P: set "
                            "to %1, the FC now holds 0.5, before it was %2\n\nWrite the values "
                            "before over them too? No leaves them as they are.")
                 .arg(ParamType::valueText(Fc::yawRateP(7.0), ParamType::Real32),
                      ParamType::valueText(yawBefore, ParamType::Real32)));
    QCOMPARE(boxes.boxes().at(1).text, QStringLiteral("Written and confirmed: 6 of 6. Changed "
                                                      "since, left alone: RATE_YAW_P."));
    QCOMPARE(boxes.boxes().at(2).text, QStringLiteral("The FC is armed. Disarm it before undoing "
                                                      "changes. Nothing was written."));
}

// A file where the journal's folder should be: the Save sends nothing.
void TestHistory::aSaveTheJournalCannotRecordIsWrittenAndSaysSo()
{
    const QString blocker = dir.filePath("blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString path = blocker + "/changes.journal";
    qputenv("ZEFA_GCS_JOURNAL", path.toLocal8Bit());
    SimulatedFc fc;
    const QList<float> gainBefore = valuesOf(fc.sim, kGainParameters);
    ModalBoxCloser boxes;
    saveGain(fc.gcs);
    QCOMPARE(boxes.titles(), QStringList{"Save"});
    QCOMPARE(boxes.boxes().at(0).text,
             "Gain is written to the FC, but History cannot undo it: no record of it can be "
             "kept.\n\nCannot write the change journal " +
                 path + ": its folder cannot be created.");
    QVERIFY(valuesOf(fc.sim, kGainParameters) != gainBefore);
}

QTEST_MAIN(TestHistory)

#include "tst_history.moc"
