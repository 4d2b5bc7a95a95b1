#include "support/wire.h"

#include "fcsim/fcmessages.h"
#include "mavlink/checksum.h"
#include "mavlink/mavlinkbridge.h"
#include "mavlink/mavlinkparser.h"
#include "mavlink/payload.h"

#include <QtTest>

namespace {

QString joined(const QVector<double> &values)
{
    QStringList out;
    for (double v : values)
        out << QString::number(v);
    return out.join(' ');
}

// Everything the bridge emits, one line per signal with its values (six
// significant digits), in order.
class Emissions : public QObject
{
public:
    explicit Emissions(MavLinkBridge &bridge)
    {
        connect(&bridge, &MavLinkBridge::armedUpdate, this,
                [this](bool armed) { log << QStringLiteral("armed %1").arg(armed); });
        connect(&bridge, &MavLinkBridge::setATT, this, [this](double r, double p, double y) {
            attitude = {r, p, y};
            log << "attitude " + joined(attitude);
        });
        connect(&bridge, &MavLinkBridge::setBatt, this, [this](float v) {
            volts = v;
            log << "battery " + QString::number(double(v));
        });
        connect(&bridge, &MavLinkBridge::setRadioInput, this, [this](unsigned short *rc) {
            log << "radio " + joined(QVector<double>(rc, rc + 8));
        });
        connect(&bridge, &MavLinkBridge::setParam, this, [this](QString &name, QVariant value) {
            paramValue = value;
            log << QStringLiteral("param %1=%2").arg(name).arg(double(value.toFloat()));
        });
        connect(&bridge, &MavLinkBridge::textMessageReceived, this,
                [this](int uasid, int componentid, int severity, QString text) {
                    log << QStringLiteral("text %1 %2 %3 %4")
                               .arg(uasid)
                               .arg(componentid)
                               .arg(severity)
                               .arg(text);
                });
        connect(&bridge, &MavLinkBridge::rawImuMessageUpdate, this, [this](mavlink_raw_imu_t m) {
            imu = m;
            log << QStringLiteral("imu");
        });
        connect(&bridge, &MavLinkBridge::sensorOffsetsMessageUpdate, this,
                [this](mavlink_sensor_offsets_t m) {
                    offsets = m;
                    log << QStringLiteral("offsets");
                });
        connect(&bridge, &MavLinkBridge::modeChanged, this,
                [this](int, uint8_t) { log << QStringLiteral("mode"); });
    }

    QStringList log;
    QVector<double> attitude;
    float volts = -1;
    QVariant paramValue;
    mavlink_raw_imu_t imu = {};
    mavlink_sensor_offsets_t offsets = {};
};

// The receive loop's way: one parser for every frame, a copy of each
// completed message handed to the decoder.
class Receiver
{
public:
    Receiver() : seen(bridge) {}

    void feed(const QByteArray &bytes)
    {
        for (char byte : bytes) {
            parser.parseByte(std::uint8_t(byte), [this](const MavLinkMessage &msg) {
                const MavLinkMessage copy = msg;
                bridge.handleMessage(&copy);
            });
        }
    }

    MavLinkBridge bridge;
    MavLinkParser parser;
    Emissions seen;
};

QByteArray payloadOf(const MavLinkMessage &msg)
{
    return QByteArray(reinterpret_cast<const char *>(msg.payload), msg.len);
}

// The same message cut to its first `length` payload bytes, checksum
// recomputed, as a sender with an older layout would send it.
QByteArray truncated(const MavLinkMessage &msg, int length)
{
    return fcFrame(msg.msgid, payloadOf(msg).left(length));
}

QByteArray paramValueWithRawId(const QByteArray &id)
{
    MavLinkMessage msg = FcMessages::paramValue(QString(), 7.0f, ParamType::Real32);
    PayloadWriter(msg).putBytes(8, reinterpret_cast<const std::uint8_t *>(id.constData()),
                                id.size());
    return FcMessages::toWire(msg, 0);
}

// "heartbeat S/C" or "param S/C": that message from system S, component C.
QByteArray frameOfStep(const QString &step)
{
    const QStringList ids = step.section(' ', 1).split('/');
    const MavLinkMessage msg =
        step.startsWith("heartbeat")
            ? FcMessages::heartbeat(0)
            : FcMessages::paramValue(QStringLiteral("FRAME"), 1, ParamType::Int8);
    return frameFrom(std::uint8_t(ids.value(0).toInt()), std::uint8_t(ids.value(1).toInt()), msg);
}

} // namespace

