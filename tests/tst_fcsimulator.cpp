#include "support/gcsharness.h"
#include "support/processcpu.h"
#include "support/simulatorwait.h"

#include "fcsim/fcmessages.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/linenoise.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"

#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

namespace {

struct Param
{
    QString name;
    QVariant value;
};

struct Text
{
    int severity;
    QString text;
};

// The simulator on the master of a pty; on the slave the assistant's own
// bridge and parser, without a window, so every signal can be watched.
class SimulatorOnLine : public QObject
{
public:
    SimulatorOnLine() : link(pty.masterFd(), sim)
    {
        port.setPortName(pty.slavePath());
        if (!port.open(QIODevice::ReadWrite))
            qFatal("cannot open the slave side");
        bridge.setSerialPort(&port);
        connect(&port, &QSerialPort::readyRead, this, &SimulatorOnLine::readPort);
        connect(&bridge, &MavLinkBridge::setParam, this, [this](QString &name, QVariant value) {
            params.append({name, value});
        });
        connect(&bridge, &MavLinkBridge::textMessageReceived, this,
                [this](int, int, int severity, QString text) {
                    texts.append({severity, text});
                });
        connect(&bridge, &MavLinkBridge::setRadioInput, this,
                [this](unsigned short *rc) { radio.append(QVector<unsigned short>(rc, rc + 8)); });
        connect(&bridge, &MavLinkBridge::setBatt, this, [this](float v) { volts.append(v); });
        connect(&bridge, &MavLinkBridge::setATT, this,
                [this](double roll, double, double) { rolls.append(roll); });
    }

    QStringList textsOf(int severity) const
    {
        QStringList out;
        for (const Text &t : texts) {
            if (t.severity == severity)
                out << t.text;
        }
        return out;
    }

    PtyPair pty;
    FcSimulator sim;
    SimulatorPtyLink link;
    QSerialPort port;
    MavLinkBridge bridge;
    MavLinkParser parser;
    QList<Param> params;
    QList<Text> texts;
    QList<QVector<unsigned short>> radio;
    QList<float> volts;
    QList<double> rolls;

private:
    void readPort()
    {
        for (char byte : port.readAll()) {
            if (parser.parseByte(std::uint8_t(byte))) {
                const MavLinkMessage msg = parser.message();
                bridge.handleMessage(&msg);
            }
        }
    }
};

void requestStream(MavLinkBridge &bridge, int stream, int rate)
{
    switch (stream) {
    case 2:
        bridge.requestExtendedStatusStream(rate);
        break;
    case 3:
        bridge.requestRcChannelsStream(rate);
        break;
    case 10:
        bridge.requestExtra1Stream(rate);
        break;
    case 11:
        bridge.requestExtra2Stream(rate);
        break;
    default:
        qFatal("no such stream in this test");
    }
}

// How many frames of each message id the simulator sends from now on.
class SentCounter : public QObject
{
public:
    explicit SentCounter(FcSimulator &sim)
    {
        connect(&sim, &FcSimulator::frameSent, this,
                [this](const MavLinkMessage &msg) { ++counts[msg.msgid]; });
    }
    int operator[](int msgid) const { return counts.value(msgid); }

private:
    QHash<int, int> counts;
};

void startAccelCalibration(MavLinkBridge &bridge)
{
    bridge.sendCommandLong(241, 0, 0, 0, 0, 0, 1.0f, 0, 0, 1);
}

// Answers every face prompt as the page does, until the verdict arrives.
void runAccelCalibration(SimulatorOnLine &line)
{
    startAccelCalibration(line.bridge);
    for (int face = 0; face < 6; ++face) {
        QTRY_COMPARE(line.textsOf(5).size(), face + 1);
        line.bridge.sendCommandAck(std::uint16_t(2 * face + 1), true);
    }
    QTRY_COMPARE(line.textsOf(5).size(), 7);
}

QByteArray statusTextOnWire(int counter)
{
    MavLinkMessage msg =
        FcMessages::statusText(6, QByteArray("frame ") + QByteArray::number(counter));
    return FcMessages::toWire(msg, std::uint8_t(counter));
}

} // namespace

class TestFcSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersParameterRequestsByName_data();
    void answersParameterRequestsByName();
    void storesWrittenParametersAndEchoesThem();
    void ignoresUnknownParameters();
    void sendsParameterValuesUnasked();
    void firmwareVersionDecidesWhetherTheAssistantStays_data();
    void firmwareVersionDecidesWhetherTheAssistantStays();

    void streamsStartAndStopOnRequest_data();
    void streamsStartAndStopOnRequest();
    void fixedRadioAndAttitudeReachTheAssistant();
    void sweptSticksCoverTheirRangeWithinLimits();
    void reportedVoltageFollowsTheMultiplier();
    void heartbeatNeedsNoRequest();

    void accelerometerDialogueWalksSixFaces_data();
    void accelerometerDialogueWalksSixFaces();
    void acknowledgementsOutsideTheDialogueChangeNothing();
    void preArmReportFollowsWhatWasCalibrated();

    void noiseNeverLetsACorruptFrameThrough();
    void noiseIsRepeatableForOneSeed();

    void linkStaysSilentUntilTheAssistantSpeaks();
    void linkWaitsQuietlyWhileTheAssistantIsAwayAndServesItAgain();
};

void TestFcSimulator::answersParameterRequestsByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("value");
    QTest::newRow("firmware") << "ZEFAVERSION" << 20.0f;
    QTest::newRow("quad X shape") << "SHAPE" << 1.0f;
    QTest::newRow("quad X frame") << "FRAME" << 1.0f;
    QTest::newRow("roll D at gain 5") << "RATE_RLL_D" << 0.012f;
    QTest::newRow("yaw P at gain 5") << "RATE_YAW_P" << 0.3f;
    QTest::newRow("16 characters") << "ATC_RATE_FF_ENAB" << 0.0f;
    QTest::newRow("last RC limit") << "RC8_MAX" << 1900.0f;
}

void TestFcSimulator::answersParameterRequestsByName()
{
    QFETCH(QString, name);
    QFETCH(float, value);
    SimulatorOnLine line;
    line.bridge.requestParameter(1, name);
    QTRY_COMPARE(line.params.size(), 1);
    QCOMPARE(line.params[0].name, name);
    QCOMPARE(line.params[0].value.toFloat(), value);
}

void TestFcSimulator::storesWrittenParametersAndEchoesThem()
{
    SimulatorOnLine line;
    line.bridge.setParameter(1, QStringLiteral("RC3_MIN"), QVariant(1012.5f));
    line.bridge.setParameter(1, QStringLiteral("RC_TYPE"), QVariant(3));
    QTRY_COMPARE(line.params.size(), 2);
    QCOMPARE(line.params[0].name, QStringLiteral("RC3_MIN"));
    QCOMPARE(line.params[0].value.toFloat(), 1012.5f);
    QCOMPARE(line.params[1].value.toInt(), 3);
    QCOMPARE(line.sim.parameter(QStringLiteral("RC3_MIN")), 1012.5f);
    QCOMPARE(line.sim.parameter(QStringLiteral("RC_TYPE")), 3.0f);
}

void TestFcSimulator::ignoresUnknownParameters()
{
    SimulatorOnLine line;
    line.bridge.setParameter(1, QStringLiteral("NO_SUCH_PARAM"), QVariant(1));
    line.bridge.requestParameter(1, QStringLiteral("NO_SUCH_PARAM"));
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);
    QCOMPARE(line.params[0].name, QStringLiteral("FRAME"));
    QVERIFY(!line.sim.hasParameter(QStringLiteral("NO_SUCH_PARAM")));
    QVERIFY(qIsNaN(line.sim.parameter(QStringLiteral("NO_SUCH_PARAM"))));
}

