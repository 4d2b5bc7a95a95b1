#include "pages/fctestpage.h"
#include "support/gcsharness.h"
#include "support/simulatedfc.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {
// What a Test press sends: the sensor streams, then the self-test command.
const QStringList kSelfTestRequests{"stream 1 rate 1 start 1",  "stream 10 rate 1 start 1",
                                    "stream 11 rate 1 start 1", "stream 12 rate 1 start 1",
                                    "stream 6 rate 1 start 1",  "cmd 241"};
// Overall verdict: text and style sheet.
const QStringList kPassed{
    "FC System Hardware OK,Pass! If you can not use it,Please check your radio controller and esc.",
    "background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);"};
const QStringList kFailed{"Error!!!!! Please check the hardware and calibrate!",
                          "background-color: rgb(255, 0, 0);color: rgb(0, 0, 0);"};
const char kGpsHint[] = "Please install and put FC to GPS mode to check GPS module";
const char kOk[] = "OK!";
const QStringList kNoVerdicts{QString(), QString(), QString(), QString(), QString()};

QString shownBy(const GcsHarness &gcs, const char *label)
{
    return gcs.widget<QLabel>(label)->text();
}

// Radio, accelerometer, barometer, compass, GPS.
QStringList sensorVerdicts(const GcsHarness &gcs)
{
    return {shownBy(gcs, "fcRCResult"), shownBy(gcs, "fcAccelResult"), shownBy(gcs, "fcBaroResult"),
            shownBy(gcs, "fcCompassResult"), shownBy(gcs, "fcGPSResult")};
}

QStringList overallVerdict(const GcsHarness &gcs)
{
    const QLabel *overall = gcs.widget<QLabel>("fcHardwareResult");
    return {overall->text(), overall->styleSheet()};
}
} // namespace

class FcTestPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { gcs.reset(); }

    void initialPage();
    void testPressAsksForStreamsThenSelfTest();
    void attitudeShownWithOneDecimal();
    void attitudeFromFcInDegrees();
    void preArmRow_data();
    void preArmRow();
    void firstPreArmTextPassesAndFillsEmptyVerdicts();
    void verdictAlreadyShownIsNotReplacedByOk();
    void healthFailureKeepsVerdictRedForGood_data();
    void healthFailureKeepsVerdictRedForGood();
    void laterRowOnSameLabelWins();
    void errorTextBeforeAnyPreArmFails();
    void keysAreCaseSensitive();
    void otherSeveritiesAreIgnored_data();
    void otherSeveritiesAreIgnored();
    void testPressKeepsVerdicts();
    void testPressWithSimulatedFc();

private:
    void fcReports(const QByteArray &text, int severity = MavSeverity::Error)
    {
        gcs->deliver(statusTextFrame(severity, text));
    }
    QString shown(const char *label) const { return shownBy(*gcs, label); }

    std::unique_ptr<GcsHarness> gcs;
};

void FcTestPageTest::init()
{
    gcs.reset(new GcsHarness);
    gcs->connectToFc();
}

void FcTestPageTest::initialPage()
{
    QVERIFY(gcs->widget<QPushButton>("fcTestButton")->isEnabled());
    QCOMPARE(gcs->widget<QTextEdit>("fcHelp")->toPlainText(),
             QStringLiteral("1.Make sue you have connect the GPS module correctly, and have "
                            "calibrated the radio controller, accelemeter and compass."));
    QCOMPARE(sensorVerdicts(*gcs), kNoVerdicts);
    QCOMPARE(shown("fcHardwareResult"), QString());
}

void FcTestPageTest::testPressAsksForStreamsThenSelfTest()
{
    gcs->click("fcTestButton");
    const QList<WireFrame> frames = gcs->sent();
    QCOMPARE(describeAll(frames), kSelfTestRequests);
    const WireFrame &command = frames.last();
    for (int param = 1; param <= 7; ++param)
        QCOMPARE(command.commandParam(param), param == 6 ? 2.0f : 0.0f);
    QCOMPARE(int(command.msg.payload[31]), 1); // target component
    QCOMPARE(int(command.msg.payload[32]), 0); // confirmation
    QCOMPARE(shown("fcHardwareResult"), QString());
}

