#include "support/filesizelimit.h"
#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"

#include "fcsim/sessionreplay.h"
#include "mavlink/checksum.h"
#include "serial/fclink.h"

#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr int kRecordTimeoutMs = 20000;
constexpr int kRcFramesToSee = 20;
constexpr std::uint8_t kPublishedStx = 0xFE;

struct Record
{
    quint64 timeUs;
    QByteArray frame;
};

// The records of a log and the bytes after the last whole one.
struct Log
{
    QList<Record> records;
    int trailingBytes = 0;
};

Log readLog(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    Log log;
    int at = 0;
    while (at + 10 <= bytes.size()) {
        const int length =
            kMavLinkHeaderLength + std::uint8_t(bytes[at + 9]) + kMavLinkChecksumLength;
        if (at + 8 + length > bytes.size())
            break;
        log.records.append(
            {qFromBigEndian<quint64>(bytes.constData() + at), bytes.mid(at + 8, length)});
        at += 8 + length;
    }
    log.trailingBytes = bytes.size() - at;
    return log;
}

bool checksumHolds(const QByteArray &frame)
{
    std::uint16_t crc = kCrcInit;
    for (int i = 1; i < frame.size() - kMavLinkChecksumLength; ++i)
        crcAccumulate(std::uint8_t(frame[i]), crc);
    crcAccumulate(crcExtra(std::uint8_t(frame[5])), crc);
    const auto *end = reinterpret_cast<const std::uint8_t *>(frame.constData() + frame.size());
    return end[-2] == (crc & 0xFF) && end[-1] == (crc >> 8);
}

// What a replay must show again: the checked frame and the radio numbers.
QStringList shownValues(GcsHarness &gcs)
{
    QStringList shown;
    for (QRadioButton *button : gcs.window().findChildren<QRadioButton *>()) {
        if (button->isChecked() && button->objectName().endsWith("RadioButton"))
            shown << button->objectName();
    }
    for (int channel = 0; channel < 7; ++channel)
        shown
            << gcs.widget<QLabel>(qPrintable(QStringLiteral("rcdataLabel%1").arg(channel)))->text();
    return shown;
}

QString statusMessage(const GcsHarness &gcs)
{
    return gcs.widget<QStatusBar>("statusBar")->currentMessage();
}

QString summaryText(int frames, const QString &path)
{
    return QStringLiteral("Recorded %1 frames to %2; 0 rejected frames.").arg(frames).arg(path);
}

} // namespace

class TestSessionRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void recordedSessionReadsBackAndReplaysTheSameValues();
    void disconnectEndsTheRecordingAfterTheCloseSequence();
    void failedWriteEndsTheRecordingWithWholeFrames();
    void targetsThatAreNoFilesAreRefused_data();
    void targetsThatAreNoFilesAreRefused();
};

// Frame Read, the radio stream and a Save, recorded; then the file checked
// frame by frame and played into a second window.
void TestSessionRecording::recordedSessionReadsBackAndReplaysTheSameValues()
{
    const QString path = dir.filePath("session.tlog");
    QStringList live;
    {
        SimulatedFc fc;
        fc.sim.setStreamRate(20);
        int rcFrames = 0;
        QObject::connect(
            &fc.gcs.link(), &FcLink::frameReceived,
            [&rcFrames](const MavLinkMessage &m) { rcFrames += m.msgid == MavMsg::RcChannelsRaw; });
        fc.gcs.window().startRecording(path);
        QVERIFY(fc.gcs.action("actionRecordSession")->isChecked());
        fc.gcs.click("frameReadButton");
        QTRY_VERIFY(fc.gcs.widget<QRadioButton>("x4RadioButton")->isChecked());
        fc.gcs.click("radioReadButton");
        QTRY_VERIFY_WITH_TIMEOUT(rcFrames >= kRcFramesToSee, kRecordTimeoutMs);
        fc.gcs.click("plus8RadioButton");
        fc.gcs.click("frameSaveButton");
        QTRY_VERIFY_WITH_TIMEOUT(statusMessage(fc.gcs).contains(" saved: "), kRecordTimeoutMs);
        // Unchecking stops at once: what is shown now came in recorded frames.
        fc.gcs.action("actionRecordSession")->trigger();
        live = shownValues(fc.gcs);
        QVERIFY(!fc.gcs.action("actionRecordSession")->isChecked());
        QCOMPARE(statusMessage(fc.gcs), summaryText(readLog(path).records.size(), path));
    }

    const Log log = readLog(path);
    QCOMPARE(log.trailingBytes, 0);
    QSet<int> ids;
    for (int i = 0; i < log.records.size(); ++i) {
        const Record &r = log.records[i];
        QVERIFY2(i == 0 || r.timeUs > log.records[i - 1].timeUs, qPrintable(QString::number(i)));
        QCOMPARE(std::uint8_t(r.frame[0]), kPublishedStx);
        QVERIFY2(checksumHolds(r.frame), r.frame.toHex().constData());
        ids << std::uint8_t(r.frame[5]);
    }
    for (int id : {MavMsg::ParamValue, MavMsg::RcChannelsRaw, MavMsg::Heartbeat, // FC
                   MavMsg::ParamRequestRead, MavMsg::RequestDataStream, MavMsg::ParamSet})
        QVERIFY2(ids.contains(id), qPrintable(QString::number(id)));

    GcsHarness gcs;
    SessionReplay replay;
    QVERIFY(replay.load(path));
    replay.setSpeed(4);
    SimulatorPtyLink line(gcs.line().masterFd(), replay);
    gcs.action("actionConnect")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(replay.isFinished(), kRecordTimeoutMs);
    gcs.drain();
    QCOMPARE(shownValues(gcs), live);
}

