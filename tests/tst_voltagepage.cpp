#include "support/eventtally.h"
#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"

#include "mavlink/mavlinkbridge.h"

#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QtTest>

#include <limits>
#include <memory>

class VoltagePageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { gcs.reset(); }

    void startupRequestsAreDroppedWhileNoPortIsOpen();
    void helpTextJoinsBothParts();
    void failsafeClickWritesOnceAtOnce_data();
    void failsafeClickWritesOnceAtOnce();
    void failsafeReportedByFcChecksButtonWithoutWriting_data();
    void failsafeReportedByFcChecksButtonWithoutWriting();
    void readAsksForLevelsThenStatusStream();
    void saveWritesSecondAlarmBeforeFirst();
    void saveWritesNothingUntilBothLevelsAreKnown_data();
    void saveWritesNothingUntilBothLevelsAreKnown();
    void saveAfterReadFromSimulatedFcWritesItsLevels();
    void reportedVoltageIsShownRoundedToTwoDecimals();
    void voltageRepaintsOnlyWhenItsTextChanges_data();
    void voltageRepaintsOnlyWhenItsTextChanges();
    void calibration_data();
    void calibration();
    void calibrationWaitsUntilFcReportedBoth_data();
    void calibrationWaitsUntilFcReportedBoth();
    void repeatedCalibrationStartsFromLastReportedMultiplier();
    void decimalCommaTextWritesNothing();
    void calibrationMovesVoltageReportedBySimulatedFc();
    void everyReportPrintsTheVoltageLine_data();
    void everyReportPrintsTheVoltageLine();

private:
    void report(int millivolts, float multiplier);
    void enterMeterReading(double volts);
    QStringList calibrate();

    std::unique_ptr<GcsHarness> gcs;
};

void VoltagePageTest::init()
{
    gcs.reset(new GcsHarness);
    gcs->connectToFc();
}

void VoltagePageTest::report(int millivolts, float multiplier)
{
    gcs->deliver(sysStatusFrame(std::uint16_t(millivolts)) +
                 paramValueFrame(QStringLiteral("BATT_VOLT_MULT"), multiplier));
}

void VoltagePageTest::enterMeterReading(double volts)
{
    gcs->widget<QDoubleSpinBox>("voltageEdit1")->setValue(volts);
}

QStringList VoltagePageTest::calibrate()
{
    gcs->click("voltageCalibrateButton");
    return gcs->sentDescriptions();
}

// The eight requests and four stream requests of start-up are built while
// no port is open: each uses up a sequence number but nothing reaches the line.
void VoltagePageTest::startupRequestsAreDroppedWhileNoPortIsOpen()
{
    GcsHarness fresh;
    fresh.action("actionConnect")->trigger();
    const QList<WireFrame> frames = fresh.sent();
    QCOMPARE(describeAll(frames), QStringList{QStringLiteral("get ZEFAVERSION")});
    QCOMPARE(int(frames.first().msg.seq), 12);
}

void VoltagePageTest::helpTextJoinsBothParts()
{
    QCOMPARE(gcs->widget<QTextEdit>("voltageHelp")->toPlainText(),
             QStringLiteral("1.Battery failsafe setting\n\n\n2.Battery Voltage Calibrate"));
}

void VoltagePageTest::failsafeClickWritesOnceAtOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("write");
    QTest::newRow("auto landing") << "voltageLanding"
                                  << "set FS_BATT_ENABLE=1 (6)";
    QTest::newRow("alarm only") << "voltageWarning"
                                << "set FS_BATT_ENABLE=0 (6)";
}

void VoltagePageTest::failsafeClickWritesOnceAtOnce()
{
    QFETCH(QString, button);
    QFETCH(QString, write);
    gcs->click(button.toLatin1().constData());
    QCOMPARE(gcs->sentDescriptions(), QStringList{write});
    // A second click on the checked button writes again.
    gcs->click(button.toLatin1().constData());
    QCOMPARE(gcs->sentDescriptions(), QStringList{write});
}

void VoltagePageTest::failsafeReportedByFcChecksButtonWithoutWriting_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("checked");
    QTest::newRow("0 alarm only") << 0.0f << "voltageWarning";
    QTest::newRow("1 auto landing") << 1.0f << "voltageLanding";
    QTest::newRow("2 also landing") << 2.0f << "voltageLanding";
}

