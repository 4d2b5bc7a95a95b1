#include "support/gcsharness.h"
#include "support/simulatedfc.h"

#include "serial/fclink.h"

#include <QDoubleSpinBox>
#include <QTextEdit>
#include <QTranslator>
#include <QtEndian>
#include <QtTest>

namespace {
const QStringList kGainNames = {"RATE_RLL_P", "RATE_RLL_I", "RATE_RLL_D", "RATE_PIT_P",
                                "RATE_PIT_I", "RATE_PIT_D", "RATE_YAW_P"};

// The four bytes of param_value exactly as they went over the line.
quint32 wireValueBits(const WireFrame &frame)
{
    const int payloadOffset = 6;
    return qFromLittleEndian<quint32>(frame.bytes.constData() + payloadOffset);
}

QString describeBits(const QString &name, quint32 bits)
{
    return QStringLiteral("%1=%2").arg(name).arg(bits, 8, 16, QLatin1Char('0'));
}

// Wraps the page's two help texts so the test sees each one was translated
// on its own.
class BracketingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const QByteArray text(source);
        if (qstrcmp(context, "GainPage") != 0 ||
            !(text.startsWith("1.Stable Gain") || text.startsWith("2.Beside")))
            return QString();
        return QLatin1Char('[') + QString::fromUtf8(text) + QLatin1Char(']');
    }
};
} // namespace

class PidPageTest : public QObject
{
    Q_OBJECT

private slots:
    void windowKeepsRunningWhileSaveIsSent();
    void saveWritesGainsAsFloatBytes_data();
    void saveWritesGainsAsFloatBytes();
    void saveWritesNothingUntilEveryGainIsKnown_data();
    void saveWritesNothingUntilEveryGainIsKnown();
    void reportedZeroGainsAreWrittenBack();
    void saveAfterReadFromSimulatedFcWritesItsTuning();
    void readRequestsThreeGainsThenFirmwareVersion();
    void reportedGainsShowOnTheirAxis_data();
    void reportedGainsShowOnTheirAxis();
    void helpJoinsTwoSeparatelyTranslatedTexts();

private:
    void setGains(GcsHarness &gcs, double roll, double pitch, double yaw);
};

namespace {
// Typed as a user types them, so a gain equal to the box's start-up 0.00
// is still entered.
void typeGain(QDoubleSpinBox *box, double value)
{
    box->selectAll();
    QTest::keyClicks(box, QString::number(value, 'f', 2));
}
} // namespace

void PidPageTest::setGains(GcsHarness &gcs, double roll, double pitch, double yaw)
{
    typeGain(gcs.widget<QDoubleSpinBox>("pidRoll"), roll);
    typeGain(gcs.widget<QDoubleSpinBox>("pidPitch"), pitch);
    typeGain(gcs.widget<QDoubleSpinBox>("pidYaw"), yaw);
}

// The seven writes leave one by one with the event loop turning between
// them, so the window repaints and reads the line meanwhile.
void PidPageTest::windowKeepsRunningWhileSaveIsSent()
{
    GcsHarness gcs;
    gcs.connectToFc();
    setGains(gcs, 5.0, 5.0, 5.0);
    int turns = 0;
    QTimer everyTurn;
    connect(&everyTurn, &QTimer::timeout, this, [&turns] { ++turns; });
    everyTurn.start(0);
    QList<int> sentAtTurn;
    connect(&gcs.link(), &FcLink::frameSent, this, [&] { sentAtTurn << turns; });

    gcs.click("pidSaveButton");
    QCOMPARE(sentAtTurn.size(), 1);
    QCOMPARE(gcs.sent().size(), kGainNames.size());
    QCOMPARE(sentAtTurn.size(), kGainNames.size());
    for (int i = 1; i < sentAtTurn.size(); ++i)
        QVERIFY2(sentAtTurn[i] > sentAtTurn[i - 1], qPrintable(kGainNames[i]));
}