class TestDecoder : public QObject
{
    Q_OBJECT

private slots:
    void signalsInDeclaredOrder();

    void heartbeatArmedFromAnyBaseModeBit_data();
    void heartbeatArmedFromAnyBaseModeBit();
    void heartbeatSafetyArmedFlagAlone_data();
    void heartbeatSafetyArmedFlagAlone();
    void onlyTheFcsOwnHeartbeatsAreTold_data();
    void onlyTheFcsOwnHeartbeatsAreTold();
    void batteryMillivoltsToVolts_data();
    void batteryMillivoltsToVolts();
    void attitudeRadiansTimesFiftySevenPointThree();
    void radioArrayInChannelOrder();

    void parameterValueIsAlwaysAFloat_data();
    void parameterValueIsAlwaysAFloat();
    void parameterNameEndsAtFirstZeroOrAfterSixteen_data();
    void parameterNameEndsAtFirstZeroOrAfterSixteen();
    void parameterReportCarriesTypePlaceAndSender();

    void statusTextEmittedUnlessAudioCue_data();
    void statusTextEmittedUnlessAudioCue();
    void statusTextHasFixedSenderIds();

    void rawImuFieldsInPublishedOrder();
    void sensorOffsetsFieldsInPublishedOrder();

    void unhandledIdsEmitNothing_data();
    void unhandledIdsEmitNothing();
    void shortPayloadReadsZerosNotEarlierBytes_data();
    void shortPayloadReadsZerosNotEarlierBytes();
};

// The order is part of the interface: it is each signal's index in the
// meta-object.
void TestDecoder::signalsInDeclaredOrder()
{
    const QMetaObject &mo = MavLinkBridge::staticMetaObject;
    QStringList signatures;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        if (mo.method(i).methodType() == QMetaMethod::Signal)
            signatures << QString::fromLatin1(mo.method(i).methodSignature());
    }
    const QStringList expected = {"armedUpdate(bool)",
                                  "setATT(double,double,double)",
                                  "setBatt(float)",
                                  "setRadioInput(unsigned short*)",
                                  "setParam(QString&,QVariant)",
                                  "textMessageReceived(int,int,int,QString)",
                                  "rawImuMessageUpdate(mavlink_raw_imu_t)",
                                  "sensorOffsetsMessageUpdate(mavlink_sensor_offsets_t)",
                                  "modeChanged(int,uint8_t)",
                                  "parameterReported(ParameterReport)",
                                  "heartbeatReceived(bool)",
                                  "frameReady(QByteArray)",
                                  "frameSent(QByteArray)"};
    QCOMPARE(signatures, expected);
    QCOMPARE(mo.method(mo.methodOffset()).name(), QByteArray("armedUpdate"));
}

void TestDecoder::heartbeatArmedFromAnyBaseModeBit_data()
{
    QTest::addColumn<int>("baseMode");
    QTest::addColumn<bool>("armed");
    QTest::newRow("no bit") << 0 << false;
    QTest::newRow("custom mode bit only") << 1 << true;
    QTest::newRow("safety armed flag") << 128 << true;
    QTest::newRow("disarmed stabilize") << 81 << true;
}

void TestDecoder::heartbeatArmedFromAnyBaseModeBit()
{
    QFETCH(int, baseMode);
    QFETCH(bool, armed);
    Receiver rx;
    rx.feed(heartbeatFrame(std::uint8_t(baseMode)));
    QCOMPARE(rx.seen.log, QStringList{QStringLiteral("armed %1").arg(armed)});
}

void TestDecoder::heartbeatSafetyArmedFlagAlone_data()
{
    QTest::addColumn<int>("baseMode");
    QTest::addColumn<bool>("armed");
    QTest::newRow("no bit") << 0 << false;
    QTest::newRow("custom mode bit only") << 1 << false;
    QTest::newRow("disarmed stabilize") << 81 << false;
    QTest::newRow("safety armed flag") << 128 << true;
    QTest::newRow("armed stabilize") << 209 << true;
}

void TestDecoder::heartbeatSafetyArmedFlagAlone()
{
    QFETCH(int, baseMode);
    QFETCH(bool, armed);
    Receiver rx;
    QList<bool> reported;
    QObject::connect(&rx.bridge, &MavLinkBridge::heartbeatReceived,
                     [&](bool isArmed) { reported << isArmed; });
    rx.feed(heartbeatFrame(std::uint8_t(baseMode)));
    QCOMPARE(reported, QList<bool>{armed});
}

