#include "support/gcsharness.h"
#include "support/modalboxcloser.h"

#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/framelog.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"
#include "mavlink/mavlinkparser.h"

#include <QBuffer>
#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <iterator>
#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define ZEFA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEFA_ASAN 1
#endif
#endif
#ifdef ZEFA_ASAN
// From the sanitizer runtime; gcc ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr double kFaultRate = 0.01;
constexpr std::uint32_t kNoiseSeed = 20261207;
// ZEFA_SOAK_FRAMES asks for a longer run.
constexpr int kDefaultFrames = 40000;
// Extra traffic per round on top of the streams, so the run reaches its
// frame count in seconds rather than minutes.
constexpr int kFramesPerRound = 40;
// The parser rescans a frame that fails its checksum, so an intact frame is
// lost only under a corrupted one that passed by chance, or under the one
// still waiting for its claimed length when the run ends: as many frames as
// start within the longest frame (263 bytes, the shortest being 8).
constexpr int kFramesOneFrameCanHide = 263 / 8 + 1;

constexpr int kCycles = 50;
// Memory is sampled after these cycles. Allocator and toolkit caches still
// settle in one-off steps (glyph caches: some 10 kB at 96 dpi, over 100 kB
// with scaled fonts), which show in one stretch between samples; a leak
// grows in both.
constexpr int kMemorySampleCycles[] = {10, 30, 50};
// Per stretch of 20 cycles; the box recorder keeps ~300 bytes per box.
constexpr qint64 kResidentSlack = 1024 * 1024;
constexpr qint64 kHeapSlack = 64 * 1024;

const char *const kTrafficParameters[] = {Fc::kReceiverTypeParam,
                                          Fc::kBatteryFailsafeVoltageParam,
                                          Fc::kRollRateDParam,
                                          Fc::kReturnAltitudeParam,
                                          Fc::kFrameParam,
                                          Fc::kShapeParam,
                                          Fc::kVoltageMultiplierParam,
                                          Fc::kFeedForwardParam};

int soakFrames()
{
    bool ok = false;
    const int frames = qEnvironmentVariableIntValue("ZEFA_SOAK_FRAMES", &ok);
    return ok && frames > 0 ? frames : kDefaultFrames;
}

QByteArray wireBytes(const MavLinkMessage &msg)
{
    return QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), msg.frameLength());
}

bool isDecoded(int msgid)
{
    static const QSet<int> decoded = {
        MavMsg::Heartbeat, MavMsg::SysStatus,     MavMsg::ParamValue,    MavMsg::RawImu,
        MavMsg::Attitude,  MavMsg::RcChannelsRaw, MavMsg::SensorOffsets, MavMsg::StatusText};
    return decoded.contains(msgid);
}

// The debug lines of every parameter and text would flood the test log.
QtMessageHandler previousHandler = nullptr;
void dropDebugLines(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtDebugMsg)
        previousHandler(type, context, text);
}

// What went on the line for each frame the simulator sent: the bytes after
// the noise, or a null array while the assistant was not listening (the
// link then drops them).
struct LineRecorder
{
    QList<QByteArray> perFrame;
    int framesOnLine = 0;

    void record(const QByteArray &out, bool listening)
    {
        perFrame << (listening ? out : QByteArray());
        framesOnLine += listening;
    }
};

// The frames the simulator's log says it sent, before the noise.
QList<QByteArray> framesInLog(const QByteArray &log)
{
    QList<QByteArray> frames;
    for (const QByteArray &line : log.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 4 && fields[1] == "FC")
            frames << QByteArray::fromHex(fields[3]);
    }
    return frames;
}

// The frames meant for the assistant, and the bytes it was given.
struct LineLog
{
    QList<QByteArray> frames;
    QByteArray bytes;
    int intact = 0;
};

LineLog joinLogAndLine(const QList<QByteArray> &sent, const QList<QByteArray> &onLine)
{
    LineLog log;
    for (int i = 0; i < sent.size(); ++i) {
        if (onLine[i].isNull())
            continue;
        log.frames << sent[i];
        log.bytes += onLine[i];
        // Noise may put a foreign frame in front; the frame itself is
        // intact when its own bytes came through unchanged.
        if (onLine[i].endsWith(sent[i]))
            ++log.intact;
    }
    return log;
}