void FcTestPageTest::attitudeShownWithOneDecimal()
{
    gcs->window().fcTestPage().attitudeUpdate(12.345, 0, 180);
    QCOMPARE(shown("fcRoll"), QStringLiteral("12.3"));
    QCOMPARE(shown("fcPitch"), QStringLiteral("0.0"));
    QCOMPARE(shown("fcYaw"), QStringLiteral("180.0"));
}

void FcTestPageTest::attitudeFromFcInDegrees()
{
    gcs->deliver(attitudeFrame(1.0f, -0.25f, 2.0f));
    QCOMPARE(shown("fcRoll"), QStringLiteral("57.3"));
    QCOMPARE(shown("fcPitch"), QStringLiteral("-14.3"));
    QCOMPARE(shown("fcYaw"), QStringLiteral("114.6"));
}

void FcTestPageTest::preArmRow_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("1") << QByteArray("RC not calibrated") << "fcRCResult"
                       << "need Calibrate";
    QTest::newRow("2") << QByteArray("Baro not healthy") << "fcBaroResult"
                       << "Alarm:Please put FC level,wait a minutes and try again!";
    QTest::newRow("3") << QByteArray("Compass not healthy") << "fcCompassResult"
                       << "not healthy!";
    QTest::newRow("4") << QByteArray("Compass not calibrated") << "fcCompassResult"
                       << " need calibrate";
    QTest::newRow("5") << QByteArray("Compass offsets too high") << "fcCompassResult"
                       << " Interference";
    QTest::newRow("6") << QByteArray("Check mag field") << "fcCompassResult"
                       << "need calibrate";
    QTest::newRow("7") << QByteArray("INS not calibrated") << "fcAccelResult"
                       << " need calibrate!";
    QTest::newRow("8") << QByteArray("INS not healthy") << "fcAccelResult"
                       << " not healthy, please put it level and still";
    QTest::newRow("9") << QByteArray("GPS Glitch") << "fcGPSResult"
                       << "signal not good!";
    QTest::newRow("10") << QByteArray("Need 3D Fix") << "fcGPSResult"
                        << "No Fix";
    QTest::newRow("11") << QByteArray("Bad Velocity") << "fcGPSResult"
                        << "signal not good!";
    QTest::newRow("12") << QByteArray("High GPS HDOP") << "fcGPSResult"
                        << "signal not good!";
    QTest::newRow("13") << QByteArray("Thr below FS") << "fcRCResult"
                        << "need Calibrated";
}

// Each key set inside a longer text, as the FC words its reports.
void FcTestPageTest::preArmRow()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, label);
    QFETCH(QString, verdict);
    fcReports("PreArm: " + key + " (check)");
    QCOMPARE(shown(label.toLatin1().constData()), verdict);
}

void FcTestPageTest::firstPreArmTextPassesAndFillsEmptyVerdicts()
{
    fcReports("PreArm: RC not calibrated");
    QCOMPARE(sensorVerdicts(*gcs),
             (QStringList{"need Calibrate", kOk, kOk, kOk, QString::fromLatin1(kGpsHint)}));
    QCOMPARE(overallVerdict(*gcs), kPassed);
}

void FcTestPageTest::verdictAlreadyShownIsNotReplacedByOk()
{
    fcReports("PreArm: Compass not calibrated");
    QCOMPARE(shown("fcCompassResult"), QStringLiteral(" need calibrate"));
    fcReports("PreArm: Need 3D Fix");
    QCOMPARE(sensorVerdicts(*gcs), (QStringList{kOk, kOk, kOk, " need calibrate", "No Fix"}));
    QCOMPARE(overallVerdict(*gcs), kPassed);
}

void FcTestPageTest::healthFailureKeepsVerdictRedForGood_data()
{
    QTest::addColumn<QByteArray>("failure");
    QTest::addColumn<QStringList>("verdicts");
    QTest::newRow("INS") << QByteArray("PreArm: INS not healthy")
                         << QStringList{QString(), " not healthy, please put it level and still",
                                        QString(), QString(), QString()};
    // "PreArm" in the same text does not rescue it.
    QTest::newRow("Baro") << QByteArray("PreArm: Baro not healthy")
                          << QStringList{QString(), QString(),
                                         "Alarm:Please put FC level,wait a minutes and try again!",
                                         QString(), QString()};
}

