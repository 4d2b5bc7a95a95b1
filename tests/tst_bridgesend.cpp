#include "mavlink/mavlinkbridge.h"
#include "serial/outboundqueue.h"
#include "support/ptypair.h"
#include "support/wire.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QtTest>

namespace {
QByteArray nameField(const char *name)
{
    QByteArray field(name);
    field.append(QByteArray(16 - field.size(), '\0'));
    return field;
}

// The frame with its checksum: X.25 bit by bit from the length byte on, then
// the message's CRC_EXTRA, low byte first. Independent of the product's
// tabulated checksum.
QByteArray withChecksum(const QByteArray &frame, std::uint8_t crcExtra)
{
    std::uint16_t crc = 0xFFFF;
    const auto fold = [&crc](std::uint8_t byte) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0x8408) : std::uint16_t(crc >> 1);
    };
    for (int i = 1; i < frame.size(); ++i)
        fold(std::uint8_t(frame[i]));
    fold(crcExtra);
    return frame + char(crc & 0xFF) + char(crc >> 8);
}
} // namespace

// Frames as the bridge writes them to a real serial line.
class BridgeSend : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<QSerialPort> port;
    std::unique_ptr<MavLinkBridge> bridge;
    std::unique_ptr<OutboundQueue> queue;

    QByteArray written()
    {
        [&] { QTRY_VERIFY_WITH_TIMEOUT(queue->isEmpty(), 10000); }();
        return pty->readUntilQuiet(50);
    }

    void attach()
    {
        QTest::ignoreMessage(QtDebugMsg, "port attached: true");
        bridge->attachSerialPort();
    }