// Every frame the assistant's parser delivered to the decoder, taken at
// the moment its signal arrives.
void tapDeliveries(GcsHarness &gcs, QList<QByteArray> &delivered)
{
    MavLinkBridge *bridge = &gcs.bridge();
    auto tap = [&gcs, &delivered] { delivered << wireBytes(gcs.lastReceived()); };
    QObject::connect(bridge, &MavLinkBridge::armedUpdate, tap);
    QObject::connect(bridge, &MavLinkBridge::setATT, tap);
    QObject::connect(bridge, &MavLinkBridge::setBatt, tap);
    QObject::connect(bridge, &MavLinkBridge::setRadioInput, tap);
    QObject::connect(bridge, &MavLinkBridge::setParam, tap);
    QObject::connect(bridge, &MavLinkBridge::textMessageReceived, tap);
    QObject::connect(bridge, &MavLinkBridge::rawImuMessageUpdate, tap);
    QObject::connect(bridge, &MavLinkBridge::sensorOffsetsMessageUpdate, tap);
}

// A correct receiver's view of the same bytes: the frames it delivers and
// at most how many checksums it judged (each start byte on the line begins
// at most one frame).
struct ParserVerdict
{
    QList<QByteArray> delivered;
    int checksumsJudged = 0;
};

ParserVerdict parseLine(const QByteArray &bytes)
{
    ParserVerdict verdict;
    MavLinkParser parser;
    for (char byte : bytes) {
        parser.parseByte(std::uint8_t(byte), [&verdict](const MavLinkMessage &msg) {
            if (isDecoded(msg.msgid))
                verdict.delivered << wireBytes(msg);
        });
    }
    verdict.checksumsJudged = int(bytes.count(char(kMavLinkStx)));
    return verdict;
}

// Delivered frames matched in order against the frames meant.
struct Matching
{
    int intactDelivered = 0;
    int corruptedAccepted = 0;
};

Matching matchInOrder(const QList<QByteArray> &delivered, const QList<QByteArray> &meant)
{
    Matching m;
    int next = 0;
    for (const QByteArray &frame : delivered) {
        const int at = meant.indexOf(frame, next);
        if (at < 0) {
            ++m.corruptedAccepted;
            continue;
        }
        ++m.intactDelivered;
        next = at + 1;
    }
    return m;
}