void TestDecoder::onlyTheFcsOwnHeartbeatsAreTold_data()
{
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("the first autopilot heartbeat names the FC")
        << QStringList{"heartbeat 255/190", "heartbeat 1/191", "heartbeat 1/1", "heartbeat 255/1",
                       "heartbeat 1/1"}
        << QStringList{"1/1", "1/1"};
    QTest::newRow("a parameter report names it first")
        << QStringList{"param 7/1", "heartbeat 255/1", "heartbeat 1/1", "heartbeat 7/1"}
        << QStringList{"7/1"};
    QTest::newRow("the system of any component's parameters, the FC's component")
        << QStringList{"param 7/190", "heartbeat 7/190", "heartbeat 7/1"} << QStringList{"7/1"};
    QTest::newRow("a new link names it again")
        << QStringList{"heartbeat 1/1", "attach", "heartbeat 2/1", "heartbeat 1/1"}
        << QStringList{"1/1", "2/1"};
    QTest::newRow("so does a closed one")
        << QStringList{"param 1/1", "detach", "heartbeat 2/1"} << QStringList{"2/1"};
}

void TestDecoder::onlyTheFcsOwnHeartbeatsAreTold()
{
    QFETCH(QStringList, received);
    QFETCH(QStringList, told);
    Receiver rx;
    QStringList heard;
    QObject::connect(&rx.bridge, &MavLinkBridge::heartbeatReceived, [&] {
        const MavLinkMessage &msg = rx.parser.message();
        heard << QStringLiteral("%1/%2").arg(msg.sysid).arg(msg.compid);
    });
    for (const QString &step : received) {
        if (step == QLatin1String("attach"))
            rx.bridge.attachSerialPort();
        else if (step == QLatin1String("detach"))
            rx.bridge.detachSerialPort();
        else
            rx.feed(frameOfStep(step));
    }
    QCOMPARE(heard, told);
}

void TestDecoder::batteryMillivoltsToVolts_data()
{
    QTest::addColumn<int>("millivolts");
    QTest::addColumn<float>("volts");
    QTest::newRow("12600 mV") << 12600 << 12.6f;
    QTest::newRow("65535 is not special") << 65535 << 65.535f;
    QTest::newRow("nothing") << 0 << 0.0f;
}

void TestDecoder::batteryMillivoltsToVolts()
{
    QFETCH(int, millivolts);
    QFETCH(float, volts);
    Receiver rx;
    rx.feed(sysStatusFrame(std::uint16_t(millivolts)));
    QCOMPARE(rx.seen.log.size(), 1);
    QCOMPARE(rx.seen.volts, volts);
}

void TestDecoder::attitudeRadiansTimesFiftySevenPointThree()
{
    Receiver rx;
    rx.feed(attitudeFrame(1.0f, -0.5f, 0.1f));
    QCOMPARE(rx.seen.log.size(), 1);
    QCOMPARE(rx.seen.attitude, (QVector<double>{57.3, -28.65, double(0.1f) * 57.3}));
}

void TestDecoder::radioArrayInChannelOrder()
{
    Receiver rx;
    rx.feed(rcChannelsFrame({1500, 1101, 1202, 1303, 1404, 1505, 1606, 1100}));
    QCOMPARE(rx.seen.log, QStringList{"radio 1500 1101 1202 1303 1404 1505 1606 1100"});
}

void TestDecoder::parameterValueIsAlwaysAFloat_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("int32") << int(ParamType::Int32);
    QTest::newRow("real32") << int(ParamType::Real32);
    QTest::newRow("int8") << int(ParamType::Int8);
}

void TestDecoder::parameterValueIsAlwaysAFloat()
{
    QFETCH(int, type);
    Receiver rx;
    rx.feed(paramValueFrame(QStringLiteral("FRAME"), 1.0f, type));
    QCOMPARE(rx.seen.log, QStringList{"param FRAME=1"});
    QCOMPARE(rx.seen.paramValue.userType(), int(QMetaType::Float));
    QCOMPARE(rx.seen.paramValue.toInt(), 1);
}

void TestDecoder::parameterNameEndsAtFirstZeroOrAfterSixteen_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("emitted");
    QTest::newRow("16 characters, no terminator")
        << QByteArray("ATC_RATE_FF_ENAB") << QStringLiteral("param ATC_RATE_FF_ENAB=7");
    QTest::newRow("bytes after the terminator")
        << QByteArray("RTL_ALT\0GARBAGE!", 16) << QStringLiteral("param RTL_ALT=7");
    QTest::newRow("UTF-8") << QByteArray("TEMP_\xc2\xb0")
                           << QString::fromUtf8("param TEMP_\xc2\xb0=7");
}

