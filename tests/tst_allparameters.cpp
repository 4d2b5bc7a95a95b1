#include "support/modalboxcloser.h"
#include "support/paramtables.h"
#include "support/simulatedfc.h"
#include "support/simulatorwait.h"
#include "support/wire.h"

#include "app/allparameterswindow.h"
#include "app/comparedialog.h"
#include "app/parameditmodel.h"
#include "app/paramvaluedelegate.h"
#include "params/paramtype.h"
#include "session/fcsession.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <limits>

// Action > All Parameters... against the simulated FC.

namespace {

constexpr int kReadTimeoutMs = 60000;

class ParametersWindow
{
public:
    explicit ParametersWindow(SimulatedFc &fc) : fc(fc)
    {
        fc.gcs.action("actionAllParameters")->trigger();
        window = fc.gcs.window().findChild<AllParametersWindow *>();
    }

    QString status() const { return window->findChild<QLabel *>("parameterStatus")->text(); }
    QTableView *table() const { return window->findChild<QTableView *>("parameterTable"); }
    QAbstractItemModel *model() const { return table()->model(); }
    void click(const char *button) { window->findChild<QPushButton *>(button)->click(); }
    void filterBy(const QString &text)
    {
        auto *filter = window->findChild<QLineEdit *>("parameterFilter");
        filter->clear();
        QTest::keyClicks(filter, text);
    }
    bool listRead() const
    {
        return status() ==
               QStringLiteral("Read %1 parameters.").arg(fc.sim.parameterTable().count());
    }
    QModelIndex cell(const QString &name, int column) const
    {
        return model()->index(names().indexOf(name), column);
    }
    QString text(const QString &name, int column) const
    {
        return cell(name, column).data().toString();
    }
    QStringList names() const
    {
        QStringList out;
        for (int row = 0; row < model()->rowCount(); ++row)
            out << model()->index(row, ParamEditModel::NameColumn).data().toString();
        return out;
    }

    SimulatedFc &fc;
    AllParametersWindow *window = nullptr;
};

// How often the FC was sent a value for name.
int writesOf(FcSimulator &sim, const QString &name)
{
    return receivedBySimulator(sim).filter(QRegularExpression("^set " + name + "=")).size();
}

// Runs action on the next CompareDialog from inside its own event loop.
void whenCompareDialogShows(std::function<void(CompareDialog *)> action)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto *dialog = qobject_cast<CompareDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start(10);
}

} // namespace

class TestAllParameters : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void valueEditorTakesWhatTheTypeHolds_data();
    void valueEditorTakesWhatTheTypeHolds();
    void filterEditWriteAndRefresh();
    void compareWithFileTakesOverTheCheckedValues();
    void writingIsRefusedWhileTheFcIsArmed();
    void reconnectingSendsNothingOfTheWritesCutOff();
    void valueThatIsNoNumberIsShownNowhere_data();
    void valueThatIsNoNumberIsShownNowhere();
};

void TestAllParameters::valueEditorTakesWhatTheTypeHolds_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("INT8 at its top") << int(ParamType::Int8) << "127" << true;
    QTest::newRow("INT8 beyond") << int(ParamType::Int8) << "128" << false;
    QTest::newRow("INT32 fraction") << int(ParamType::Int32) << "1.5" << false;
    QTest::newRow("UINT32 at its top") << int(ParamType::Uint32) << "4294967040" << true;
    QTest::newRow("float, exponent") << int(ParamType::Real32) << "1.5e-3" << true;
    QTest::newRow("float beyond 32 bits") << int(ParamType::Real32) << "1e39" << false;
    QTest::newRow("decimal comma") << int(ParamType::Real32) << "0,5" << false;
}

void TestAllParameters::valueEditorTakesWhatTheTypeHolds()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    const ParamValueValidator validator(type, nullptr);
    int pos = 0;
    QCOMPARE(validator.validate(text, pos) == QValidator::Acceptable, acceptable);
}

