#include "support/gcsharness.h"
#include "support/processcpu.h"
#include "support/simulatorwait.h"

#include "fcsim/fcmessages.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/linenoise.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"
#include "mavlink/payload.h"
#include "serial/outboundqueue.h"

#include <QRegularExpression>
#include <QSerialPort>
#include <QStatusBar>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <vector>

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

// A PARAM_VALUE as it arrived, with the time since the line was set up.
struct ParamFrame
{
    QString name;
    float value;
    int type;
    int count;
    int index;
    qint64 atMs;
};

ParamFrame decodeParamValue(const MavLinkMessage &msg, qint64 atMs)
{
    const PayloadReader reader(msg);
    char id[17] = {};
    reader.bytes(8, reinterpret_cast<std::uint8_t *>(id), 16);
    return {QString::fromLatin1(id), reader.f32(0), reader.u8(24),
            reader.u16(4),           reader.u16(6), atMs};
}

// "index name value type count", the value with every digit a float has.
QString paramLine(int index, const QString &name, float value, int type, int count)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(index)
        .arg(name)
        .arg(double(value), 0, 'g', 9)
        .arg(type)
        .arg(count);
}

QStringList paramLines(const QList<ParamFrame> &frames)
{
    QStringList out;
    for (const ParamFrame &f : frames)
        out << paramLine(f.index, f.name, f.value, f.type, f.count);
    return out;
}

QStringList tableLines(const ParameterTable &table)
{
    QStringList out;
    for (int i = 0; i < table.count(); ++i)
        out << paramLine(i, table.at(i).name, table.at(i).value, table.at(i).type, table.count());
    return out;
}

QVector<int> indexesOf(const QList<ParamFrame> &frames)
{
    QVector<int> out;
    for (const ParamFrame &f : frames)
        out << f.index;
    return out;
}

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
        connect(&bridge, &MavLinkBridge::frameReady, &outbound, &OutboundQueue::send);
        bridge.attachSerialPort();
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
        clock.start();
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
    OutboundQueue outbound{port};
    MavLinkParser parser;
    QList<Param> params;
    QList<Text> texts;
    QList<QVector<unsigned short>> radio;
    QList<float> volts;
    QList<double> rolls;
    QList<ParamFrame> paramFrames;
    QElapsedTimer clock;

private:
    void readPort()
    {
        for (char byte : port.readAll()) {
            parser.parseByte(std::uint8_t(byte), [this](const MavLinkMessage &frame) {
                const MavLinkMessage msg = frame;
                if (msg.msgid == MavMsg::ParamValue)
                    paramFrames.append(decodeParamValue(msg, clock.elapsed()));
                bridge.handleMessage(&msg);
            });
        }
    }
};

// Parameter requests the assistant's bridge cannot send yet, built by hand.
QByteArray paramId(const QString &name)
{
    const QByteArray id = name.toLatin1().left(kMavParamIdLength);
    return id + QByteArray(kMavParamIdLength - id.size(), '\0');
}

QByteArray toTarget()
{
    return QByteArray("\x01\x01", 2);
}

QByteArray listRequest()
{
    return fcFrame(MavMsg::ParamRequestList, toTarget());
}

// An empty name asks by index.
QByteArray readRequest(int index, const QString &name = QString())
{
    QByteArray payload(2, '\0');
    qToLittleEndian<qint16>(qint16(index), payload.data());
    return fcFrame(MavMsg::ParamRequestRead, payload + toTarget() + paramId(name));
}

QByteArray writeRequest(const QString &name, float value)
{
    QByteArray payload(4, '\0');
    qToLittleEndian<float>(value, payload.data());
    return fcFrame(MavMsg::ParamSet,
                   payload + toTarget() + paramId(name) + char(ParamType::Real32));
}

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

