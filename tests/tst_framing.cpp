#include "mavlink/checksum.h"
#include "mavlink/mavlinkparser.h"
#include "mavlink/payload.h"
#include "support/wire.h"

#include <QtTest>

#include <random>

namespace {

// REQUEST_DATA_STREAM from system 1, component 1, sequence 0.
const char kValidFrame[] = "EB 06 00 01 01 42 00 00 01 00 00 01 99 57";

struct Delivery
{
    int afterByte; // index of the byte that completed the frame
    QByteArray frame;
};

QList<Delivery> feed(MavLinkParser &parser, const QByteArray &bytes)
{
    QList<Delivery> out;
    for (int i = 0; i < bytes.size(); ++i) {
        parser.parseByte(std::uint8_t(bytes[i]), [&out, i](const MavLinkMessage &m) {
            out.append(
                {i, QByteArray(reinterpret_cast<const char *>(m.frameBegin()), m.frameLength())});
        });
    }
    return out;
}

QList<Delivery> feed(const QByteArray &bytes)
{
    MavLinkParser parser;
    return feed(parser, bytes);
}

QList<QByteArray> framesOf(const QList<Delivery> &deliveries)
{
    QList<QByteArray> frames;
    for (const Delivery &d : deliveries)
        frames << d.frame;
    return frames;
}

QByteArray randomFrame(std::mt19937 &rng, std::uint8_t seq)
{
    // Ids with and without a checksum seed; lengths from empty to full.
    const std::uint8_t ids[] = {0, 1, 3, 22, 30, 35, 150, 200, 253};
    const std::uint8_t id = ids[rng() % (sizeof ids)];
    QByteArray payload(int(rng() % 256), 0);
    for (char &b : payload)
        b = char(rng());
    return fcFrame(id, payload, seq);
}

QList<QByteArray> requestFrames(int count)
{
    QList<QByteArray> frames;
    for (int i = 0; i < count; ++i)
        frames << fcFrame(MavMsg::RequestDataStream,
                          QByteArray(MavLength::RequestDataStream, char(i)), std::uint8_t(i));
    return frames;
}

// Frames 0..count-1, frame 1 carrying the given payload.
QList<QByteArray> framesAroundPayload(const QByteArray &payload, int count)
{
    QList<QByteArray> frames = requestFrames(count);
    frames[1] = fcFrame(MavMsg::ParamValue, payload, 1);
    return frames;
}

constexpr int kLengthOffset = 1;
constexpr int kPayloadOffset = 6;

} // namespace

Q_DECLARE_METATYPE(QList<QByteArray>)

class Framing : public QObject
{
    Q_OBJECT

private slots:
    void checksumCheckValue()
    {
        const QByteArray digits("123456789");
        QCOMPARE(crcCalculate(reinterpret_cast<const std::uint8_t *>(digits.constData()), 9),
                 std::uint16_t(0x6F91));
    }

    // The tabulated step against the textbook bit-at-a-time form of the
    // same CRC (reflected polynomial 0x8408), for every byte and a spread of
    // running values.
    void checksumStepMatchesBitwiseCrc()
    {
        for (int crcIn = 0; crcIn < 0x10000; crcIn += 257) {
            for (int byte = 0; byte < 256; ++byte) {
                std::uint16_t tabulated = std::uint16_t(crcIn);
                crcAccumulate(std::uint8_t(byte), tabulated);
                std::uint16_t bitwise = std::uint16_t(crcIn ^ byte);
                for (int bit = 0; bit < 8; ++bit)
                    bitwise = (bitwise & 1) ? std::uint16_t((bitwise >> 1) ^ 0x8408)
                                            : std::uint16_t(bitwise >> 1);
                QCOMPARE(tabulated, bitwise);
            }
        }
    }

    void crcExtraTable()
    {
        int nonZero = 0;
        for (int id = 0; id < 256; ++id)
            nonZero += crcExtra(std::uint8_t(id)) != 0;
        QCOMPARE(nonZero, 134);
        const QList<QPair<int, int>> exchanged = {
            {0, 50},   {1, 124},  {20, 214}, {22, 220}, {23, 168},  {27, 144}, {30, 39},
            {35, 244}, {66, 148}, {76, 152}, {77, 143}, {150, 134}, {253, 83}};
        for (const auto &entry : exchanged)
            QCOMPARE(int(crcExtra(std::uint8_t(entry.first))), entry.second);
        QCOMPARE(int(crcExtra(3)), 0);
        QCOMPARE(int(crcExtra(255)), 0);
    }