void TestFcSimulator::sendsParameterValuesUnasked()
{
    SimulatorOnLine line;
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);
    line.sim.clearReceived();
    line.sim.setParameter(QStringLiteral("RTL_ALT"), 3000);
    line.sim.sendParameter(QStringLiteral("RTL_ALT"));
    QTRY_COMPARE(line.params.size(), 2);
    QCOMPARE(line.params[1].name, QStringLiteral("RTL_ALT"));
    QCOMPARE(line.params[1].value.toFloat(), 3000.0f);
    QVERIFY(line.sim.receivedFrames().isEmpty());
    QVERIFY(line.sim.receivedBytes().isEmpty());
}

// The whole assistant against the simulator, as the page tests run it.
void TestFcSimulator::firmwareVersionDecidesWhetherTheAssistantStays_data()
{
    QTest::addColumn<int>("firmware");
    QTest::addColumn<bool>("staysConnected");
    QTest::newRow("20 keeps the link") << 20 << true;
    QTest::newRow("21 drops it") << 21 << false;
}

void TestFcSimulator::firmwareVersionDecidesWhetherTheAssistantStays()
{
    QFETCH(int, firmware);
    QFETCH(bool, staysConnected);
    GcsHarness gcs;
    FcSimulator sim;
    sim.setFirmwareVersion(firmware);
    SimulatorPtyLink link(gcs.line().masterFd(), sim);
    bool versionArrived = false;
    QObject::connect(&gcs.bridge(), &MavLinkBridge::setParam, &gcs.window(),
                     [&](QString &name, QVariant) { versionArrived |= name == "ZEFAVERSION"; });

    gcs.action("actionConnect")->trigger();
    QTRY_VERIFY(versionArrived);

    QCOMPARE(gcs.port()->isOpen(), staysConnected);
    QCOMPARE(gcs.action("actionDisconnect")->isEnabled(), staysConnected);
    const QStringList expected =
        staysConnected ? QStringList{"get ZEFAVERSION"}
                       : QStringList{"get ZEFAVERSION", "stream 1 rate 65535 start 1",
                                     "stream 10 rate 65535 start 1", "stream 11 rate 65535 start 1",
                                     "stream 6 rate 65535 start 1"};
    QCOMPARE(receivedBySimulator(sim), expected);
}

void TestFcSimulator::streamsStartAndStopOnRequest_data()
{
    QTest::addColumn<int>("stream");
    QTest::addColumn<int>("msgid");
    QTest::newRow("extended status") << 2 << int(MavMsg::SysStatus);
    QTest::newRow("rc channels") << 3 << int(MavMsg::RcChannelsRaw);
    QTest::newRow("extra 1") << 10 << int(MavMsg::Attitude);
    QTest::newRow("extra 2") << 11 << int(MavMsg::Attitude);
}

void TestFcSimulator::streamsStartAndStopOnRequest()
{
    QFETCH(int, stream);
    QFETCH(int, msgid);
    SimulatorOnLine line;
    SentCounter sent(line.sim);
    line.bridge.requestParameter(1, QStringLiteral("FRAME")); // the assistant speaks first
    requestStream(line.bridge, stream, 1);
    QTRY_VERIFY(sent[msgid] >= 2);
    QVERIFY(line.sim.isStreaming(stream));

    requestStream(line.bridge, stream, 0);
    QTRY_VERIFY(!line.sim.isStreaming(stream));
    const int afterStop = sent[msgid];
    pumpEvents(700);
    QCOMPARE(sent[msgid], afterStop);
}