// The list is read on opening. One echo is lost (the write is sent again)
// and one value is clamped by the FC (not confirmed, the FC's value shown).
void TestAllParameters::filterEditWriteAndRefresh()
{
    SimulatedFc fc;
    ParametersWindow w(fc);
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    const ParameterTable &table = fc.sim.parameterTable();
    QCOMPARE(w.model()->rowCount(), table.count());

    w.filterBy(QStringLiteral("rtl_"));
    QStringList expected;
    for (int i = 0; i < table.count(); ++i)
        expected << table.at(i).name;
    expected = expected.filter("RTL_");
    expected.sort();
    QCOMPARE(w.names(), expected);
    w.table()->sortByColumn(ParamEditModel::ValueColumn, Qt::AscendingOrder);
    QCOMPARE(w.model()->index(0, ParamEditModel::ValueColumn).data().toString(),
             QStringLiteral("0"));
    QCOMPARE(w.model()->index(w.names().size() - 1, ParamEditModel::ValueColumn).data().toString(),
             QStringLiteral("1500")); // as numbers: after 500 and 5
    w.filterBy(QString());
    QCOMPARE(w.model()->rowCount(), table.count());
    QVERIFY(!(w.cell("ZEFAVERSION", ParamEditModel::ValueColumn).flags() & Qt::ItemIsEditable));

    // The editor starts from the shortest exact text and takes what the
    // type holds only.
    w.table()->edit(w.cell("RTL_ALT", ParamEditModel::ValueColumn));
    auto *editor = w.table()->findChild<QLineEdit *>("parameterValueEditor");
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("1500"));
    editor->selectAll();
    QTest::keyClicks(editor, "2500.25");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(w.text("RTL_ALT", ParamEditModel::ValueColumn), QStringLiteral("2500.25"));
    QCOMPARE(writesOf(fc.sim, "RTL_ALT"), 0); // Return does not press Write
    const QModelIndex cpuWarn = w.cell("SYS_CPU_WARN", ParamEditModel::ValueColumn);
    QVERIFY(!w.model()->setData(cpuWarn, "300"));
    QVERIFY(!w.model()->setData(cpuWarn, "9.5"));
    QVERIFY(w.model()->setData(cpuWarn, "95"));
    QCOMPARE(w.text("SYS_CPU_WARN", ParamEditModel::StateColumn),
             QStringLiteral("changed, not written"));

    fc.sim.clampParameter("SYS_CPU_WARN", 0, 80);
    fc.sim.setParamDropRate(1.0);
    w.click("writeParametersButton");
    QTRY_VERIFY_WITH_TIMEOUT(writesOf(fc.sim, "RTL_ALT") > 0, kReadTimeoutMs);
    fc.sim.setParamDropRate(0.0);
    QTRY_VERIFY_WITH_TIMEOUT(w.status().startsWith("Written and confirmed"), kReadTimeoutMs);
    QCOMPARE(w.status(), QStringLiteral("Written and confirmed: 1 of 2. Not confirmed: "
                                        "SYS_CPU_WARN (the FC reports 80)."));
    QVERIFY(writesOf(fc.sim, "RTL_ALT") > 1);
    QCOMPARE(fc.sim.parameter("RTL_ALT"), 2500.25f);
    QCOMPARE(w.text("RTL_ALT", ParamEditModel::StateColumn), QStringLiteral("written, confirmed"));
    QCOMPARE(w.text("SYS_CPU_WARN", ParamEditModel::StateColumn),
             QStringLiteral("not confirmed: the FC reports 80"));
    QCOMPARE(w.text("SYS_CPU_WARN", ParamEditModel::ValueColumn), QStringLiteral("80"));

    fc.sim.setParameter("FRAME", 2);
    w.click("refreshParametersButton");
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    QCOMPARE(w.text("FRAME", ParamEditModel::ValueColumn), QStringLiteral("2"));
}