    void validFrameDeliveredOnceWhateverTheSplit()
    {
        const QByteArray frame = fromHex(kValidFrame);
        for (int split = 0; split <= frame.size(); ++split) {
            MavLinkParser parser;
            const QList<Delivery> first = feed(parser, frame.left(split));
            const QList<Delivery> second = feed(parser, frame.mid(split));
            QCOMPARE(first.size() + second.size(), 1);
            QCOMPARE((first + second).first().frame, frame);
        }
        const MavLinkMessage m = [&] {
            MavLinkParser p;
            feed(p, frame);
            return p.message();
        }();
        QCOMPARE(int(m.msgid), 66);
        QCOMPARE(int(m.sysid), 1);
        QCOMPARE(int(m.compid), 1);
        QCOMPARE(int(m.seq), 0);
        QCOMPARE(int(m.len), 6);
    }

    void anySingleChangedByteDropsTheFrame()
    {
        const QByteArray frame = fromHex(kValidFrame);
        for (int offset = 1; offset < frame.size(); ++offset) {
            for (int delta : {1, 0x80, 0xFF}) {
                QByteArray corrupt = frame;
                corrupt[offset] = char(std::uint8_t(corrupt[offset]) ^ delta);
                QVERIFY2(feed(corrupt).isEmpty(),
                         qPrintable(QStringLiteral("offset %1 xor %2").arg(offset).arg(delta)));
            }
        }
    }

    void publishedStartByteIsNotRecognised()
    {
        QByteArray frame = fromHex(kValidFrame);
        frame[0] = char(0xFE);
        QVERIFY(feed(frame).isEmpty());
    }

