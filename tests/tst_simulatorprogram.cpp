#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/programs.h"

#include "mavlink/mavlinkbridge.h"
#include "serial/outboundqueue.h"

#include <QProcess>
#include <QSerialPort>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSimulator = QStringLiteral(ZEFA_FCSIM_PATH);

// The assistant's end of the line without a window: it asks for the
// firmware version, so the FC starts talking, and keeps what comes back.
class LineToSimulator : public QObject
{
public:
    explicit LineToSimulator(const QString &slavePath)
    {
        port.setPortName(slavePath);
        if (!port.open(QIODevice::ReadWrite))
            qFatal("cannot open %s", qPrintable(slavePath));
        connect(&port, &QSerialPort::readyRead, this, [this] { received += port.readAll(); });
        connect(&bridge, &MavLinkBridge::frameReady, &outbound, &OutboundQueue::send);
        bridge.attachSerialPort();
        bridge.requestParameter(1, QStringLiteral("ZEFAVERSION"));
    }

    int countOf(int msgid) const
    {
        int count = 0;
        for (const WireFrame &frame : parseFrames(received))
            count += frame.msgid() == msgid ? 1 : 0;
        return count;
    }

    QSerialPort port;
    MavLinkBridge bridge;
    OutboundQueue outbound{port};
    QByteArray received;
};

QString statusText(GcsHarness &gcs)
{
    return gcs.widget<QStatusBar>("statusBar")->currentMessage();
}

// "<ms> <sender> <id> <hex>" lines, reduced to sender and message id.
QStringList senderAndIds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 4)
            continue;
        const QList<WireFrame> frames = parseFrames(QByteArray::fromHex(fields[3]));
        const bool frameMatches =
            frames.size() == 1 && QByteArray::number(frames[0].msgid()) == fields[2];
        out << QString::fromLatin1(fields[1] + ' ' + fields[2] + (frameMatches ? "" : " garbled"));
    }
    return out;
}

} // namespace

class TestSimulatorProgram : public QObject
{
    Q_OBJECT

private slots:
    void servesTheAssistantAndLogsEveryFrame();
    void unplugAfterHangsUpLikeARealDevice();
    void paramDropRateDecidesWhetherReadsAreAnswered_data();
    void paramDropRateDecidesWhetherReadsAreAnswered();
    void streamsFromTheStartAtTheForcedRate();
    void rejectsABadOption_data();
    void rejectsABadOption();
};

// With firmware 21 the assistant asks for the version and drops the link,
// sending its four stream stops first: all of it must be in the log.
void TestSimulatorProgram::servesTheAssistantAndLogsEveryFrame()
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("frames.log"));
    SimulatorProgram sim(kSimulator, {"--firmware", "21", "--log", logPath});
    const QString path = sim.slavePath();
    QVERIFY2(path.startsWith("/dev/"), qPrintable(path));

    GcsHarness gcs;
    qputenv("ZEFA_GCS_PORT", path.toLocal8Bit());
    gcs.action("actionConnect")->trigger();
    QVERIFY(gcs.port()->isOpen());
    QTRY_COMPARE(statusText(gcs), QStringLiteral("Disconnected"));
    QTRY_COMPARE(senderAndIds(logPath).filter("GCS").size(), 5);

    const QStringList log = senderAndIds(logPath);
    QCOMPARE(log.filter("GCS"), (QStringList{"GCS 20", "GCS 66", "GCS 66", "GCS 66", "GCS 66"}));
    QVERIFY(log.indexOf("FC 22") > log.indexOf("GCS 20"));
    QVERIFY(log.filter("garbled").isEmpty());
}

void TestSimulatorProgram::unplugAfterHangsUpLikeARealDevice()
{
    // The window first: building it can take longer than the simulator waits
    // under a sanitizer on a loaded machine.
    GcsHarness gcs;
    SimulatorProgram sim(kSimulator, {"--unplug-after", "2"});
    qputenv("ZEFA_GCS_PORT", sim.slavePath().toLocal8Bit());
    ModalBoxCloser boxes;
    gcs.action("actionConnect")->trigger();
    QVERIFY(gcs.port()->isOpen());

    QTRY_COMPARE(statusText(gcs), QStringLiteral("Disconnected"));
    QCOMPARE(boxes.titles(), QStringList{"Critical Error"});
    QTRY_COMPARE(sim.process.state(), QProcess::NotRunning);
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
}