private slots:
    void init()
    {
        pty.reset(new PtyPair);
        port.reset(new QSerialPort(pty->slavePath()));
        QVERIFY(port->open(QIODevice::ReadWrite));
        bridge.reset(new MavLinkBridge);
        queue.reset(new OutboundQueue(*port));
        connect(bridge.get(), &MavLinkBridge::frameReady, queue.get(), &OutboundQueue::send);
        attach();
    }

    void cleanup()
    {
        queue.reset();
        bridge.reset();
        port.reset();
        pty.reset();
    }

    void streamRequests()
    {
        bridge->requestAllStreams(1);
        QCOMPARE(written(), fromHex("EB 06 00 01 01 42 00 00 01 00 00 01 99 57"));
        bridge->requestRcChannelsStream(2);
        QCOMPARE(written().mid(6, 6), fromHex("02 00 01 00 03 01"));
    }

    void rcChannelsStreamAtSequenceZero()
    {
        bridge->requestRcChannelsStream(2);
        QCOMPARE(written(), fromHex("EB 06 00 01 01 42 02 00 01 00 03 01 46 8F"));
    }

    void stopAndMaximumRate_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("wireRate");
        QTest::addColumn<int>("start");
        QTest::newRow("stop") << 0 << 0 << 0;
        QTest::newRow("minus one") << -1 << 65535 << 1;
        QTest::newRow("low 16 bits") << 0x10005 << 5 << 1;
    }

    void stopAndMaximumRate()
    {
        QFETCH(int, rate);
        QFETCH(int, wireRate);
        QFETCH(int, start);
        bridge->requestExtra2Stream(rate);
        const QList<WireFrame> frames = parseFrames(written());
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].streamId(), 11);
        QCOMPARE(frames[0].streamRate(), wireRate);
        QCOMPARE(frames[0].streamStart(), start);
    }

    void everyStreamOperationUsesItsStreamId()
    {
        bridge->requestRawSensorsStream(1);
        bridge->requestExtendedStatusStream(1);
        bridge->requestRcChannelsStream(1);
        bridge->requestPositionStream(1);
        bridge->requestExtra1Stream(1);
        bridge->requestExtra2Stream(1);
        bridge->requestExtra3Stream(1);
        bridge->requestAllStreams(0);
        QCOMPARE(describeAll(parseFrames(written())),
                 (QStringList{"stream 1 rate 1 start 1", "stream 2 rate 1 start 1",
                              "stream 3 rate 1 start 1", "stream 6 rate 1 start 1",
                              "stream 10 rate 1 start 1", "stream 11 rate 1 start 1",
                              "stream 12 rate 1 start 1", "stream 0 rate 0 start 0"}));
    }

    void parameterRequestByName()
    {
        bridge->requestParameter(1, "RTL_ALT");
        QCOMPARE(written(), fromHex("EB 14 00 00 01 14 FF FF 01 01") + nameField("RTL_ALT") +
                                fromHex("0A 70"));
    }

    void sixteenCharacterNameHasNoTerminator()
    {
        bridge->requestParameter(1, "ATC_RATE_FF_ENAB");
        const QByteArray frame = written();
        QCOMPARE(frame.size(), 28);
        QCOMPARE(frame.mid(10, 16), QByteArray("ATC_RATE_FF_ENAB"));
        QCOMPARE(frame.right(2), fromHex("24 99"));
        bridge->requestParameter(1, "ATC_RATE_FF_ENABLE_TOO_LONG");
        QCOMPARE(written().mid(10, 16), QByteArray("ATC_RATE_FF_ENAB"));
    }

    void parameterListRequest()
    {
        bridge->requestParameterList(1);
        QCOMPARE(written(), withChecksum(fromHex("EB 02 00 00 01 15 01 01"), 159));
    }

    // param_index 300 (2C 01) and an all-zero name.
    void parameterRequestByIndex()
    {
        bridge->requestParameterByIndex(1, 300);
        QCOMPARE(
            written(),
            withChecksum(fromHex("EB 14 00 00 01 14 2C 01 01 01") + QByteArray(16, '\0'), 214));
    }

    // The type is the caller's, not derived from a QVariant: 1100.0 as INT16.
    void typedParameterWrite()
    {
        bridge->writeParameter(1, "RC1_MIN", 1100.0f, 4);
        QCOMPARE(written(), withChecksum(fromHex("EB 17 00 00 01 17 00 80 89 44 01 01") +
                                             nameField("RC1_MIN") + fromHex("04"),
                                         168));
        bridge->detachSerialPort();
        bridge->writeParameter(1, "RC1_MIN", 1100.0f, 4);
        attach();
        bridge->writeParameter(1, "RC1_MIN", 1.0f, 9);
        QCOMPARE(int(parseFrames(written()).value(0).msg.seq), 1);
    }

    void floatParameterWrite()
    {
        bridge->setParameter(1, "RTL_ALT", QVariant(1500.0f));
        QCOMPARE(written(), fromHex("EB 17 00 00 01 17 00 80 BB 44 01 01") + nameField("RTL_ALT") +
                                fromHex("09 67 D6"));
    }

    void parameterValueTypes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<float>("wireValue");
        QTest::addColumn<int>("wireType");
        QTest::newRow("int") << QVariant(4) << 4.0f << 6;
        QTest::newRow("negative int") << QVariant(-2) << -2.0f << 6;
        QTest::newRow("unsigned") << QVariant(7u) << 7.0f << 5;
        QTest::newRow("latin-1 char") << QVariant(QChar(0xE9)) << 233.0f << 2;
        QTest::newRow("wide char") << QVariant(QChar(0x4E2D)) << 0.0f << 2;
        QTest::newRow("float") << QVariant(0.012f) << 0.012f << 9;
    }

    // Integers travel as numeric floats, never as reinterpreted bits.
    void parameterValueTypes()
    {
        QFETCH(QVariant, value);
        QFETCH(float, wireValue);
        QFETCH(int, wireType);
        bridge->setParameter(1, "FRAME", value);
        const QList<WireFrame> frames = parseFrames(written());
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].paramName(), QString("FRAME"));
        QCOMPARE(frames[0].paramValue(), wireValue);
        QCOMPARE(frames[0].paramType(), wireType);
    }

    void refusedValueTypesSendNothing()
    {
        for (const QVariant &value :
             {QVariant(1.5), QVariant(true), QVariant(QString("5")), QVariant(qint64(5))}) {
            QTest::ignoreMessage(QtCriticalMsg, "ABORTED PARAM SEND, NO VALID QVARIANT TYPE");
            bridge->setParameter(1, "FRAME", value);
        }
        QVERIFY(written().isEmpty());
    }

    void emptyAndNullNames()
    {
        bridge->setParameter(1, QString(), QVariant(1));
        QVERIFY(written().isEmpty());
        bridge->setParameter(1, QString(""), QVariant(1));
        const QList<WireFrame> frames = parseFrames(written());
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].bytes.mid(12, 16), QByteArray(16, '\0'));
    }

    void accelerometerCalibrationCommand()
    {
        bridge->sendCommandLong(241, 0, 0, 0, 0, 0, 1.0f, 0, 0, 1);
        const QByteArray frame = written();
        QCOMPARE(frame.size(), 41);
        QByteArray payload(28, '\0');
        payload.replace(16, 4, fromHex("00 00 80 3F"));
        QCOMPARE(frame, fromHex("EB 21 00 01 01 4C") + payload + fromHex("F1 00 01 01 00 24 E2"));
    }

    void commandAck()
    {
        bridge->sendCommandAck(11, true);
        bridge->sendCommandAck(3, false);
        const QList<WireFrame> frames = parseFrames(written());
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].bytes.left(6), fromHex("EB 03 00 01 01 4D"));
        QCOMPARE(frames[0].command(), 11);
        QCOMPARE(frames[0].ackResult(), 1);
        QCOMPARE(frames[1].ackResult(), 0);
    }

    // Writes and acks on a detached bridge use no sequence number; the
    // other operations build their frame anyway and use one.
    void sequenceNumbersWhileDetached()
    {
        bridge->detachSerialPort();
        bridge->setParameter(1, "FRAME", QVariant(1));
        bridge->sendCommandAck(1, true);
        QVERIFY(written().isEmpty());
        attach();
        bridge->requestAllStreams(1);
        QCOMPARE(int(parseFrames(written()).value(0).msg.seq), 0);

        bridge->detachSerialPort();
        bridge->requestRawSensorsStream(1);
        bridge->requestParameter(1, "FRAME");
        bridge->sendCommandLong(241, 0, 0, 0, 0, 0, 0, 2, 0, 1);
        QVERIFY(written().isEmpty());
        attach();
        bridge->requestAllStreams(1);
        QCOMPARE(int(parseFrames(written()).value(0).msg.seq), 4);
    }

    // The first frame of an idle line goes out at once, the next ones in
    // order no sooner than 20 ms after the one before: a lower bound the
    // queue guarantees, not luck.
    void framesLeaveOneByOneAtLeast20MsApart()
    {
        QElapsedTimer clock;
        clock.start();
        QList<qint64> sentAtMs;
        connect(queue.get(), &OutboundQueue::frameSent, this, [&] { sentAtMs << clock.elapsed(); });
        for (int rate = 1; rate <= 3; ++rate)
            bridge->requestRcChannelsStream(rate);
        QCOMPARE(sentAtMs.size(), 1);
        QCOMPARE(describeAll(parseFrames(written())),
                 (QStringList{"stream 3 rate 1 start 1", "stream 3 rate 2 start 1",
                              "stream 3 rate 3 start 1"}));
        for (int i = 1; i < sentAtMs.size(); ++i)
            QVERIFY2(sentAtMs[i] - sentAtMs[i - 1] >= 20, qPrintable(QString::number(i)));
    }

    void sequenceWrapsAfter255()
    {
        for (int i = 0; i < 257; ++i) {
            bridge->detachSerialPort();
            bridge->requestAllStreams(1);
        }
        attach();
        bridge->requestAllStreams(1);
        bridge->requestAllStreams(1);
        const QList<WireFrame> frames = parseFrames(written());
        QCOMPARE(frames.size(), 2);
        QCOMPARE(int(frames[0].msg.seq), 1);
        QCOMPARE(int(frames[1].msg.seq), 2);
    }
};

QTEST_GUILESS_MAIN(BridgeSend)
#include "tst_bridgesend.moc"