// Expected bit patterns: square-root rule for P and I, linear rules for D
// and yaw, each rounded to float where the rules say.
void PidPageTest::saveWritesGainsAsFloatBytes_data()
{
    QTest::addColumn<double>("roll");
    QTest::addColumn<double>("pitch");
    QTest::addColumn<double>("yaw");
    QTest::addColumn<quint32>("rollP");
    QTest::addColumn<quint32>("rollD");
    QTest::addColumn<quint32>("pitchP");
    QTest::addColumn<quint32>("pitchD");
    QTest::addColumn<quint32>("yawP");

    // The worked table: 0.04 clamped / 0 / 0, 0.067082 / 0.0024 / 0.06, ...
    QTest::newRow("gain 0") << 0.0 << 0.0 << 0.0 << 0x3d23d70au << 0u << 0x3d23d70au << 0u << 0u;
    QTest::newRow("gain 1") << 1.0 << 1.0 << 1.0 << 0x3d89624fu << 0x3b1d4952u << 0x3d89624fu
                            << 0x3b1d4952u << 0x3d75c28fu;
    QTest::newRow("gain 5") << 5.0 << 5.0 << 5.0 << 0x3e19999au << 0x3c449ba6u << 0x3e19999au
                            << 0x3c449ba6u << 0x3e99999au;
    QTest::newRow("gain 8") << 8.0 << 8.0 << 8.0 << 0x3e424a54u << 0x3c9d4952u << 0x3e424a54u
                            << 0x3c9d4952u << 0x3ef5c28fu;
    QTest::newRow("gain 10") << 10.0 << 10.0 << 10.0 << 0x3e428f5cu << 0x3cc49ba6u << 0x3e428f5cu
                             << 0x3cc49ba6u << 0x3f19999au;
    // Different values per axis: roll clamps at 0.19, pitch 2 gives 0.094868.
    QTest::newRow("roll 10 pitch 2 yaw 1") << 10.0 << 2.0 << 1.0 << 0x3e428f5cu << 0x3cc49ba6u
                                           << 0x3dc24a54u << 0x3b9d4952u << 0x3d75c28fu;
    QTest::newRow("either side of the lower clamp")
        << 0.35 << 0.36 << 0.35 << 0x3d23d70au << 0x3a5c3372u << 0x3d24dc5fu << 0x3a627e10u
        << 0x3cac0831u;
    QTest::newRow("either side of the upper clamp")
        << 8.03 << 8.02 << 8.02 << 0x3e428f5cu << 0x3c9de050u << 0x3e428876u << 0x3c9dadfcu
        << 0x3ef65fdau;
    // Values whose last bit depends on where the rules round to float.
    QTest::newRow("rounding steps, small gains")
        << 0.03 << 0.45 << 0.01 << 0x3d23d70au << 0x3896feb4u << 0x3d3851ecu << 0x3a8d8ec9u
        << 0x3a1d4951u;
    QTest::newRow("rounding steps, near the clamp")
        << 0.38 << 0.38 << 0.03 << 0x3d2960deu << 0x3a6f1348u << 0x3d2960deu << 0x3a6f1348u
        << 0x3aebedfau;
}

void PidPageTest::saveWritesGainsAsFloatBytes()
{
    QFETCH(double, roll);
    QFETCH(double, pitch);
    QFETCH(double, yaw);
    QFETCH(quint32, rollP);
    QFETCH(quint32, rollD);
    QFETCH(quint32, pitchP);
    QFETCH(quint32, pitchD);
    QFETCH(quint32, yawP);

    GcsHarness gcs;
    gcs.connectToFc();
    setGains(gcs, roll, pitch, yaw);
    gcs.click("pidSaveButton");

    const QList<WireFrame> frames = gcs.sent();
    const QList<quint32> expected = {rollP, rollP, rollD, pitchP, pitchP, pitchD, yawP};
    QCOMPARE(frames.size(), kGainNames.size());
    for (int i = 0; i < frames.size(); ++i) {
        QCOMPARE(frames[i].msgid(), int(MavMsg::ParamSet));
        QCOMPARE(frames[i].paramName(), kGainNames[i]);
        QCOMPARE(frames[i].paramType(), int(ParamType::Real32));
        QCOMPARE(describeBits(kGainNames[i], wireValueBits(frames[i])),
                 describeBits(kGainNames[i], expected[i]));
    }
}

// Each row leaves at least one gain as the form started it: Save must not
// write a tuning computed from it.
void PidPageTest::saveWritesNothingUntilEveryGainIsKnown_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("nothing known") << QStringList() << QStringList();
    QTest::newRow("one reported") << QStringList{"RATE_RLL_D"} << QStringList();
    QTest::newRow("two reported") << QStringList{"RATE_RLL_D", "RATE_YAW_P"} << QStringList();
    QTest::newRow("two typed") << QStringList() << QStringList{"pidRoll", "pidPitch"};
    QTest::newRow("reported and typed, yaw missing")
        << QStringList{"RATE_RLL_D"} << QStringList{"pidPitch"};
}

void PidPageTest::saveWritesNothingUntilEveryGainIsKnown()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, typed);
    GcsHarness gcs;
    gcs.connectToFc();
    for (const QString &name : reported)
        gcs.deliver(paramValueFrame(name, 0.012f));
    for (const QString &box : typed)
        typeGain(gcs.widget<QDoubleSpinBox>(box.toLatin1().constData()), 4.0);

    gcs.click("pidSaveButton");
    QCOMPARE(gcs.sentDescriptions(), QStringList());
}