void TestSimulatorProgram::paramDropRateDecidesWhetherReadsAreAnswered_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("answers");
    QTest::newRow("none dropped") << "0" << 1;
    QTest::newRow("all dropped") << "1" << 0;
}

// The FC answers a read at once; by its second heartbeat the answer, if
// any, has long arrived.
void TestSimulatorProgram::paramDropRateDecidesWhetherReadsAreAnswered()
{
    QFETCH(QString, rate);
    QFETCH(int, answers);
    SimulatorProgram sim(kSimulator, {"--param-drop-rate", rate});
    LineToSimulator line(sim.slavePath());
    QTRY_VERIFY_WITH_TIMEOUT(line.countOf(MavMsg::Heartbeat) >= 2, 10000);
    QCOMPARE(line.countOf(MavMsg::ParamValue), answers);
}

// Asked for nothing but the firmware version, the FC streams the radio it
// was started with, at the forced rate instead of the 2 Hz given. Its
// heartbeat is the clock: about 20 frames from one to the next.
void TestSimulatorProgram::streamsFromTheStartAtTheForcedRate()
{
    SimulatorProgram sim(kSimulator, {"--stream", "3=2", "--stream-rate", "20"});
    LineToSimulator line(sim.slavePath());
    QTRY_VERIFY_WITH_TIMEOUT(line.countOf(MavMsg::Heartbeat) >= 5, 15000);

    QList<int> ids;
    for (const WireFrame &frame : parseFrames(line.received))
        ids << frame.msgid();
    const int first = ids.indexOf(MavMsg::Heartbeat);
    const int last = ids.lastIndexOf(MavMsg::Heartbeat);
    const int between = int(ids.mid(first, last - first).count(MavMsg::RcChannelsRaw));
    const int seconds = int(ids.count(MavMsg::Heartbeat)) - 1;
    QVERIFY2(between >= 12 * seconds && between <= 28 * seconds,
             qPrintable(QStringLiteral("%1 frames in %2 s").arg(between).arg(seconds)));
}

void TestSimulatorProgram::rejectsABadOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("fault rate above 1") << QStringList{"--fault-rate", "1.5"};
    QTest::newRow("drop rate above 1") << QStringList{"--param-drop-rate", "1.5"};
    QTest::newRow("negative drop rate") << QStringList{"--param-drop-rate", "-0.1"};
    QTest::newRow("drop rate not a number") << QStringList{"--param-drop-rate", "half"};
    QTest::newRow("stream rate 0") << QStringList{"--stream-rate", "0"};
    QTest::newRow("stream without a rate") << QStringList{"--stream", "3"};
    QTest::newRow("stream rate not a number") << QStringList{"--stream", "3=fast"};
    QTest::newRow("stream id above 255") << QStringList{"--stream", "256=10"};
    QTest::newRow("firmware not a number") << QStringList{"--firmware", "nan"};
    QTest::newRow("fault rate not a number") << QStringList{"--fault-rate", "nan"};
    QTest::newRow("seed infinite") << QStringList{"--seed", "inf"};
    QTest::newRow("unplug time not a number") << QStringList{"--unplug-after", "nan"};
    QTest::newRow("stream rate infinite") << QStringList{"--stream-rate", "inf"};
}

void TestSimulatorProgram::rejectsABadOption()
{
    QFETCH(QStringList, arguments);
    SimulatorProgram sim(kSimulator, arguments);
    QVERIFY(sim.process.waitForFinished(5000));
    QCOMPARE(sim.process.exitCode(), 2);
    QVERIFY(sim.process.readAllStandardOutput().isEmpty());
}

QTEST_MAIN(TestSimulatorProgram)
#include "tst_simulatorprogram.moc"
