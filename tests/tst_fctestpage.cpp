#include "support/gcsharness.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {
const int kSeverityError = 3;
const char kPass[] =
    "FC System Hardware OK,Pass! If you can not use it,Please check your radio controller and esc.";
const char kFail[] = "Error!!!!! Please check the hardware and calibrate!";
const char kPassStyle[] = "background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);";
const char kFailStyle[] = "background-color: rgb(255, 0, 0);color: rgb(0, 0, 0);";
const char kGpsHint[] = "Please install and put FC to GPS mode to check GPS module";
const char kOk[] = "OK!";
const QStringList kNoVerdicts{QString(), QString(), QString(), QString(), QString()};
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

private:
    void fcReports(const QByteArray &text, int severity = kSeverityError)
    {
        gcs->deliver(statusTextFrame(severity, text));
    }
    QString shown(const char *label) const { return gcs->widget<QLabel>(label)->text(); }
    // Radio, accelerometer, barometer, compass, GPS.
    QStringList sensorVerdicts() const;
    void verifyOverall(const char *text, const char *style) const;

    std::unique_ptr<GcsHarness> gcs;
};

void FcTestPageTest::init()
{
    gcs.reset(new GcsHarness);
    gcs->connectToFc();
}

QStringList FcTestPageTest::sensorVerdicts() const
{
    return {shown("fcRCResult"), shown("fcAccelResult"), shown("fcBaroResult"),
            shown("fcCompassResult"), shown("fcGPSResult")};
}

void FcTestPageTest::verifyOverall(const char *text, const char *style) const
{
    const QLabel *overall = gcs->widget<QLabel>("fcHardwareResult");
    QCOMPARE(overall->text(), QString::fromLatin1(text));
    QCOMPARE(overall->styleSheet(), QString::fromLatin1(style));
}

void FcTestPageTest::initialPage()
{
    QVERIFY(gcs->widget<QPushButton>("fcTestButton")->isEnabled());
    QCOMPARE(gcs->widget<QTextEdit>("fcHelp")->toPlainText(),
             QStringLiteral("1.Make sue you have connect the GPS module correctly, and have "
                            "calibrated the radio controller, accelemeter and compass."));
    QCOMPARE(sensorVerdicts(), kNoVerdicts);
    QCOMPARE(shown("fcHardwareResult"), QString());
}

void FcTestPageTest::testPressAsksForStreamsThenSelfTest()
{
    gcs->click("fcTestButton");
    const QList<WireFrame> frames = gcs->sent();
    QCOMPARE(describeAll(frames),
             (QStringList{"stream 1 rate 1 start 1", "stream 10 rate 1 start 1",
                          "stream 11 rate 1 start 1", "stream 12 rate 1 start 1",
                          "stream 6 rate 1 start 1", "cmd 241"}));
    const WireFrame &command = frames.last();
    for (int param = 1; param <= 7; ++param)
        QCOMPARE(command.commandParam(param), param == 6 ? 2.0f : 0.0f);
    QCOMPARE(int(command.msg.payload[31]), 1); // target component
    QCOMPARE(int(command.msg.payload[32]), 0); // confirmation
    QCOMPARE(shown("fcHardwareResult"), QString());
}

void FcTestPageTest::attitudeShownWithOneDecimal()
{
    gcs->window().attitudeUpdate(12.345, 0, 180);
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
    QCOMPARE(sensorVerdicts(),
             (QStringList{"need Calibrate", kOk, kOk, kOk, QString::fromLatin1(kGpsHint)}));
    verifyOverall(kPass, kPassStyle);
}

void FcTestPageTest::verdictAlreadyShownIsNotReplacedByOk()
{
    fcReports("PreArm: Compass not calibrated");
    QCOMPARE(shown("fcCompassResult"), QStringLiteral(" need calibrate"));
    fcReports("PreArm: Need 3D Fix");
    QCOMPARE(sensorVerdicts(), (QStringList{kOk, kOk, kOk, " need calibrate", "No Fix"}));
    verifyOverall(kPass, kPassStyle);
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
    QCOMPARE(sensorVerdicts(), verdicts);
    verifyOverall(kFail, kFailStyle);

    fcReports("PreArm");
    fcReports("PreArm: RC not calibrated");
    verifyOverall(kFail, kFailStyle);
    verdicts[0] = QStringLiteral("need Calibrate");
    QCOMPARE(sensorVerdicts(), verdicts);
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
    QCOMPARE(sensorVerdicts(),
             (QStringList{"need Calibrated", QString(), QString(), QString(), QString()}));
    verifyOverall(kFail, kFailStyle);

    fcReports("PreArm: GPS Glitch");
    QCOMPARE(sensorVerdicts(), (QStringList{"need Calibrated", kOk, kOk, kOk, "signal not good!"}));
    verifyOverall(kPass, kPassStyle);
}

void FcTestPageTest::keysAreCaseSensitive()
{
    fcReports("prearm: ins not healthy");
    verifyOverall(kFail, kFailStyle);
    QCOMPARE(sensorVerdicts(), kNoVerdicts);
    fcReports("PreArm: rc not calibrated, BARO NOT HEALTHY");
    verifyOverall(kPass, kPassStyle);
    QCOMPARE(sensorVerdicts(), (QStringList{kOk, kOk, kOk, kOk, kGpsHint}));
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
    QCOMPARE(sensorVerdicts(), kNoVerdicts);
    QCOMPARE(shown("fcHardwareResult"), QString());
    // Had the INS failure counted, this would stay red.
    fcReports("PreArm: Need 3D Fix");
    verifyOverall(kPass, kPassStyle);
}

void FcTestPageTest::testPressKeepsVerdicts()
{
    fcReports("PreArm: Compass offsets too high");
    const QStringList before = sensorVerdicts();
    gcs->click("fcTestButton");
    gcs->sent();
    QCOMPARE(sensorVerdicts(), before);
    verifyOverall(kPass, kPassStyle);
}

QTEST_MAIN(FcTestPageTest)
#include "tst_fctestpage.moc"