void TestFcSimulator::fixedRadioAndAttitudeReachTheAssistant()
{
    SimulatorOnLine line;
    const QVector<std::uint16_t> sticks = {1000, 1200, 1400, 1600, 1800, 2000, 1100, 1900};
    line.sim.setRadio(sticks);
    line.sim.setAttitude(0.5f, 0, 0);
    line.bridge.requestRcChannelsStream(2);
    line.bridge.requestExtra1Stream(1);
    QTRY_VERIFY(!line.radio.isEmpty() && !line.rolls.isEmpty());
    QCOMPARE(line.radio.last(), QVector<unsigned short>(sticks.begin(), sticks.end()));
    QCOMPARE(line.rolls.last(), double(0.5f) * 57.3);
}

void TestFcSimulator::sweptSticksCoverTheirRangeWithinLimits()
{
    SimulatorOnLine line;
    line.bridge.requestRcChannelsStream(2);
    QTRY_VERIFY_WITH_TIMEOUT(line.radio.size() >= 40, 10000);
    QSet<unsigned short> throttle;
    for (const QVector<unsigned short> &channels : line.radio) {
        for (unsigned short value : channels)
            QVERIFY2(value >= 1100 && value <= 1900, qPrintable(QString::number(value)));
        throttle.insert(channels[2]);
    }
    QVERIFY(throttle.contains(1100) || throttle.contains(1900));
    QVERIFY(throttle.size() > 10);
}

// A calibration writes a new multiplier; the voltage the FC reports must
// move with it, or the page's result could not be seen.
void TestFcSimulator::reportedVoltageFollowsTheMultiplier()
{
    SimulatorOnLine line;
    line.sim.setBatteryPinVoltage(1.2f);
    line.bridge.requestExtendedStatusStream(1);
    QTRY_VERIFY(!line.volts.isEmpty());
    QCOMPARE(line.volts.last(), 12.12f);

    line.bridge.setParameter(1, QStringLiteral("BATT_VOLT_MULT"), QVariant(10.5f));
    QTRY_COMPARE(line.volts.last(), 12.6f);
}

void TestFcSimulator::heartbeatNeedsNoRequest()
{
    SimulatorOnLine line;
    QSignalSpy armed(&line.bridge, &MavLinkBridge::armedUpdate);
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_VERIFY(!armed.isEmpty());
}

void TestFcSimulator::accelerometerDialogueWalksSixFaces_data()
{
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("success") << false << "Calibration successful";
    QTest::newRow("failure") << true << "FAILED";
}

// Each prompt must name exactly its own face among the page's keywords, so
// the page shows the right picture ("UP" must not hide in the "DOWN" prompt).
void TestFcSimulator::accelerometerDialogueWalksSixFaces()
{
    QFETCH(bool, fails);
    QFETCH(QString, verdict);
    SimulatorOnLine line;
    line.sim.setAccelCalibrationFails(fails);
    runAccelCalibration(line);
    if (QTest::currentTestFailed())
        return;
    const QStringList texts = line.textsOf(5);

    const QStringList faces = {"level", "LEFT", "RIGHT", "DOWN", "UP", "BACK"};
    for (int face = 0; face < 6; ++face) {
        const QString &prompt = texts[face];
        QVERIFY2(prompt.contains("Place") && prompt.contains("and press any key"),
                 qPrintable(prompt));
        for (int other = 0; other < 6; ++other)
            QCOMPARE(prompt.contains(faces[other], Qt::CaseSensitive), other == face);
    }
    QVERIFY2(texts[6].contains(verdict), qPrintable(texts[6]));
    QCOMPARE(line.sim.accelCalibrated(), !fails);
}

// The assistant closes a run with eight more acknowledgements; they must
// not start a new dialogue.
void TestFcSimulator::acknowledgementsOutsideTheDialogueChangeNothing()
{
    SimulatorOnLine line;
    runAccelCalibration(line);
    if (QTest::currentTestFailed())
        return;
    for (int i = 0; i < 8; ++i)
        line.bridge.sendCommandAck(std::uint16_t(i), true);
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);
    QCOMPARE(line.textsOf(5).size(), 7);
}