    void zeroLengthFrameGoesStraightToChecksum()
    {
        const QByteArray frame = fcFrame(MavMsg::Heartbeat, QByteArray());
        QCOMPARE(frame.size(), 8);
        const QList<Delivery> out = feed(frame);
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.first().afterByte, 7);
    }

    void truncatedFrameDoesNotCostItsFollower()
    {
        const QByteArray follower = fromHex(kValidFrame);
        const QByteArray truncated =
            fcFrame(MavMsg::Attitude, QByteArray(MavLength::Attitude, 1)).chopped(2);
        const QList<Delivery> out = feed(truncated + follower);
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.first().frame, follower);
    }

    // Frame 1 of each row is garbled at one offset; every other frame must
    // come out, in order, however much of the line the bad frame claimed.
    void garbledFrameCostsOnlyItself_data()
    {
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        const QList<QByteArray> plain = requestFrames(25);
        const int payloadEnd = plain[1].size() - 2;
        QTest::newRow("length raised over 17 frames and part of one")
            << plain << kLengthOffset << 0xFF;
        QTest::newRow("length lowered") << plain << kLengthOffset << 2;
        QTest::newRow("payload byte") << plain << kPayloadOffset + 3 << 0x77;
        QTest::newRow("payload byte made a start byte") << plain << kPayloadOffset << 0xEB;
        QTest::newRow("checksum low byte") << plain << payloadEnd << 0x00;
        QTest::newRow("checksum high byte") << plain << payloadEnd + 1 << 0x00;
        QTest::newRow("checksum high byte made a start byte") << plain << payloadEnd + 1 << 0xEB;
        // A start byte in the bad frame's payload begins a bogus frame that
        // fails in turn, inside the rescanned bytes or beyond them.
        const QByteArray shortBogus = fromHex("01 02 EB 00 00 00 00 00 03 04");
        QTest::newRow("bogus frame inside the bad one")
            << framesAroundPayload(shortBogus, 30) << kLengthOffset << 0xFF;
        const QByteArray longBogus = fromHex("01 02 EB FF 00 00 00 00 03 04");
        QTest::newRow("bogus frame beyond the bad one")
            << framesAroundPayload(longBogus, 30) << kLengthOffset << 0xFF;
        QTest::newRow("bogus frame beyond a bad checksum")
            << framesAroundPayload(longBogus, 30) << kPayloadOffset + 10 << 0x00;
    }

    void garbledFrameCostsOnlyItself()
    {
        QFETCH(QList<QByteArray>, frames);
        QFETCH(int, offset);
        QFETCH(int, value);
        QByteArray stream;
        for (const QByteArray &frame : frames)
            stream += frame;
        const int at = frames[0].size() + offset;
        QVERIFY(std::uint8_t(stream[at]) != value);
        stream[at] = char(value);
        frames.removeAt(1);
        QCOMPARE(framesOf(feed(stream)), frames);
    }

    // A start byte inside a garbled frame begins a bogus frame that fails
    // within it; the scan goes on from the very next byte, where a whole
    // frame starts.
    void wholeFrameRightAfterABogusStartInsideAGarbledOne()
    {
        constexpr int kGarbledFrameBytes = 263; // what a length of 0xFF claims
        const QByteArray whole = fromHex(kValidFrame);
        QByteArray stream = fromHex("EB FF 00 01 01 00 EB") + whole;
        stream.append(kGarbledFrameBytes - stream.size(), '\0');
        const QByteArray follower = requestFrames(1).first();
        QCOMPARE(framesOf(feed(stream + follower)), (QList<QByteArray>{whole, follower}));
    }

    // A length that claims more than has arrived can only be judged once
    // that much has come: until then the frames behind it wait, and then they
    // all come out.
    void framesBehindAnOverlongFrameWaitForTheRestOfItsLength()
    {
        QList<QByteArray> frames = requestFrames(25);
        frames[0][kLengthOffset] = char(0xFF);
        QByteArray early;
        for (int i = 0; i < 10; ++i)
            early += frames[i];
        QByteArray late;
        for (int i = 10; i < frames.size(); ++i)
            late += frames[i];
        MavLinkParser parser;
        QVERIFY(feed(parser, early).isEmpty());
        frames.removeFirst();
        QCOMPARE(framesOf(feed(parser, late)), frames);
    }

    // Random frames, a tenth of them with one byte garbled: exactly the
    // intact ones come out, in order (for this seed no garbled candidate
    // passes its checksum by chance, which one in 65,536 may).
    void randomGarblingLosesOnlyTheGarbledFrames()
    {
        std::mt19937 rng(20261208);
        QByteArray stream;
        QList<QByteArray> intact;
        for (int i = 0; i < 3000; ++i) {
            QByteArray frame = randomFrame(rng, std::uint8_t(i));
            if (rng() % 10 == 0) {
                const int at = int(rng() % unsigned(frame.size()));
                frame[at] = char(frame[at] ^ char(1 + rng() % 255));
            } else {
                intact << frame;
            }
            stream += frame;
        }
        QVERIFY(intact.size() < 2900);
        QCOMPARE(framesOf(feed(stream)), intact);
    }

    void startByteInsidePayloadIsData()
    {
        QByteArray payload(10, char(kMavLinkStx));
        const QByteArray frame = fcFrame(MavMsg::ParamValue, payload);
        const QList<Delivery> out = feed(QByteArray(3, 0x55) + frame);
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.first().frame, frame);
    }

    void idWithoutChecksumSeedIsDelivered()
    {
        const QByteArray frame = fcFrame(3, QByteArray(5, 7));
        QCOMPARE(feed(frame).size(), 1);
    }

    void checksumBytesFollowThePayloadInTheRecord()
    {
        MavLinkParser parser;
        const QByteArray frame = fromHex(kValidFrame);
        feed(parser, frame);
        const MavLinkMessage &m = parser.message();
        QCOMPARE(int(m.payload[6]), 0x99);
        QCOMPARE(int(m.payload[7]), 0x57);
        QCOMPARE(int(m.checksum), 0x5799);
    }

    // Garbage without a start byte can never hide a frame.
    void framesAmidCleanGarbageAllArriveInOrder()
    {
        std::mt19937 rng(20261207);
        QByteArray stream;
        QList<QByteArray> sent;
        for (int i = 0; i < 500; ++i) {
            QByteArray garbage(int(rng() % 40), 0);
            for (char &b : garbage) {
                do
                    b = char(rng());
                while (std::uint8_t(b) == 0xEB);
            }
            const QByteArray frame = randomFrame(rng, std::uint8_t(i));
            stream += garbage + frame;
            sent.append(frame);
        }
        const QList<Delivery> out = feed(stream);
        QCOMPARE(out.size(), sent.size());
        for (int i = 0; i < sent.size(); ++i)
            QCOMPARE(out[i].frame, sent[i]);
    }

    // With start bytes in the garbage a false start may swallow a frame (the
    // framing allows that), but nothing may come out that was not sent.
    void framesAmidNoisyGarbageNeverInventFrames()
    {
        std::mt19937 rng(7);
        QByteArray stream;
        QList<QByteArray> sent;
        for (int i = 0; i < 500; ++i) {
            QByteArray garbage(int(rng() % 40), 0);
            for (char &b : garbage)
                b = (rng() % 64 == 0) ? char(0xEB) : char(rng());
            const QByteArray frame = randomFrame(rng, std::uint8_t(i));
            stream += garbage + frame;
            sent.append(frame);
        }
        const QList<Delivery> out = feed(stream);
        qInfo("%d of %d frames survived the false starts", int(out.size()), int(sent.size()));
        QVERIFY(!out.isEmpty());
        int next = 0;
        for (const Delivery &d : out) {
            while (next < sent.size() && sent[next] != d.frame)
                ++next;
            QVERIFY2(next < sent.size(), "a frame came out that was not sent, or out of order");
            ++next;
        }
    }
};

QTEST_GUILESS_MAIN(Framing)
#include "tst_framing.moc"