// REQUEST_DATA_STREAM with any start flag; the bridge only sends start 0
// for stream 0.
QByteArray streamRequest(int stream, int rate, int start)
{
    QByteArray payload(MavLength::RequestDataStream, '\0');
    qToLittleEndian<quint16>(quint16(rate), payload.data());
    payload[2] = 1;
    payload[4] = char(stream);
    payload[5] = char(start);
    return fcFrame(MavMsg::RequestDataStream, payload);
}

// The frames of each message id the simulator sends from now on, with the
// milliseconds since then at which each went out.
class SentCounter : public QObject
{
public:
    explicit SentCounter(FcSimulator &sim)
    {
        clock.start();
        connect(&sim, &FcSimulator::frameSent, this,
                [this](const MavLinkMessage &msg) { times[msg.msgid] << clock.elapsed(); });
    }
    int operator[](int msgid) const { return times.value(msgid).size(); }
    int between(int msgid, qint64 fromMs, qint64 toMs) const
    {
        const QVector<qint64> sent = times.value(msgid);
        return int(std::count_if(sent.begin(), sent.end(),
                                 [=](qint64 at) { return at >= fromMs && at < toMs; }));
    }
    QList<int> streamedIds() const
    {
        QList<int> ids = times.keys();
        ids.removeAll(MavMsg::Heartbeat);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

private:
    QElapsedTimer clock;
    QHash<int, QVector<qint64>> times;
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

    void tableHasRealisticNamesTypesAndValues();
    void sendsTheWholeListInOrderAtTheLinesPace();
    void aNewListRequestStartsAgainAtTheTop();
    void answersReadsByIndex_data();
    void answersReadsByIndex();
    void storesWritesAsTheParametersOwnType_data();
    void storesWritesAsTheParametersOwnType();
    void dropsTheAskedShareOfParameterAnswers_data();
    void dropsTheAskedShareOfParameterAnswers();

    void streamsStartAndStopOnRequest_data();
    void streamsStartAndStopOnRequest();
    void eachStreamSendsTheMessagesItGroups_data();
    void eachStreamSendsTheMessagesItGroups();
    void sendsAboutTheRequestedFramesASecond();
    void everyWayOfStoppingEndsTheStream_data();
    void everyWayOfStoppingEndsTheStream();
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

void TestFcSimulator::tableHasRealisticNamesTypesAndValues()
{
    const ParameterTable table;
    const QRegularExpression form(QStringLiteral("^[A-Z][A-Z0-9_]{0,15}$"));
    const QHash<int, QPair<double, double>> integerRanges = {
        {2, {-128, 127}}, {4, {-32768, 32767}}, {6, {-2147483648.0, 2147483647.0}}};
    QSet<int> types;
    for (int i = 0; i < table.count(); ++i) {
        const FcParameter &p = table.at(i);
        QVERIFY2(form.match(p.name).hasMatch(), qPrintable(p.name));
        QVERIFY2(table.indexOf(p.name) == i, qPrintable(p.name + " is there twice"));
        types.insert(p.type);
        if (p.type == 9) {
            QVERIFY2(std::isfinite(p.value), qPrintable(p.name));
            continue;
        }
        QVERIFY2(integerRanges.contains(p.type), qPrintable(p.name));
        const QPair<double, double> range = integerRanges[p.type];
        QVERIFY2(std::trunc(p.value) == p.value && p.value >= range.first &&
                     p.value <= range.second,
                 qPrintable(p.name));
    }
    QCOMPARE(types, (QSet<int>{2, 4, 6, 9}));
    QVERIFY2(table.count() >= 350 && table.count() <= 450,
             qPrintable(QString::number(table.count())));

    const QStringList pageParameters = {
        "ZEFAVERSION",      "FRAME",           "SHAPE",          "RC_TYPE",    "FS_BATT_ENABLE",
        "FS_BATT_WARNING",  "FS_BATT_VOLTAGE", "BATT_VOLT_MULT", "RATE_RLL_P", "RATE_RLL_I",
        "RATE_RLL_D",       "RATE_PIT_P",      "RATE_PIT_I",     "RATE_PIT_D", "RATE_YAW_P",
        "ATC_RATE_FF_ENAB", "CH8_OPT",         "RTL_ALT",        "RC1_MIN",    "RC8_MAX"};
    for (const QString &name : pageParameters)
        QVERIFY2(table.indexOf(name) >= 0, qPrintable(name));
}

// A read by name in the middle of the list is answered at once: the list
// must not hold up the rest of the FC's traffic.
void TestFcSimulator::sendsTheWholeListInOrderAtTheLinesPace()
{
    SimulatorOnLine line;
    const ParameterTable &table = line.sim.parameterTable();
    const int n = table.count();
    const qint64 requestedAt = line.clock.elapsed();
    line.port.write(listRequest());
    QTRY_VERIFY(line.paramFrames.size() >= 50);
    line.bridge.requestParameter(1, QStringLiteral("ZEFAVERSION"));
    QTRY_VERIFY_WITH_TIMEOUT(!line.paramFrames.isEmpty() && line.paramFrames.last().index == n - 1,
                             30000);

    QList<ParamFrame> listed = line.paramFrames;
    const int readAnswer = indexesOf(listed).indexOf(0, 1);
    QVERIFY2(readAnswer >= 50 && readAnswer < listed.size() - 1,
             qPrintable(QString::number(readAnswer)));
    listed.removeAt(readAnswer);
    QCOMPARE(paramLines(listed), tableLines(table));

    // 33 bytes a frame, 11520 bytes a second at 115200 baud.
    const qint64 lineMs = qint64(n - 1) * 33 * 1000 / 11520;
    QVERIFY2(listed.last().atMs - requestedAt >= lineMs,
             qPrintable(QString::number(listed.last().atMs - requestedAt)));
}

void TestFcSimulator::aNewListRequestStartsAgainAtTheTop()
{
    SimulatorOnLine line;
    const QStringList table = tableLines(line.sim.parameterTable());
    line.port.write(listRequest());
    QTRY_VERIFY(line.paramFrames.size() >= 20);
    line.port.write(listRequest());
    QTRY_VERIFY_WITH_TIMEOUT(line.paramFrames.last().index == table.size() - 1, 30000);

    const QStringList listed = paramLines(line.paramFrames);
    const int restart = indexesOf(line.paramFrames).indexOf(0, 1);
    QVERIFY(restart >= 20);
    QCOMPARE(listed.mid(0, restart), table.mid(0, restart));
    QCOMPARE(listed.mid(restart), table);
}

void TestFcSimulator::answersReadsByIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("fromEnd");
    QTest::addColumn<bool>("answered");
    QTest::newRow("first") << 0 << false << true;
    QTest::newRow("last") << -1 << true << true;
    QTest::newRow("one past the last") << 0 << true << false;
    QTest::newRow("largest index") << 32767 << false << false;
    QTest::newRow("-1 without a name") << -1 << false << false;
}

// Each read is followed by one for FRAME; its answer shows that the first
// read has been dealt with.
void TestFcSimulator::answersReadsByIndex()
{
    QFETCH(int, index);
    QFETCH(bool, fromEnd);
    QFETCH(bool, answered);
    SimulatorOnLine line;
    const ParameterTable &table = line.sim.parameterTable();
    const int asked = fromEnd ? table.count() + index : index;
    line.port.write(readRequest(asked));
    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_VERIFY(!line.paramFrames.isEmpty() && line.paramFrames.last().name == "FRAME");

    QCOMPARE(line.paramFrames.size(), answered ? 2 : 1);
    if (answered) {
        const FcParameter &p = table.at(asked);
        QCOMPARE(paramLines(line.paramFrames.mid(0, 1)),
                 QStringList{paramLine(asked, p.name, p.value, p.type, table.count())});
    }
}

void TestFcSimulator::storesWritesAsTheParametersOwnType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("written");
    QTest::addColumn<float>("stored");
    QTest::newRow("INT8 above its range") << "BATT_CELLS" << 2 << 300.0f << 127.0f;
    QTest::newRow("INT8 below its range") << "BATT_CELLS" << 2 << -300.0f << -128.0f;
    QTest::newRow("INT8 rounds") << "BATT_CELLS" << 2 << 2.6f << 3.0f;
    QTest::newRow("INT16 above its range") << "RTL_DESC_ALT" << 4 << 70000.0f << 32767.0f;
    QTest::newRow("INT32 rounds") << "BATT_MAH" << 6 << 5200.4f << 5200.0f;
    QTest::newRow("INT32 above its range") << "BATT_MAH" << 6 << 3e9f << 2147483520.0f;
    QTest::newRow("REAL32 keeps its fraction") << "BATT_AMP_MULT" << 9 << 36.65f << 36.65f;
    QTest::newRow("firmware version is read-only") << "ZEFAVERSION" << 6 << 21.0f << 20.0f;
}