void TestFcSimulator::preArmReportFollowsWhatWasCalibrated()
{
    SimulatorOnLine line;
    const auto selfTest = [&line](int expectedTexts) {
        line.texts.clear();
        line.bridge.sendCommandLong(241, 0, 0, 0, 0, 0, 0, 2.0f, 0, 1);
        [&] { QTRY_COMPARE(line.textsOf(3).size(), expectedTexts); }();
        return line.textsOf(3);
    };
    QCOMPARE(selfTest(2), (QStringList{"PreArm: RC not calibrated", "PreArm: INS not calibrated"}));

    line.bridge.setParameter(1, QStringLiteral("RC4_MAX"), QVariant(1950.0f));
    QCOMPARE(selfTest(1), QStringList{"PreArm: INS not calibrated"});
    QVERIFY(line.sim.rcCalibrated());

    runAccelCalibration(line);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(selfTest(1), QStringList{"PreArm: checks passed"});
}

// Whatever the noise does, the assistant's parser may lose frames but must
// never deliver one that was not sent, and the 0xFE copies never pass.
void TestFcSimulator::noiseNeverLetsACorruptFrameThrough()
{
    LineNoise noise(0.01, 3);
    QSet<QByteArray> sent;
    QByteArray line;
    int foreign = 0;
    for (int i = 0; i < 300; ++i) {
        const QByteArray frame = statusTextOnWire(i);
        const QByteArray noisy = noise.apply(frame);
        foreign += noisy.startsWith(char(0xFE)) ? 1 : 0;
        sent.insert(frame);
        line += noisy;
    }
    const QList<WireFrame> delivered = parseFrames(line);
    for (const WireFrame &frame : delivered)
        QVERIFY(sent.contains(frame.bytes));
    QVERIFY(foreign > 0);
    QVERIFY(delivered.size() < 300);
    QVERIFY(delivered.size() > 100);
}

void TestFcSimulator::noiseIsRepeatableForOneSeed()
{
    LineNoise first(0.2, 42);
    LineNoise second(0.2, 42);
    LineNoise clean;
    for (int i = 0; i < 50; ++i) {
        const QByteArray frame = statusTextOnWire(i);
        QCOMPARE(first.apply(frame), second.apply(frame));
        QCOMPARE(clean.apply(frame), frame);
    }
}

// Nothing sent before the assistant's first request may wait in the line
// for it: a real port that nobody reads loses those bytes.
void TestFcSimulator::linkStaysSilentUntilTheAssistantSpeaks()
{
    SimulatorOnLine line;
    line.sim.sendStatusText(6, QStringLiteral("too early"));
    pumpEvents(100);
    QVERIFY(line.texts.isEmpty());
    QVERIFY(!line.link.isListening());

    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);
    line.sim.sendStatusText(6, QStringLiteral("in time"));
    QTRY_COMPARE(line.texts.size(), 1);
    QCOMPARE(line.texts[0].text, QStringLiteral("in time"));
}

// A closed slave leaves the master hung up and readable for ever; the link
// must neither spin on it nor lose the next connection.
void TestFcSimulator::linkWaitsQuietlyWhileTheAssistantIsAwayAndServesItAgain()
{
    SimulatorOnLine line;
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);

    line.port.close();
    QTRY_VERIFY(!line.link.isListening());
    const double cpuShare = cpuShareWhileRunningEventLoop(1000);
    QVERIFY2(cpuShare < kIdleCpuShareLimit, qPrintable(QString::number(cpuShare)));

    QVERIFY(line.port.open(QIODevice::ReadWrite));
    line.bridge.requestParameter(1, QStringLiteral("SHAPE"));
    QTRY_COMPARE(line.params.size(), 2);
    QCOMPARE(line.params[1].name, QStringLiteral("SHAPE"));
}

QTEST_MAIN(TestFcSimulator)
#include "tst_fcsimulator.moc"