void VoltagePageTest::failsafeReportedByFcChecksButtonWithoutWriting()
{
    QFETCH(float, value);
    QFETCH(QString, checked);
    // Start from the other choice so the report has to move the check.
    const bool landing = checked == QLatin1String("voltageLanding");
    gcs->widget<QRadioButton>(landing ? "voltageWarning" : "voltageLanding")->setChecked(true);

    gcs->deliver(paramValueFrame(QStringLiteral("FS_BATT_ENABLE"), value, ParamType::Int32));

    QVERIFY(gcs->widget<QRadioButton>(checked.toLatin1().constData())->isChecked());
    QCOMPARE(gcs->sentDescriptions(), QStringList());
}

void VoltagePageTest::readAsksForLevelsThenStatusStream()
{
    gcs->click("voltageReadButton");
    QCOMPARE(gcs->sentDescriptions(),
             (QStringList{"get FS_BATT_VOLTAGE", "get FS_BATT_WARNING", "get FS_BATT_ENABLE",
                          "get BATT_VOLT_MULT", "stream 2 rate 1 start 1"}));
}

void VoltagePageTest::saveWritesSecondAlarmBeforeFirst()
{
    gcs->widget<QDoubleSpinBox>("voltageLevel1")->setValue(10.5);
    gcs->widget<QDoubleSpinBox>("voltageLevel2")->setValue(9.9);
    gcs->click("voltageSaveButton");

    const QList<WireFrame> frames = gcs->sent();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0].paramName(), QStringLiteral("FS_BATT_VOLTAGE"));
    QCOMPARE(frames[0].paramValue(), 9.9f);
    QCOMPARE(frames[1].paramName(), QStringLiteral("FS_BATT_WARNING"));
    QCOMPARE(frames[1].paramValue(), 10.5f);
    for (const WireFrame &frame : frames)
        QCOMPARE(frame.paramType(), 9);
}

// A start-up 0.00 written as an alarm level switches the failsafe off.
void VoltagePageTest::saveWritesNothingUntilBothLevelsAreKnown_data()
{
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("typed");
    QTest::newRow("nothing known") << QString() << QString();
    QTest::newRow("first level reported") << "FS_BATT_WARNING" << QString();
    QTest::newRow("second level reported") << "FS_BATT_VOLTAGE" << QString();
    QTest::newRow("first level typed") << QString() << "voltageLevel1";
}

void VoltagePageTest::saveWritesNothingUntilBothLevelsAreKnown()
{
    QFETCH(QString, reported);
    QFETCH(QString, typed);
    if (!reported.isEmpty())
        gcs->deliver(paramValueFrame(reported, 10.8f));
    if (!typed.isEmpty()) {
        auto *box = gcs->widget<QDoubleSpinBox>(typed.toLatin1().constData());
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0.00"));
    }

    gcs->click("voltageSaveButton");
    QCOMPARE(gcs->sentDescriptions(), QStringList());
}

void VoltagePageTest::saveAfterReadFromSimulatedFcWritesItsLevels()
{
    gcs.reset();
    SimulatedFc fc;
    fc.gcs.click("voltageReadButton");
    QTRY_COMPARE(fc.gcs.widget<QDoubleSpinBox>("voltageLevel1")->value(), 11.1);
    QTRY_COMPARE(fc.gcs.widget<QDoubleSpinBox>("voltageLevel2")->value(), 10.5);
    fc.sentToFc();

    fc.gcs.click("voltageSaveButton");
    QCOMPARE(fc.sentToFc(),
             (QStringList{"set FS_BATT_VOLTAGE=10.5 (9)", "set FS_BATT_WARNING=11.1000004 (9)"}));
}

void VoltagePageTest::reportedVoltageIsShownRoundedToTwoDecimals()
{
    gcs->deliver(sysStatusFrame(12346));
    QCOMPARE(gcs->widget<QDoubleSpinBox>("voltageEdit0")->text(), QStringLiteral("12.35"));
    gcs->deliver(sysStatusFrame(11100));
    QCOMPARE(gcs->widget<QDoubleSpinBox>("voltageEdit0")->text(), QStringLiteral("11.10"));
}