void TestDecoder::parameterNameEndsAtFirstZeroOrAfterSixteen()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, emitted);
    Receiver rx;
    rx.feed(paramValueWithRawId(id));
    QCOMPARE(rx.seen.log, QStringList{emitted});
}

// The list position and type travel beside the plain setParam, which is
// still emitted first; the ids are the frame's own. Queued receivers get a
// copy, so the type must be registered.
void TestDecoder::parameterReportCarriesTypePlaceAndSender()
{
    MavLinkMessage msg = FcMessages::paramValue(QStringLiteral("RC3_TRIM"), -1.5f, 4, 401, 300);
    finalizeFrame(msg, 5, 7, 190, msg.len, crcExtra(MavMsg::ParamValue));
    Receiver rx;
    QList<ParameterReport> reports;
    QObject::connect(
        &rx.bridge, &MavLinkBridge::parameterReported, &rx.bridge,
        [&](ParameterReport r) {
            reports << r;
            rx.seen.log << "report";
        },
        Qt::QueuedConnection);
    rx.feed(QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), msg.frameLength()));
    QCoreApplication::processEvents();
    QCOMPARE(rx.seen.log, (QStringList{"param RC3_TRIM=-1.5", "report"}));
    QCOMPARE(reports.size(), 1);
    const ParameterReport &r = reports[0];
    QCOMPARE(r.name, QStringLiteral("RC3_TRIM"));
    QCOMPARE(r.value, -1.5f);
    QCOMPARE(int(r.type), 4);
    QCOMPARE(int(r.index), 300);
    QCOMPARE(int(r.count), 401);
    QCOMPARE(int(r.systemId), 7);
    QCOMPARE(int(r.componentId), 190);
}

void TestDecoder::statusTextEmittedUnlessAudioCue_data()
{
    const QByteArray fifty = "Fifty characters of status text, all of them kept.";
    QTest::addColumn<int>("severity");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("emitted");
    QTest::newRow("pre-arm report")
        << 3 << QByteArray("RC not calibrated") << QStringList{"text 1 1 3 RC not calibrated"};
    QTest::newRow("audio cue") << 5 << QByteArray("#audio:beep") << QStringList{};
    QTest::newRow("audio cue later in the text")
        << 6 << QByteArray("say #audio:beep") << QStringList{"text 1 1 6 say #audio:beep"};
    QTest::newRow("prefix in other case")
        << 6 << QByteArray("#AUDIO:beep") << QStringList{"text 1 1 6 #AUDIO:beep"};
    QTest::newRow("50 characters, no terminator")
        << 5 << fifty << QStringList{"text 1 1 5 " + QString::fromLatin1(fifty)};
}

void TestDecoder::statusTextEmittedUnlessAudioCue()
{
    QFETCH(int, severity);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, emitted);
    QCOMPARE(text.size() <= 50, true);
    Receiver rx;
    rx.feed(statusTextFrame(severity, text));
    QCOMPARE(rx.seen.log, emitted);
}

// Whoever sent the frame, the signal names system 1, component 1.
void TestDecoder::statusTextHasFixedSenderIds()
{
    MavLinkMessage msg = FcMessages::statusText(4, "from afar");
    finalizeFrame(msg, 9, 42, 190, msg.len, crcExtra(MavMsg::StatusText));
    Receiver rx;
    rx.feed(QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), msg.frameLength()));
    QCOMPARE(rx.seen.log, QStringList{"text 1 1 4 from afar"});
}

void TestDecoder::rawImuFieldsInPublishedOrder()
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::RawImu;
    msg.len = MavLength::RawImu;
    PayloadWriter writer(msg);
    writer.putU32(0, 0x89ABCDEF);
    writer.putU32(4, 0x01234567);
    const std::int16_t values[] = {-1, 2, -3, 4, -5, 6, -7, 8, -9};
    for (int i = 0; i < 9; ++i)
        writer.putI16(8 + 2 * i, values[i]);
    Receiver rx;
    rx.feed(FcMessages::toWire(msg, 0));
    QCOMPARE(rx.seen.log, QStringList{"imu"});
    const mavlink_raw_imu_t &imu = rx.seen.imu;
    QCOMPARE(imu.time_usec, std::uint64_t(0x0123456789ABCDEF));
    const std::int16_t got[] = {imu.xacc,  imu.yacc, imu.zacc, imu.xgyro, imu.ygyro,
                                imu.zgyro, imu.xmag, imu.ymag, imu.zmag};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(got[i], values[i]);
}

