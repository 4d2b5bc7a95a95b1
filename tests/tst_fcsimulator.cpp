#include "support/gcsharness.h"
#include "support/modalboxcloser.h"

#include "fcsim/fcsimulator.h"
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

} // namespace

class TestFcSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersParameterRequestsByName_data();
    void answersParameterRequestsByName();
    void storesWrittenParametersAndEchoesThem();
    void ignoresUnknownParameters();
    void firmwareVersionDecidesWhetherTheAssistantStays_data();
    void firmwareVersionDecidesWhetherTheAssistantStays();
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

    gcs.action("actionConnect")->trigger();
    QTRY_VERIFY(!sim.receivedFrames().isEmpty());
    pumpEvents(200);

    QCOMPARE(gcs.port()->isOpen(), staysConnected);
    QCOMPARE(gcs.action("actionDisconnect")->isEnabled(), staysConnected);
    const QStringList expected =
        staysConnected ? QStringList{"get ZEFAVERSION"}
                       : QStringList{"get ZEFAVERSION", "stream 1 rate 65535 start 1",
                                     "stream 10 rate 65535 start 1", "stream 11 rate 65535 start 1",
                                     "stream 6 rate 65535 start 1"};
    QCOMPARE(describeAll(parseFrames(sim.receivedBytes())), expected);
}

QTEST_MAIN(TestFcSimulator)
#include "tst_fcsimulator.moc"
