#include "support/ptypair.h"
#include "support/simulatorwait.h"
#include "support/wire.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"
#include "params/heartbeatwatch.h"
#include "params/paramwriter.h"
#include "serial/fclink.h"
#include "serial/portlist.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {
constexpr int kRunTimeoutMs = 15000;
constexpr std::uint8_t kArmed = 0x80;

PlannedWrite planned(const QString &name, float value, int type)
{
    PlannedWrite write;
    write.name = name;
    write.fileValue = value;
    write.type = std::uint8_t(type);
    return write;
}

// The writer on a link opened as the window opens it; the FC's side of the
// line is the simulator, or nothing when the test plays the FC itself.
struct WriterOnLine
{
    explicit WriterOnLine(bool simulated)
    {
        setFlightControllerPortOverride(pty.slavePath());
        QObject::connect(link.port(), &QSerialPort::readyRead, &link, &FcLink::readAvailable);
        QTest::ignoreMessage(QtDebugMsg, "port attached: true");
        if (!link.open())
            qFatal("cannot open the line");
        setFlightControllerPortOverride(QString());
        if (!simulated)
            return;
        fcEnd.reset(new SimulatorPtyLink(pty.masterFd(), sim));
        // The FC talks once the assistant has spoken.
        link.requestFirmwareVersion();
    }

    // Sets, reads and their order, as the FC heard them.
    QStringList heardByFc() { return receivedBySimulator(sim); }

    PtyPair pty;
    MavLinkBridge bridge;
    FcLink link{bridge};
    HeartbeatWatch heartbeat{bridge};
    ParamWriter writer{bridge, heartbeat};
    QSignalSpy finished{&writer, &ParamWriter::finished};
    FcSimulator sim;
    std::unique_ptr<SimulatorPtyLink> fcEnd;
};

ParamWriter::Ending endingOf(const QSignalSpy &finished)
{
    return finished.at(0).at(0).value<ParamWriter::Ending>();
}
} // namespace

class ParamWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ParamWriter::Ending>(); }
    void echoesAreComparedInTheWrittenType_data();
    void echoesAreComparedInTheWrittenType();
    void unansweredWriteIsSentFourTimesThenReadSixTimes();
    void armingStopsEvenARetry();
};

void ParamWriterTest::echoesAreComparedInTheWrittenType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("sent");
    QTest::addColumn<float>("echoed");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("float, same bits") << 9 << 0.15f << 0.15f << true;
    QTest::newRow("float -0 for 0") << 9 << 0.0f << -0.0f << false;
    QTest::newRow("float, next float") << 9 << 0.15f << std::nextafter(0.15f, 1.0f) << false;
    QTest::newRow("int32 -0 for 0") << 6 << 0.0f << -0.0f << true;
    QTest::newRow("int32, clamped") << 6 << 3.0f << 2.0f << false;
}

// A page's Save: an echo of another value ends the write at once as not
// confirmed, naming what the FC reports.
void ParamWriterTest::echoesAreComparedInTheWrittenType()
{
    QFETCH(int, type);
    QFETCH(float, sent);
    QFETCH(float, echoed);
    QFETCH(bool, confirmed);
    WriterOnLine line(false);
    const QList<PlannedWrite> writes{planned("RTL_ALT", sent, type)};
    line.writer.sendFirstAttempts(writes);
    line.writer.start(writes, ParamWriter::Pace::FirstAttemptsSent);
    QCOMPARE(describeAll(parseFrames(line.pty.readUntilQuiet(50))).size(), 1);
    line.link.receiveBytes(paramValueFrame("RTL_ALT", echoed, type));

    QCOMPARE(line.finished.size(), 1);
    QCOMPARE(line.writer.confirmedNames().size(), confirmed ? 1 : 0);
    QCOMPARE(line.writer.unconfirmedWrites().size(), confirmed ? 0 : 1);
    if (!confirmed) {
        const UnconfirmedWrite miss = line.writer.unconfirmedWrites().at(0);
        QVERIFY(miss.reported);
        QCOMPARE(std::signbit(miss.reportedValue), std::signbit(echoed));
        QCOMPARE(miss.reportedValue, echoed);
    }
}

// An FC that never answers: the first write, three more, then six reads of
// the name, and the write is reported as not confirmed.
void ParamWriterTest::unansweredWriteIsSentFourTimesThenReadSixTimes()
{
    WriterOnLine line(true);
    line.sim.setParamDropRate(1.0);
    QTRY_VERIFY_WITH_TIMEOUT(line.heartbeat.seen(), 3000);
    line.sim.clearReceived();

    line.writer.start({planned("RTL_ALT", 1200.0f, 4)});
    QVERIFY(line.finished.wait(kRunTimeoutMs));
    QCOMPARE(endingOf(line.finished), ParamWriter::Ending::Done);
    // A late heartbeat makes the writer ask for the firmware version.
    const QStringList heard =
        line.heardByFc().filter(QRegularExpression(QStringLiteral("RTL_ALT")));
    const QString set = QStringLiteral("set RTL_ALT=1200 (4)");
    const QString get = QStringLiteral("get RTL_ALT");
    QCOMPARE(heard, (QStringList{set, set, set, set, get, get, get, get, get, get}));
    QCOMPARE(line.writer.unconfirmedNames(), QStringList{"RTL_ALT"});
}

// Every attempt asks whether the FC is armed, the retries too.
void ParamWriterTest::armingStopsEvenARetry()
{
    WriterOnLine line(true);
    line.sim.setParamDropRate(1.0);
    QTRY_VERIFY_WITH_TIMEOUT(line.heartbeat.seen(), 3000);
    line.sim.setHeartbeatSilenced(true);
    line.sim.clearReceived();

    line.writer.start({planned("RTL_ALT", 1200.0f, 4)});
    QTRY_COMPARE(line.heardByFc(), QStringList{"set RTL_ALT=1200 (4)"});
    line.link.receiveBytes(heartbeatFrame(kArmed));
    QVERIFY(line.finished.wait(kRunTimeoutMs));
    QCOMPARE(endingOf(line.finished), ParamWriter::Ending::Armed);
    QCOMPARE(line.heardByFc(), QStringList{"set RTL_ALT=1200 (4)"});
}

QTEST_GUILESS_MAIN(ParamWriterTest)
#include "tst_paramwriter.moc"