void TestDecoder::sensorOffsetsFieldsInPublishedOrder()
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::SensorOffsets;
    msg.len = MavLength::SensorOffsets;
    PayloadWriter writer(msg);
    writer.putFloat(0, 0.25f);
    writer.putU32(4, std::uint32_t(-101325));
    writer.putU32(8, 2500);
    const float floats[] = {1.5f, -2.5f, 3.5f, -4.5f, 5.5f, -6.5f};
    for (int i = 0; i < 6; ++i)
        writer.putFloat(12 + 4 * i, floats[i]);
    writer.putI16(36, -300);
    writer.putI16(38, 400);
    writer.putI16(40, -500);
    Receiver rx;
    rx.feed(FcMessages::toWire(msg, 0));
    QCOMPARE(rx.seen.log, QStringList{"offsets"});
    const mavlink_sensor_offsets_t &o = rx.seen.offsets;
    QCOMPARE(o.mag_declination, 0.25f);
    QCOMPARE(o.raw_press, -101325);
    QCOMPARE(o.raw_temp, 2500);
    const float got[] = {o.gyro_cal_x,  o.gyro_cal_y,  o.gyro_cal_z,
                         o.accel_cal_x, o.accel_cal_y, o.accel_cal_z};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(got[i], floats[i]);
    QCOMPARE(o.mag_ofs_x, std::int16_t(-300));
    QCOMPARE(o.mag_ofs_y, std::int16_t(400));
    QCOMPARE(o.mag_ofs_z, std::int16_t(-500));
}

void TestDecoder::unhandledIdsEmitNothing_data()
{
    QTest::addColumn<int>("msgid");
    QTest::addColumn<int>("length");
    for (int id : {2, 3, 24, 74, 254, 255})
        QTest::addRow("id %d", id) << id << 30;
}

// Valid frames (checksum right, CRC_EXTRA 0 included) that the decoder
// simply does not look at.
void TestDecoder::unhandledIdsEmitNothing()
{
    QFETCH(int, msgid);
    QFETCH(int, length);
    Receiver rx;
    const QByteArray frame = fcFrame(std::uint8_t(msgid), QByteArray(length, '\x55'));
    QCOMPARE(parseFrames(frame).size(), 1);
    rx.feed(frame);
    QVERIFY2(rx.seen.log.isEmpty(), qPrintable(rx.seen.log.join(", ")));
}

void TestDecoder::shortPayloadReadsZerosNotEarlierBytes_data()
{
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QByteArray>("shortFrame");
    QTest::addColumn<QString>("emitted");

    QTest::newRow("attitude without angles")
        << attitudeFrame(0.5f, 0.25f, 1.0f)
        << truncated(FcMessages::attitude(0.5f, 0.25f, 1.0f, 77), 4) << "attitude 0 0 0";
    QTest::newRow("attitude without yaw")
        << attitudeFrame(1.0f, 1.0f, 1.0f) << truncated(FcMessages::attitude(0, 1.0f, 0), 12)
        << "attitude 0 57.3 0";
    QTest::newRow("voltage cut after its low byte")
        << sysStatusFrame(12600) << truncated(FcMessages::sysStatus(0x3138), 15) << "battery 0.056";
    QTest::newRow("text cut short")
        << statusTextFrame(3, "Compass not healthy")
        << truncated(FcMessages::statusText(3, "PreArm: RC not calibrated"), 7)
        << "text 1 1 3 PreArm";
    QTest::newRow("parameter without name")
        << paramValueFrame(QStringLiteral("FS_BATT_VOLTAGE"), 10.5f)
        << truncated(FcMessages::paramValue(QStringLiteral("RTL_ALT"), 1500.0f, ParamType::Real32),
                     8)
        << "param =1500";
    QTest::newRow("four channels of eight")
        << rcChannelsFrame({1900, 1900, 1900, 1900, 1900, 1900, 1900, 1900})
        << truncated(FcMessages::rcChannelsRaw({1500, 1500, 1500, 1500}), 12)
        << "radio 1500 1500 1500 1500 0 0 0 0";
}

// A shorter payload than the layout reads the missing bytes as 0; the
// message record still holds the earlier, longer frame's bytes there.
void TestDecoder::shortPayloadReadsZerosNotEarlierBytes()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QByteArray, shortFrame);
    QFETCH(QString, emitted);
    Receiver rx;
    rx.feed(earlier);
    rx.seen.log.clear();
    rx.feed(shortFrame);
    QCOMPARE(rx.seen.log, QStringList{emitted});
}

QTEST_MAIN(TestDecoder)
#include "tst_decoder.moc"