void VoltagePageTest::voltageRepaintsOnlyWhenItsTextChanges_data()
{
    QTest::addColumn<int>("millivolts");
    QTest::addColumn<bool>("repainted");
    QTest::newRow("same reading") << 12346 << false;
    QTest::newRow("same hundredth") << 12354 << false;
    QTest::newRow("next hundredth") << 12356 << true;
}

void VoltagePageTest::voltageRepaintsOnlyWhenItsTextChanges()
{
    QFETCH(int, millivolts);
    QFETCH(bool, repainted);
    auto *box = gcs->widget<QDoubleSpinBox>("voltageEdit0");
    gcs->showTabOf("voltageEdit0");
    gcs->deliver(sysStatusFrame(12346));
    QCoreApplication::processEvents();
    EventTally paints(QEvent::Paint, box->findChildren<QWidget *>() << box);
    gcs->deliver(sysStatusFrame(std::uint16_t(millivolts)));
    QCoreApplication::processEvents();
    QCOMPARE(!paints.names.isEmpty(), repainted);
    QCOMPARE(box->text(), QString::number(millivolts / 1000.0, 'f', 2));
}

// Expected writes are (meter / reported) * multiplier worked out in single
// precision, printed to nine significant digits; double precision would give
// 10.5 and 10 in the first two rows.
void VoltagePageTest::calibration_data()
{
    QTest::addColumn<int>("reportedMv");
    QTest::addColumn<double>("meter");
    QTest::addColumn<float>("multiplier");
    QTest::addColumn<QStringList>("written");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const auto multiplierOf = [](const char *value) {
        return QStringList{QStringLiteral("set BATT_VOLT_MULT=%1 (9)").arg(QLatin1String(value))};
    };
    QTest::newRow("12.0 V shown, 12.6 V measured")
        << 12000 << 12.6 << 10.0f << multiplierOf("10.500001");
    QTest::newRow("meter reads low") << 12600 << 12.0 << 10.5f << multiplierOf("9.99999905");
    // 12.004 shows as 12.00; the ratio must use what the FC reported.
    QTest::newRow("unrounded report") << 12004 << 12.6 << 10.0f << multiplierOf("10.4965019");
    QTest::newRow("meter just above 1 V") << 11100 << 1.01 << 10.0f << multiplierOf("0.909909904");
    QTest::newRow("reported 0.8 V") << 800 << 12.6 << 10.0f << QStringList();
    QTest::newRow("reported exactly 1 V") << 1000 << 12.6 << 10.0f << QStringList();
    QTest::newRow("meter 0.5 V") << 11100 << 0.5 << 10.0f << QStringList();
    QTest::newRow("meter exactly 1 V") << 11100 << 1.0 << 10.0f << QStringList();
    QTest::newRow("multiplier not a number") << 12000 << 12.6 << nan << QStringList();
    QTest::newRow("multiplier infinite") << 12000 << 12.6 << inf << QStringList();
}

void VoltagePageTest::calibration()
{
    QFETCH(int, reportedMv);
    QFETCH(double, meter);
    QFETCH(float, multiplier);
    QFETCH(QStringList, written);
    report(reportedMv, multiplier);
    enterMeterReading(meter);
    QCOMPARE(calibrate(), written);
}

void VoltagePageTest::calibrationWaitsUntilFcReportedBoth_data()
{
    QTest::addColumn<bool>("voltageReported");
    QTest::addColumn<bool>("multiplierReported");
    QTest::newRow("neither") << false << false;
    QTest::newRow("voltage only") << true << false;
    QTest::newRow("multiplier only") << false << true;
}

void VoltagePageTest::calibrationWaitsUntilFcReportedBoth()
{
    QFETCH(bool, voltageReported);
    QFETCH(bool, multiplierReported);
    if (voltageReported)
        gcs->deliver(sysStatusFrame(12000));
    if (multiplierReported)
        gcs->deliver(paramValueFrame(QStringLiteral("BATT_VOLT_MULT"), 10.0f));
    enterMeterReading(12.6);
    QCOMPARE(calibrate(), QStringList());

    // Once both have arrived the same press writes.
    report(12000, 10.0f);
    QCOMPARE(calibrate(), QStringList{QStringLiteral("set BATT_VOLT_MULT=10.500001 (9)")});
}