void TestAllParameters::compareWithFileTakesOverTheCheckedValues()
{
    SimulatedFc fc;
    ParametersWindow w(fc);
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    const QString path = dir.filePath("other.params");
    writeFile(path,
              backupOf(fc.sim.parameterTable(), {{"RTL_ALT", 1234.5f}, {"SYS_CPU_WARN", 70}}));

    QStringList rows;
    whenCompareDialogShows([&rows](CompareDialog *dialog) {
        auto *list = dialog->findChild<QTreeWidget *>("compareList");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            rows << QStringLiteral("%1 %2 %3").arg(item->text(0), item->text(1), item->text(2));
            if (item->text(0) == QLatin1String("SYS_CPU_WARN"))
                item->setCheckState(0, Qt::Unchecked);
        }
        dialog->findChild<QPushButton *>("takeOverButton")->click();
    });
    w.window->compareWithFile(path);

    QCOMPARE(rows, (QStringList{"RTL_ALT 1500 1234.5", "SYS_CPU_WARN 90 70"}));
    QCOMPARE(w.text("RTL_ALT", ParamEditModel::ValueColumn), QStringLiteral("1234.5"));
    QCOMPARE(w.text("RTL_ALT", ParamEditModel::StateColumn),
             QStringLiteral("changed, not written"));
    QCOMPARE(w.text("SYS_CPU_WARN", ParamEditModel::ValueColumn), QStringLiteral("90"));
    QCOMPARE(w.text("SYS_CPU_WARN", ParamEditModel::StateColumn), QString());
    QCOMPARE(writesOf(fc.sim, "RTL_ALT"), 0);
}

void TestAllParameters::writingIsRefusedWhileTheFcIsArmed()
{
    SimulatedFc fc;
    ParametersWindow w(fc);
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    QSignalSpy heartbeats(&fc.gcs.bridge(), &MavLinkBridge::heartbeatReceived);
    fc.sim.setArmed(true);
    QTRY_VERIFY_WITH_TIMEOUT(!heartbeats.isEmpty() && heartbeats.last().at(0).toBool(),
                             kReadTimeoutMs);
    QVERIFY(w.model()->setData(w.cell("RTL_ALT", ParamEditModel::ValueColumn), "2000"));

    ModalBoxCloser boxes;
    w.click("writeParametersButton");
    QTRY_COMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.titles(), QStringList{"All Parameters"});
    QCOMPARE(boxes.boxes().at(0).text,
             QStringLiteral("The FC is armed. Disarm it before writing parameters."));
    QCOMPARE(writesOf(fc.sim, "RTL_ALT"), 0);
    QCOMPARE(w.text("RTL_ALT", ParamEditModel::StateColumn),
             QStringLiteral("changed, not written"));
}

// The writer stops with the link: none of its retries and reads reaches the
// FC on the next one.
void TestAllParameters::reconnectingSendsNothingOfTheWritesCutOff()
{
    SimulatedFc fc;
    ParametersWindow w(fc);
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    fc.sim.setParamDropRate(1.0);
    QVERIFY(w.model()->setData(w.cell("RTL_ALT", ParamEditModel::ValueColumn), "2000"));
    ModalBoxCloser boxes;
    w.click("writeParametersButton");
    QTRY_VERIFY(writesOf(fc.sim, "RTL_ALT") > 0);
    fc.reconnectForASecond();
    QCOMPARE(fc.sentToFc(), QStringList{"get ZEFAVERSION"});
}

void TestAllParameters::valueThatIsNoNumberIsShownNowhere_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
}

// Neither the Advanced page nor the link's store nor the table takes it:
// all keep the last value that was a number.
void TestAllParameters::valueThatIsNoNumberIsShownNowhere()
{
    QFETCH(float, value);
    SimulatedFc fc;
    ParametersWindow w(fc);
    QTRY_VERIFY_WITH_TIMEOUT(w.listRead(), kReadTimeoutMs);
    fc.gcs.deliver(paramValueFrame(QStringLiteral("RTL_ALT"), 4500, 4));
    fc.gcs.deliver(paramValueFrame(QStringLiteral("RTL_ALT"), value, 4));

    QCOMPARE(fc.gcs.widget<QSpinBox>("advRTHalt")->value(), 45);
    QCOMPARE(fc.gcs.session().parameters().find("RTL_ALT")->value, 4500.0f);
    QCOMPARE(w.text("RTL_ALT", ParamEditModel::ValueColumn), QStringLiteral("4500"));
}

QTEST_MAIN(TestAllParameters)
#include "tst_allparameters.moc"