// The assistant writes every value as REAL32; the FC answers with its own
// type and what it actually stored.
void TestFcSimulator::storesWritesAsTheParametersOwnType()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(float, written);
    QFETCH(float, stored);
    SimulatorOnLine line;
    const ParameterTable &table = line.sim.parameterTable();
    line.bridge.setParameter(1, name, QVariant(written));
    QTRY_COMPARE(line.paramFrames.size(), 1);
    const int index = table.indexOf(name);
    QCOMPARE(paramLines(line.paramFrames),
             QStringList{paramLine(index, name, stored, type, table.count())});
    QCOMPARE(line.sim.parameter(name), stored);
}

void TestFcSimulator::dropsTheAskedShareOfParameterAnswers_data()
{
    QTest::addColumn<QByteArray>("requests");
    const ParameterTable table;
    QByteArray byIndex, byName, writes;
    for (int i = 0; i < table.count(); ++i) {
        byIndex += readRequest(i);
        byName += readRequest(-1, table.at(i).name);
        writes += writeRequest(table.at(i).name, table.at(i).value);
    }
    QTest::newRow("list") << listRequest();
    QTest::newRow("reads by index") << byIndex;
    QTest::newRow("reads by name") << byName;
    QTest::newRow("writes") << writes;
}

// Three FCs side by side: two with one seed, one with another.
void TestFcSimulator::dropsTheAskedShareOfParameterAnswers()
{
    QFETCH(QByteArray, requests);
    struct DroppingFc
    {
        explicit DroppingFc(std::uint32_t seed)
        {
            sim.setParamDropRate(0.25, seed);
            QObject::connect(&sim, &FcSimulator::frameSent, &sim, [this](const MavLinkMessage &m) {
                if (m.msgid == MavMsg::ParamValue)
                    answered << PayloadReader(m).u16(6);
            });
        }
        FcSimulator sim;
        QVector<int> answered;
    };
    DroppingFc first(7), again(7), other(8);
    for (DroppingFc *fc : {&first, &again, &other})
        fc->sim.receiveBytes(requests);
    QVERIFY(QTest::qWaitFor(
        [&] {
            return !first.sim.isSendingParameterList() && !again.sim.isSendingParameterList() &&
                   !other.sim.isSendingParameterList();
        },
        30000));

    const int n = first.sim.parameterTable().count();
    const double dropped = 1.0 - double(first.answered.size()) / n;
    QVERIFY2(dropped > 0.15 && dropped < 0.35, qPrintable(QString::number(dropped)));
    QCOMPARE(first.answered, again.answered);
    QVERIFY(first.answered != other.answered);
}