void TestSessionRecording::disconnectEndsTheRecordingAfterTheCloseSequence()
{
    const QString path = dir.filePath("disconnected.tlog");
    SimulatedFc fc;
    fc.gcs.window().startRecording(path);
    fc.gcs.action("actionDisconnect")->trigger();
    const QList<Record> records = readLog(path).records;
    QCOMPARE(statusMessage(fc.gcs), summaryText(records.size(), path));
    QVERIFY(!fc.gcs.action("actionRecordSession")->isChecked());
    QVERIFY(!records.isEmpty());
    QCOMPARE(std::uint8_t(records.last().frame[5]), MavMsg::RequestDataStream);
}

// The limit falls inside a record, so the file is cut back to whole ones.
void TestSessionRecording::failedWriteEndsTheRecordingWithWholeFrames()
{
    const QString path = dir.filePath("limited.tlog");
    constexpr rlim_t kLimit = 6001;
    SimulatedFc fc;
    fc.sim.setStreamRate(100);
    fc.sim.startStream(3, 50);
    ModalBoxCloser boxes;
    {
        const FileSizeLimit small{kLimit};
        fc.gcs.window().startRecording(path);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRecordTimeoutMs);
    }

    const Log log = readLog(path);
    const int frames = log.records.size();
    QCOMPARE(boxes.titles(), QStringList{"Record Session"});
    QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Recording stopped: %1.\n")
                                            .arg(QString::fromLocal8Bit(std::strerror(EFBIG))) +
                                        summaryText(frames, path));
    QCOMPARE(statusMessage(fc.gcs), summaryText(frames, path));
    QVERIFY(!fc.gcs.action("actionRecordSession")->isChecked());
    QVERIFY(frames > 0);
    QCOMPARE(log.trailingBytes, 0);
    QVERIFY(QFileInfo(path).size() < qint64(kLimit));
}

void TestSessionRecording::targetsThatAreNoFilesAreRefused_data()
{
    QTest::addColumn<QString>("path");
    const QString fifo = dir.filePath("fifo.tlog");
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
    QTest::newRow("a device") << "/dev/full";
    QTest::newRow("a FIFO nobody reads") << fifo;
    QTest::newRow("a folder") << dir.path();
}

// Refused before anything is opened: a FIFO would block the window.
void TestSessionRecording::targetsThatAreNoFilesAreRefused()
{
    QFETCH(QString, path);
    SimulatedFc fc;
    ModalBoxCloser boxes;
    fc.gcs.window().startRecording(path);
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.boxes().isEmpty(), kRecordTimeoutMs);
    QCOMPARE(boxes.titles(), QStringList{"Record Session"});
    QCOMPARE(boxes.boxes()[0].text,
             QStringLiteral("Cannot record to %1: not a regular file (a device, pipe or folder).")
                 .arg(path));
    QVERIFY(!fc.gcs.action("actionRecordSession")->isChecked());
}

QTEST_MAIN(TestSessionRecording)
#include "tst_sessionrecording.moc"