// A reported 0 is a value the FC holds, even though the boxes already show 0.
void PidPageTest::reportedZeroGainsAreWrittenBack()
{
    GcsHarness gcs;
    gcs.connectToFc();
    for (const char *name : {"RATE_RLL_D", "RATE_PIT_D", "RATE_YAW_P"})
        gcs.deliver(paramValueFrame(QString::fromLatin1(name), 0.0f));
    gcs.click("pidSaveButton");

    const QStringList expected = {"set RATE_RLL_P=0.0399999991 (9)",
                                  "set RATE_RLL_I=0.0399999991 (9)",
                                  "set RATE_RLL_D=0 (9)",
                                  "set RATE_PIT_P=0.0399999991 (9)",
                                  "set RATE_PIT_I=0.0399999991 (9)",
                                  "set RATE_PIT_D=0 (9)",
                                  "set RATE_YAW_P=0 (9)"};
    QCOMPARE(gcs.sentDescriptions(), expected);
}

// The simulated FC holds the tuning of gain 5; reading it and saving writes
// that tuning back bit for bit.
void PidPageTest::saveAfterReadFromSimulatedFcWritesItsTuning()
{
    SimulatedFc fc;
    fc.gcs.click("pidReadButton");
    QTRY_COMPARE(fc.gcs.widget<QDoubleSpinBox>("pidYaw")->value(), 5.0);
    fc.sentToFc();

    fc.gcs.click("pidSaveButton");
    const QStringList expected = {
        "set RATE_RLL_P=0.150000006 (9)",  "set RATE_RLL_I=0.150000006 (9)",
        "set RATE_RLL_D=0.0120000001 (9)", "set RATE_PIT_P=0.150000006 (9)",
        "set RATE_PIT_I=0.150000006 (9)",  "set RATE_PIT_D=0.0120000001 (9)",
        "set RATE_YAW_P=0.300000012 (9)"};
    QCOMPARE(fc.sentToFc(), expected);
}

void PidPageTest::readRequestsThreeGainsThenFirmwareVersion()
{
    GcsHarness gcs;
    gcs.connectToFc();
    gcs.click("pidReadButton");

    const QStringList expected = {"get RATE_RLL_D", "get RATE_PIT_D", "get RATE_YAW_P",
                                  "get ZEFAVERSION"};
    QCOMPARE(gcs.sentDescriptions(), expected);
}

void PidPageTest::reportedGainsShowOnTheirAxis_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("value");
    QTest::addColumn<double>("roll");
    QTest::addColumn<double>("pitch");
    QTest::addColumn<double>("yaw");

    QTest::newRow("roll D rounds to two decimals") << "RATE_RLL_D" << 0.0125f << 5.21 << 0.0 << 0.0;
    QTest::newRow("roll D default") << "RATE_RLL_D" << 0.012f << 5.0 << 0.0 << 0.0;
    QTest::newRow("pitch D") << "RATE_PIT_D" << 0.006f << 0.0 << 2.5 << 0.0;
    QTest::newRow("yaw P") << "RATE_YAW_P" << 0.18f << 0.0 << 0.0 << 3.0;
    QTest::newRow("yaw P above the range") << "RATE_YAW_P" << 0.9f << 0.0 << 0.0 << 10.0;
    QTest::newRow("P gains are not read back") << "RATE_RLL_P" << 0.15f << 0.0 << 0.0 << 0.0;
}

void PidPageTest::reportedGainsShowOnTheirAxis()
{
    QFETCH(QString, name);
    QFETCH(float, value);
    QFETCH(double, roll);
    QFETCH(double, pitch);
    QFETCH(double, yaw);

    GcsHarness gcs;
    gcs.connectToFc();
    gcs.deliver(paramValueFrame(name, value));

    QCOMPARE(gcs.widget<QDoubleSpinBox>("pidRoll")->value(), roll);
    QCOMPARE(gcs.widget<QDoubleSpinBox>("pidPitch")->value(), pitch);
    QCOMPARE(gcs.widget<QDoubleSpinBox>("pidYaw")->value(), yaw);
    QVERIFY(gcs.sent().isEmpty());
}

void PidPageTest::helpJoinsTwoSeparatelyTranslatedTexts()
{
    BracketingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    GcsHarness gcs;
    QCoreApplication::removeTranslator(&translator);

    const QString first =
        "1.Stable Gain  The range is between 1-10, and the default is 5.  The value is related to "
        "the size of the copter frame and the weight. The bigger the frame, the bigger the value. "
        "If you use the default parameter and find the multi-copter shaking and not stable in "
        "operation, please increase the value.\n\n\n";
    const QString second =
        "2.Beside the size of the frame and weight, the parameter also related to the power, "
        "vibration and the flight environment closely. Please do the tune up and testing in the "
        "open area, and ensure the security protection.";
    QCOMPARE(gcs.widget<QTextEdit>("pidHelp")->toPlainText(), "[" + first + "][" + second + "]");
}

QTEST_MAIN(PidPageTest)
#include "tst_pidpage.moc"