void TestFcSimulator::streamsStartAndStopOnRequest_data()
{
    QTest::addColumn<int>("stream");
    QTest::addColumn<int>("msgid");
    QTest::newRow("extended status") << 2 << int(MavMsg::SysStatus);
    QTest::newRow("rc channels") << 3 << int(MavMsg::RcChannelsRaw);
    QTest::newRow("extra 1") << 10 << int(MavMsg::Attitude);
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

void TestFcSimulator::eachStreamSendsTheMessagesItGroups_data()
{
    QTest::addColumn<int>("stream");
    QTest::addColumn<QList<int>>("msgids");
    const int status = MavMsg::SysStatus;
    const int attitude = MavMsg::Attitude;
    const int rc = MavMsg::RcChannelsRaw;
    QTest::newRow("all") << 0 << QList<int>{status, attitude, rc};
    QTest::newRow("raw sensors") << 1 << QList<int>{};
    QTest::newRow("extended status") << 2 << QList<int>{status};
    QTest::newRow("rc channels") << 3 << QList<int>{rc};
    QTest::newRow("position") << 6 << QList<int>{};
    QTest::newRow("extra 1") << 10 << QList<int>{attitude};
    QTest::newRow("extra 2") << 11 << QList<int>{};
    QTest::newRow("extra 3") << 12 << QList<int>{};
}

// Streams that carry nothing the assistant shows are kept but stay silent.
void TestFcSimulator::eachStreamSendsTheMessagesItGroups()
{
    QFETCH(int, stream);
    QFETCH(QList<int>, msgids);
    FcSimulator sim;
    SentCounter sent(sim);
    sim.receiveBytes(streamRequest(stream, 20, 1));
    pumpEvents(1000);
    QCOMPARE(sent.streamedIds(), msgids);
    for (int id : {1, 2, 3, 6, 10, 11, 12})
        QCOMPARE(sim.isStreaming(id), stream == 0 || id == stream);
}

// One simulator per case, all counted over the same five seconds after a
// second to settle. The bounds are wide: a busy machine delays timers, the
// point is to catch a wrong rate.
void TestFcSimulator::sendsAboutTheRequestedFramesASecond()
{
    const struct
    {
        const char *name;
        int stream;
        int requested;
        double forced;
        int msgid;
        double hz;
    } cases[] = {
        {"RC at 1 Hz", 3, 1, 0, MavMsg::RcChannelsRaw, 1},
        {"RC at 2 Hz", 3, 2, 0, MavMsg::RcChannelsRaw, 2},
        {"attitude at 10 Hz", 10, 10, 0, MavMsg::Attitude, 10},
        {"status at 50 Hz", 2, 50, 0, MavMsg::SysStatus, 50},
        {"100 Hz capped at 50", 3, 100, 0, MavMsg::RcChannelsRaw, 50},
        {"65535 capped at 50", 3, 65535, 0, MavMsg::RcChannelsRaw, 50},
        {"forced 20 Hz over 2", 3, 2, 20, MavMsg::RcChannelsRaw, 20},
        {"forced 80 Hz over the cap", 10, 1, 80, MavMsg::Attitude, 80},
    };
    std::vector<std::unique_ptr<FcSimulator>> sims;
    std::vector<std::unique_ptr<SentCounter>> counters;
    for (const auto &c : cases) {
        sims.emplace_back(new FcSimulator);
        counters.emplace_back(new SentCounter(*sims.back()));
        sims.back()->setStreamRate(c.forced);
        sims.back()->receiveBytes(streamRequest(c.stream, c.requested, 1));
    }
    constexpr qint64 kFromMs = 1000;
    constexpr qint64 kToMs = 6000;
    pumpEvents(int(kToMs) + 100);

    const double seconds = (kToMs - kFromMs) / 1000.0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto &c = cases[i];
        const SentCounter &sent = *counters[i];
        const int frames = sent.between(c.msgid, kFromMs, kToMs);
        const int beats = sent.between(MavMsg::Heartbeat, kFromMs, kToMs);
        const QString seen = QStringLiteral("%1: %2 frames, %3 heartbeats in %4 s")
                                 .arg(QLatin1String(c.name))
                                 .arg(frames)
                                 .arg(beats)
                                 .arg(seconds);
        QVERIFY2(frames >= 0.6 * c.hz * seconds && frames <= 1.4 * c.hz * seconds,
                 qPrintable(seen));
        QVERIFY2(beats >= 0.6 * seconds && beats <= 1.4 * seconds, qPrintable(seen));
    }
}

