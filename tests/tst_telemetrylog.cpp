#include "support/filesizelimit.h"
#include "support/wire.h"

#include "fcsim/sessionreplay.h"
#include "mavlink/mavlinkbridge.h"
#include "serial/fclink.h"
#include "serial/sessionrecorder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A heartbeat is 17 bytes on the line, 25 in a log.
constexpr int kRecordBytes = 25;
constexpr quint64 kDayUs = 24ull * 60 * 60 * 1000 * 1000;

QByteArray record(quint64 timeUs, QByteArray frame)
{
    char time[8];
    qToBigEndian(timeUs, time);
    frame[0] = char(0xFE);
    return QByteArray(time, 8) + frame;
}

QList<quint64> recordTimes(const QByteArray &log)
{
    QList<quint64> times;
    for (int at = 0; at + kRecordBytes <= log.size(); at += kRecordBytes)
        times << qFromBigEndian<quint64>(log.constData() + at);
    return times;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Records heartbeats received on a link that has no port.
struct Recording
{
    MavLinkBridge bridge;
    FcLink link{bridge};
    SessionRecorder recorder{link};
    RecordingSummary summary;

    explicit Recording(const QString &path)
    {
        QObject::connect(&recorder, &SessionRecorder::stopped,
                         [this](const RecordingSummary &s) { summary = s; });
        if (!recorder.start(path))
            qFatal("cannot record to %s", qPrintable(path));
    }
    void receiveHeartbeats(int count)
    {
        for (int i = 0; i < count; ++i)
            link.receiveBytes(heartbeatFrame(0));
    }
};

} // namespace

class TestTelemetryLog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // Log readers sort by time: a clock that stands still (two frames in one
    // tick) or steps back must not reorder the records.
    void recordTimesRiseWhateverTheClockDoes_data()
    {
        QTest::addColumn<qint64>("clockStepUs");
        QTest::newRow("clock standing still") << qint64(0);
        QTest::newRow("clock stepping back") << qint64(-1000);
    }
    void recordTimesRiseWhateverTheClockDoes()
    {
        QFETCH(qint64, clockStepUs);
        const QString path = dir.filePath("clock.tlog");
        Recording recording(path);
        quint64 clock = 1'700'000'000'000'000;
        recording.recorder.setClock([&clock, clockStepUs] { return clock += clockStepUs; });
        recording.receiveHeartbeats(5);
        recording.recorder.stop();

        const QList<quint64> times = recordTimes(fileBytes(path));
        QCOMPARE(times.size(), 5);
        for (int i = 1; i < times.size(); ++i)
            QVERIFY2(times[i] > times[i - 1], qPrintable(QString::number(i)));
    }

    // The file is cut back to the last record that reached it whole; one
    // that ends exactly at the limit is whole.
    void failedWriteKeepsEveryWholeRecord_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("wholeRecords");
        QTest::newRow("limit at the end of record 40") << 40 * kRecordBytes << 40;
        QTest::newRow("limit a byte before it") << 40 * kRecordBytes - 1 << 39;
        QTest::newRow("limit a byte after it") << 40 * kRecordBytes + 1 << 40;
    }
    void failedWriteKeepsEveryWholeRecord()
    {
        QFETCH(int, limit);
        QFETCH(int, wholeRecords);
        const QString path = dir.filePath("limited.tlog");
        Recording recording(path);
        recording.receiveHeartbeats(50);
        {
            const FileSizeLimit small{rlim_t(limit)};
            recording.recorder.stop();
        }
        QCOMPARE(recording.summary.frames, wholeRecords);
        QCOMPARE(recording.summary.error, QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(QFileInfo(path).size(), qint64(wholeRecords * kRecordBytes));
    }

    void replayRefusesWhatIsNotAnFcLog_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString device = QStringLiteral("/dev/zero");
        const QString notRegular = QStringLiteral("not a regular file (a device, pipe or folder)");
        QTest::newRow("folder") << dir.path() << notRegular;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << notRegular;
        QTest::newRow("FIFO without a writer") << fifo << notRegular;

        const QString empty = dir.filePath("empty.tlog");
        writeFile(empty, {});
        const QString text = dir.filePath("six.tlog");
        writeFile(text, "hello\n");
        const QString cutShort = dir.filePath("cut.tlog");
        writeFile(cutShort, record(kDayUs, heartbeatFrame(0)).chopped(1));
        const QString noRecord = QStringLiteral("%1 is not a telemetry log: it holds no whole "
                                                "record");
        QTest::newRow("empty file") << empty << noRecord.arg(empty);
        QTest::newRow("six bytes of text") << text << noRecord.arg(text);
        QTest::newRow("one record cut short") << cutShort << noRecord.arg(cutShort);

        const QString assistantOnly = dir.filePath("assistant.tlog");
        writeFile(assistantOnly,
                  record(kDayUs, fcFrame(MavMsg::ParamRequestList, QByteArray(2, 0))));
        QTest::newRow("only the assistant's frames")
            << assistantOnly << QStringLiteral("%1 holds no frame from the FC").arg(assistantOnly);
    }
    void replayRefusesWhatIsNotAnFcLog()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        SessionReplay replay;
        QVERIFY(!replay.load(path));
        QCOMPARE(replay.errorString(), error);
    }

    // 30 days is more than a QTimer holds in milliseconds: the replay goes
    // on waiting instead of stalling for good.
    void replayWaitsOutAGapLongerThanATimerHolds()
    {
        const QString path = dir.filePath("gap.tlog");
        writeFile(path,
                  record(kDayUs, heartbeatFrame(0)) + record(31 * kDayUs, heartbeatFrame(0x80)));
        SessionReplay replay;
        QVERIFY(replay.load(path));
        QSignalSpy played(&replay, &SessionReplay::bytesOut);
        replay.receiveBytes("x");
        QCOMPARE(played.size(), 1);
        QVERIFY(!replay.isFinished());
        const QTimer *nextFrame = replay.findChild<QTimer *>();
        QVERIFY(nextFrame && nextFrame->isActive());
        QVERIFY(nextFrame->remainingTime() > 0);
    }
};

QTEST_MAIN(TestTelemetryLog)
#include "tst_telemetrylog.moc"