void FcTestPageTest::healthFailureKeepsVerdictRedForGood()
{
    QFETCH(QByteArray, failure);
    QFETCH(QStringList, verdicts);
    fcReports(failure);
    QCOMPARE(sensorVerdicts(*gcs), verdicts);
    QCOMPARE(overallVerdict(*gcs), kFailed);

    fcReports("PreArm");
    fcReports("PreArm: RC not calibrated");
    QCOMPARE(overallVerdict(*gcs), kFailed);
    verdicts[0] = QStringLiteral("need Calibrate");
    QCOMPARE(sensorVerdicts(*gcs), verdicts);
}

void FcTestPageTest::laterRowOnSameLabelWins()
{
    fcReports("PreArm: Compass not healthy, Check mag field");
    QCOMPARE(shown("fcCompassResult"), QStringLiteral("need calibrate"));
    fcReports("PreArm: RC not calibrated, Thr below FS");
    QCOMPARE(shown("fcRCResult"), QStringLiteral("need Calibrated"));
}

// The checks have not reported yet: red, and the matched row still shows.
void FcTestPageTest::errorTextBeforeAnyPreArmFails()
{
    fcReports("Thr below FS");
    QCOMPARE(sensorVerdicts(*gcs),
             (QStringList{"need Calibrated", QString(), QString(), QString(), QString()}));
    QCOMPARE(overallVerdict(*gcs), kFailed);

    fcReports("PreArm: GPS Glitch");
    QCOMPARE(sensorVerdicts(*gcs),
             (QStringList{"need Calibrated", kOk, kOk, kOk, "signal not good!"}));
    QCOMPARE(overallVerdict(*gcs), kPassed);
}

void FcTestPageTest::keysAreCaseSensitive()
{
    fcReports("prearm: ins not healthy");
    QCOMPARE(overallVerdict(*gcs), kFailed);
    QCOMPARE(sensorVerdicts(*gcs), kNoVerdicts);
    fcReports("PreArm: rc not calibrated, BARO NOT HEALTHY");
    QCOMPARE(overallVerdict(*gcs), kPassed);
    QCOMPARE(sensorVerdicts(*gcs), (QStringList{kOk, kOk, kOk, kOk, kGpsHint}));
}

void FcTestPageTest::otherSeveritiesAreIgnored_data()
{
    QTest::addColumn<int>("severity");
    QTest::newRow("warning 4") << 4;
    QTest::newRow("info 6") << 6;
    QTest::newRow("critical 2") << 2;
}

void FcTestPageTest::otherSeveritiesAreIgnored()
{
    QFETCH(int, severity);
    fcReports("PreArm: RC not calibrated", severity);
    fcReports("PreArm: INS not healthy", severity);
    QCOMPARE(sensorVerdicts(*gcs), kNoVerdicts);
    QCOMPARE(shown("fcHardwareResult"), QString());
    // Had the INS failure counted, this would stay red.
    fcReports("PreArm: Need 3D Fix");
    QCOMPARE(overallVerdict(*gcs), kPassed);
}

void FcTestPageTest::testPressKeepsVerdicts()
{
    fcReports("PreArm: Compass offsets too high");
    const QStringList before = sensorVerdicts(*gcs);
    gcs->click("fcTestButton");
    gcs->sent();
    QCOMPARE(sensorVerdicts(*gcs), before);
    QCOMPARE(overallVerdict(*gcs), kPassed);
}

// A fresh simulated FC complains that neither the radio nor the accelerometer
// has been calibrated; the second complaint replaces the first text's "OK!".
void FcTestPageTest::testPressWithSimulatedFc()
{
    SimulatedFc fc;
    fc.sim.setAttitude(1.0f, -0.25f, 2.0f);
    fc.gcs.click("fcTestButton");
    QTRY_COMPARE(sensorVerdicts(fc.gcs),
                 (QStringList{"need Calibrate", " need calibrate!", kOk, kOk, kGpsHint}));
    QCOMPARE(overallVerdict(fc.gcs), kPassed);
    QTRY_COMPARE(shownBy(fc.gcs, "fcRoll"), QStringLiteral("57.3"));
    QCOMPARE(shownBy(fc.gcs, "fcPitch"), QStringLiteral("-14.3"));
    QCOMPARE(shownBy(fc.gcs, "fcYaw"), QStringLiteral("114.6"));
    QCOMPARE(fc.sentToFc(), kSelfTestRequests);
}

QTEST_MAIN(FcTestPageTest)
#include "tst_fctestpage.moc"