void TestFcSimulator::everyWayOfStoppingEndsTheStream_data()
{
    QTest::addColumn<QByteArray>("stop");
    QTest::addColumn<bool>("attitudeGoesOn");
    QTest::newRow("rate 0") << streamRequest(3, 0, 1) << true;
    QTest::newRow("start 0") << streamRequest(3, 50, 0) << true;
    QTest::newRow("all at rate 0, as the advanced page asks") << streamRequest(0, 0, 1) << false;
    QTest::newRow("all with start 0") << streamRequest(0, 50, 0) << false;
}

// Radio at 50 Hz and attitude at 10 Hz; then the radio, or everything, stops.
void TestFcSimulator::everyWayOfStoppingEndsTheStream()
{
    QFETCH(QByteArray, stop);
    QFETCH(bool, attitudeGoesOn);
    FcSimulator sim;
    SentCounter sent(sim);
    sim.receiveBytes(streamRequest(3, 50, 1) + streamRequest(10, 10, 1));
    QTRY_VERIFY(sent[MavMsg::RcChannelsRaw] >= 5 && sent[MavMsg::Attitude] >= 1);

    sim.receiveBytes(stop);
    QVERIFY(!sim.isStreaming(3));
    QCOMPARE(sim.isStreaming(10), attitudeGoesOn);
    const int rcAtStop = sent[MavMsg::RcChannelsRaw];
    const int attitudeAtStop = sent[MavMsg::Attitude];
    pumpEvents(700);
    QCOMPARE(sent[MavMsg::RcChannelsRaw], rcAtStop);
    QCOMPARE(sent[MavMsg::Attitude] > attitudeAtStop, attitudeGoesOn);
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

// The sticks move with the clock, a sweep in 4 s; watched at 10 Hz until
// the throttle has been at both ends.
void TestFcSimulator::sweptSticksCoverTheirRangeWithinLimits()
{
    SimulatorOnLine line;
    line.bridge.requestRcChannelsStream(10);
    const auto throttle = [&line] {
        QSet<unsigned short> values;
        for (const QVector<unsigned short> &channels : line.radio)
            values.insert(channels[2]);
        return values;
    };
    QVERIFY(QTest::qWaitFor([&] { return throttle().contains(1100) && throttle().contains(1900); },
                            15000));
    for (const QVector<unsigned short> &channels : line.radio) {
        for (unsigned short value : channels)
            QVERIFY2(value >= 1100 && value <= 1900, qPrintable(QString::number(value)));
    }
    QVERIFY(throttle().size() > 10);
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
    QTest::newRow("failure") << true << "Calibration FAILED";
}

// The prompts word for word; each must name exactly its own face among the
// page's keywords, so the page shows the right picture ("UP" must not hide in
// the "DOWN" prompt).
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

    const QStringList prompts = {"Place FC level and press any key.",
                                 "Place FC on its LEFT side and press any key.",
                                 "Place FC on its RIGHT side and press any key.",
                                 "Place FC nose DOWN and press any key.",
                                 "Place FC nose UP and press any key.",
                                 "Place FC on its BACK and press any key."};
    QCOMPARE(texts.mid(0, 6), prompts);
    const QStringList faces = {"level", "LEFT", "RIGHT", "DOWN", "UP", "BACK"};
    for (int face = 0; face < 6; ++face) {
        for (int other = 0; other < 6; ++other)
            QCOMPARE(texts[face].contains(faces[other], Qt::CaseSensitive), other == face);
    }
    QCOMPARE(texts[6], verdict);
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
    line.sim.sendStatusText(MavSeverity::Info, QStringLiteral("too early"));
    pumpEvents(100);
    QVERIFY(line.texts.isEmpty());
    QVERIFY(!line.link.isListening());

    line.bridge.requestParameter(1, QStringLiteral("FRAME"));
    QTRY_COMPARE(line.params.size(), 1);
    line.sim.sendStatusText(MavSeverity::Info, QStringLiteral("in time"));
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