// A CRC-16 lets about one corrupted frame in 65,536 through; allow for
// chance on top.
int acceptableCorruptions(int candidates)
{
    const double expected = candidates / 65536.0;
    return int(std::ceil(expected + 3.0 * std::sqrt(expected))) + 1;
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Live heap; under AddressSanitizer the resident size also holds the
// quarantine of freed blocks, so only this says whether memory stays flat.
qint64 heapInUse()
{
#ifdef ZEFA_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#endif
}

bool isMemorySampleCycle(int cycle)
{
    return std::find(std::begin(kMemorySampleCycles), std::end(kMemorySampleCycles), cycle) !=
           std::end(kMemorySampleCycles);
}

// What both stretches between three samples have at least grown by.
qint64 growthInBothStretches(const QVector<qint64> &samples)
{
    return qMin(samples[1] - samples[0], samples[2] - samples[1]);
}

bool isClosedAfterLoss(GcsHarness &gcs)
{
    return !gcs.port()->isOpen() && gcs.action("actionConnect")->isEnabled() &&
           !gcs.bridge().isPortAttached() &&
           gcs.widget<QStatusBar>("statusBar")->currentMessage() == QLatin1String("Disconnected");
}

// A real FC sends no faster than the line takes its bytes, so a round waits
// until the last one is on the line: the rounds then test the line, not the
// size of the simulator's queue. While the assistant pauses between reads
// the line holds a round many times over.
void waitUntilOnLine(const SimulatorPtyLink &link)
{
    QElapsedTimer waited;
    waited.start();
    while (link.hasQueuedBytes() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noisyLineDeliversIntactFramesAndRejectsCorruptedOnes();
    void repeatedUnplugKeepsMemoryFlatWithOneBoxEach();

private:
    void sendTrafficRound(FcSimulator &sim, int round);
};

void TestSoak::initTestCase()
{
    previousHandler = qInstallMessageHandler(dropDebugLines);
}

void TestSoak::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
}

void TestSoak::sendTrafficRound(FcSimulator &sim, int round)
{
    const int names = int(sizeof kTrafficParameters / sizeof kTrafficParameters[0]);
    for (int i = 0; i < kFramesPerRound - 2; ++i)
        sim.sendParameter(QLatin1String(kTrafficParameters[(round + i) % names]));
    sim.sendStatusText(MavSeverity::Info, QStringLiteral("soak round %1").arg(round));
    sim.sendStatusText(MavSeverity::Error, QString::fromLatin1(Fc::preArmReport(Fc::kGpsGlitch)));
}

void TestSoak::noisyLineDeliversIntactFramesAndRejectsCorruptedOnes()
{
    GcsHarness gcs;
    FcSimulator sim;
    sim.setFaultRate(kFaultRate, kNoiseSeed);
    SimulatorPtyLink link(gcs.line().masterFd(), sim);
    QBuffer simulatorLog;
    simulatorLog.open(QIODevice::WriteOnly);
    FrameLog frameLog(sim, simulatorLog);
    LineRecorder recorder;
    QObject::connect(&sim, &FcSimulator::bytesOut,
                     [&](const QByteArray &out) { recorder.record(out, link.isListening()); });
    QList<QByteArray> delivered;
    tapDeliveries(gcs, delivered);

    gcs.action("actionConnect")->trigger();
    QTRY_VERIFY(link.isListening());
    // The rates a live page sees on a real FC, radio at its fastest.
    gcs.bridge().requestRcChannelsStream(50);
    gcs.bridge().requestExtendedStatusStream(2);
    gcs.bridge().requestExtra1Stream(10);
    QTRY_VERIFY(sim.isStreaming(3) && sim.isStreaming(2) && sim.isStreaming(10));

    const int target = soakFrames();
    for (int round = 0; recorder.framesOnLine < target; ++round) {
        sendTrafficRound(sim, round);
        waitUntilOnLine(link);
        gcs.drain();
    }
    pumpEvents(50);
    gcs.drain();
    QVERIFY(gcs.port()->isOpen());

    const QList<QByteArray> sent = framesInLog(simulatorLog.data());
    QCOMPARE(sent.size(), recorder.perFrame.size());
    const LineLog line = joinLogAndLine(sent, recorder.perFrame);
    const ParserVerdict expected = parseLine(line.bytes);
    QCOMPARE(delivered.size(), expected.delivered.size());
    QVERIFY(delivered == expected.delivered);

    const Matching m = matchInOrder(delivered, line.frames);
    const int corruptedCandidates = expected.checksumsJudged - m.intactDelivered;
    qInfo("frames sent %d, intact %d, delivered %d (intact %d, corrupted accepted %d of %d "
          "corrupted candidates)",
          int(line.frames.size()), line.intact, int(delivered.size()), m.intactDelivered,
          m.corruptedAccepted, corruptedCandidates);
    QVERIFY(line.intact < line.frames.size()); // the noise did strike
    QVERIFY2(line.intact - m.intactDelivered <= kFramesOneFrameCanHide * (1 + m.corruptedAccepted),
             qPrintable(QString::number(m.intactDelivered)));
    QVERIFY(m.intactDelivered <= line.intact);
    QVERIFY2(m.corruptedAccepted <= acceptableCorruptions(corruptedCandidates),
             qPrintable(QString::number(m.corruptedAccepted)));
}

// Each cycle plugs a fresh FC in under a new port name, sees it answer and
// stream, and pulls it out again.
void TestSoak::repeatedUnplugKeepsMemoryFlatWithOneBoxEach()
{
    GcsHarness gcs;
    ModalBoxCloser boxes;
    QVector<qint64> resident;
    QVector<qint64> heap;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        PtyPair plug;
        qputenv("ZEFA_GCS_PORT", plug.slavePath().toLocal8Bit());
        FcSimulator sim;
        SimulatorPtyLink link(plug.masterFd(), sim);
        int rcFrames = 0;
        QMetaObject::Connection counting = QObject::connect(
            &gcs.bridge(), &MavLinkBridge::setRadioInput, [&rcFrames] { ++rcFrames; });

        gcs.action("actionConnect")->trigger();
        QTRY_VERIFY(link.isListening());
        gcs.bridge().requestRcChannelsStream(50);
        QTRY_VERIFY(rcFrames >= 3);
        QObject::disconnect(counting);

        link.stop();
        plug.closeMaster();
        errno = cycle % 2 ? 0 : EIO; // both ways a vanished device is reported
        QTRY_VERIFY(isClosedAfterLoss(gcs));
        pumpEvents(20);
        QCOMPARE(boxes.boxes().size(), cycle);
        QCOMPARE(boxes.boxes().last().title, QStringLiteral("Critical Error"));
        QCOMPARE(boxes.boxes().last().text, QStringLiteral("Please re plug the FC and try again"));

        if (isMemorySampleCycle(cycle)) {
            resident.append(residentBytes());
            heap.append(heapInUse());
        }
    }
    const qint64 heapGrowth = growthInBothStretches(heap);
    qInfo("growth over cycles %d-%d and %d-%d: resident %+lld and %+lld bytes, heap %+lld and "
          "%+lld bytes",
          kMemorySampleCycles[0], kMemorySampleCycles[1], kMemorySampleCycles[1],
          kMemorySampleCycles[2], resident[1] - resident[0], resident[2] - resident[1],
          heap[1] - heap[0], heap[2] - heap[1]);
    QVERIFY2(heapGrowth < kHeapSlack, qPrintable(QString::number(heapGrowth)));
#ifndef ZEFA_ASAN
    const qint64 residentGrowth = growthInBothStretches(resident);
    QVERIFY2(residentGrowth < kResidentSlack, qPrintable(QString::number(residentGrowth)));
#endif
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