// The page never updates the multiplier itself; only the FC's echo does.
void VoltagePageTest::repeatedCalibrationStartsFromLastReportedMultiplier()
{
    ModalBoxCloser boxes;
    report(12000, 10.0f);
    enterMeterReading(12.6);
    const QStringList first = calibrate();
    QCOMPARE(first, QStringList{QStringLiteral("set BATT_VOLT_MULT=10.500001 (9)")});
    QCOMPARE(calibrate(), first);

    // Not the value written, to the first write and to the one sent again at
    // once: the first calibration's warning says so.
    gcs->deliver(paramValueFrame(QStringLiteral("BATT_VOLT_MULT"), 10.5f));
    QCOMPARE(gcs->sentDescriptions(), first);
    gcs->deliver(paramValueFrame(QStringLiteral("BATT_VOLT_MULT"), 10.5f));
    QTRY_COMPARE(boxes.titles(), QStringList{QStringLiteral("Save")});
    QVERIFY2(boxes.boxes().at(0).text.contains(
                 QStringLiteral("BATT_VOLT_MULT: sent 10.500001, the FC reports 10.5")),
             qPrintable(boxes.boxes().at(0).text));
    QCOMPARE(calibrate(), QStringList{QStringLiteral("set BATT_VOLT_MULT=11.0250006 (9)")});
}

void VoltagePageTest::decimalCommaTextWritesNothing()
{
    report(12000, 10.0f);
    auto *meter = gcs->widget<QDoubleSpinBox>("voltageEdit1");
    meter->setLocale(QLocale(QLocale::German, QLocale::Germany));
    meter->setValue(12.6);
    QCOMPARE(meter->text(), QStringLiteral("12,60"));
    QCOMPARE(calibrate(), QStringList());
}

// The simulated FC reports its pin voltage times BATT_VOLT_MULT: 1.2 V x
// 10.1 until the calibration's write is echoed.
void VoltagePageTest::calibrationMovesVoltageReportedBySimulatedFc()
{
    SimulatedFc fc;
    auto *display = fc.gcs.widget<QDoubleSpinBox>("voltageEdit0");
    fc.gcs.click("voltageReadButton");
    QTRY_COMPARE(display->text(), QStringLiteral("12.12"));

    fc.gcs.widget<QDoubleSpinBox>("voltageEdit1")->setValue(12.6);
    fc.gcs.click("voltageCalibrateButton");
    QTRY_COMPARE(display->text(), QStringLiteral("12.60"));
    QCOMPARE(fc.sim.parameter(QStringLiteral("BATT_VOLT_MULT")), 10.5f);
    QTRY_COMPARE(fc.gcs.widget<QStatusBar>("statusBar")->currentMessage(),
                 QStringLiteral("Voltage calibration saved: confirmed by the FC"));

    // The echo replaced the multiplier: meter and display now agree, so a
    // second press writes the FC's own value back.
    fc.sentToFc();
    const float echoed = fc.sim.parameter(QStringLiteral("BATT_VOLT_MULT"));
    fc.gcs.click("voltageCalibrateButton");
    QCOMPARE(
        fc.sentToFc(),
        QStringList{QStringLiteral("set BATT_VOLT_MULT=%1 (9)").arg(double(echoed), 0, 'g', 9)});
}

namespace {
QStringList debugLines;
void keepDebugLine(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg)
        debugLines << message;
}
} // namespace

void VoltagePageTest::everyReportPrintsTheVoltageLine_data()
{
    QTest::addColumn<float>("volts");
    const float rows[] = {12.6f,
                          0.0f,
                          -0.0f,
                          0.1f,
                          16.8f,
                          123456.0f,
                          1234567.0f,
                          3.4e38f,
                          1e-5f,
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
    for (float volts : rows)
        QTest::addRow("%g", double(volts)) << volts;
}

// The line must read as qDebug() << "V:" << volts prints it, also when it
// follows another reading and when it repeats.
void VoltagePageTest::everyReportPrintsTheVoltageLine()
{
    QFETCH(float, volts);
    debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepDebugLine);
    qDebug() << "V:" << -volts;
    qDebug() << "V:" << volts;
    for (float reported : {-volts, volts, volts})
        emit gcs->bridge().setBatt(reported);
    qInstallMessageHandler(previous);
    QCOMPARE(debugLines.size(), 5);
    QCOMPARE(debugLines.mid(2), (QStringList{debugLines[0], debugLines[1], debugLines[1]}));
}

QTEST_MAIN(VoltagePageTest)
#include "tst_voltagepage.moc"
