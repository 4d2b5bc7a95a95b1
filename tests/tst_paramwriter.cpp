#include "support/ptypair.h"
#include "support/simulatorwait.h"
#include "support/wire.h"

#include "fcsim/fcmessages.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"
#include "params/heartbeatwatch.h"
#include "params/paramtransfer.h"
#include "params/paramwriter.h"
#include "serial/portlist.h"
#include "session/fcsession.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {
constexpr int kRunTimeoutMs = 15000;
const QString kSet = QStringLiteral("set RTL_ALT=1200 (4)");
const QString kGet = QStringLiteral("get RTL_ALT");
// Per write of RTL_ALT, the values the FC reports after it.
using Answers = QList<QList<float>>;

void openAsTheWindowDoes(FcLink &link, const PtyPair &pty)
{
    setFlightControllerPortOverride(pty.slavePath());
    QTest::ignoreMessage(QtDebugMsg, "port attached: true");
    if (!link.open())
        qFatal("cannot open the line");
    setFlightControllerPortOverride(QString());
}

// A ground station (system 255) on the line: a disarmed heartbeat four times
// a second and one right after each of the FC's, so that the last heartbeat
// on the line is never the FC's.
class GroundStation
{
public:
    GroundStation(PtyPair &line, FcSimulator &fc, FcLink &gcs) : pty(line)
    {
        QObject::connect(&gcs, &FcLink::frameReceived, &beat,
                         [this](const MavLinkMessage &msg) { heard += msg.sysid == kSystemId; });
        QObject::connect(&beat, &QTimer::timeout, [this] { sendHeartbeat(); });
        QObject::connect(&fc, &FcSimulator::frameSent, &beat, [this](const MavLinkMessage &msg) {
            if (msg.msgid == MavMsg::Heartbeat) // after the FC's bytes have left
                QTimer::singleShot(0, &beat, [this] { sendHeartbeat(); });
        });
        beat.start(250);
        if (!QTest::qWaitFor([this] { return heard > 0; }, kRunTimeoutMs))
            qFatal("the assistant did not hear the ground station");
    }

private:
    static constexpr std::uint8_t kSystemId = 255;

    void sendHeartbeat() { pty.write(frameFrom(kSystemId, 190, FcMessages::heartbeat(0))); }

    PtyPair &pty;
    QTimer beat;
    int heard = 0;
};

QStringList writesReceived(FcSimulator &sim)
{
    return receivedBySimulator(sim).filter(QRegularExpression("^set "));
}

// The writer on a link opened as the window opens it, to a simulated FC
// that answers no parameter frame: the test gives the answers.
struct WriterOnLine
{
    WriterOnLine()
    {
        openAsTheWindowDoes(link, pty);
        sim.setParamDropRate(1.0);
        link.requestFirmwareVersion(); // the FC talks once spoken to
        if (!QTest::qWaitFor([this] { return heartbeat.seen(); }, kRunTimeoutMs))
            qFatal("no heartbeat");
        sim.clearReceived();
    }

    void start(float value, int type, ParamWriter::Pace pace = ParamWriter::Pace::OneAtATime)
    {
        const QList<PlannedWrite> writes{
            {QStringLiteral("RTL_ALT"), 0.0f, value, std::uint8_t(type)}};
        if (pace == ParamWriter::Pace::FirstAttemptsSent)
            writer.sendFirstAttempts(writes);
        writer.start(writes, QString(), pace);
    }

    // The nth write's answers: the nth list, at once and in one piece.
    void answerWrites(const Answers &answers, int type)
    {
        QObject::connect(&link, &FcLink::frameSent, &link, [=](const QByteArray &frame) {
            if (parseFrames(frame).value(0).msgid() != MavMsg::ParamSet)
                return;
            QByteArray reports;
            for (float value : answers.value(writesSent++))
                reports += paramValueFrame("RTL_ALT", value, type);
            QTimer::singleShot(0, &link, [=] { link.receiveBytes(reports); });
        });
    }

    ParamWriter::Ending ending() { return finished.at(0).at(0).value<ParamWriter::Ending>(); }

    PtyPair pty;
    FcSession session;
    MavLinkBridge &bridge{session.bridge()};
    FcLink &link{session.link()};
    HeartbeatWatch &heartbeat{session.heartbeat()};
    ParamWriter &writer{session.writer()};
    QSignalSpy finished{&writer, &ParamWriter::finished};
    FcSimulator sim;
    SimulatorPtyLink fcEnd{pty.masterFd(), sim};
    int writesSent = 0;
};

// --set as the command line runs it, every change confirmed unasked.
struct SetOnLine
{
    SetOnLine()
    {
        openAsTheWindowDoes(link, pty);
        QObject::connect(&transfer, &ParamTransfer::changesReady, &transfer,
                         &ParamTransfer::confirmWrites);
    }

    PtyPair pty;
    FcSession session;
    FcLink &link{session.link()};
    ParamTransfer transfer{session.bridge(), session.parameters(), session.heartbeat(),
                           session.writeTurns()};
    QSignalSpy finished{&transfer, &ParamTransfer::finished};
    FcSimulator sim;
    SimulatorPtyLink fcEnd{pty.masterFd(), sim};
};
} // namespace

class ParamWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ParamWriter::Ending>(); }

    void echoesAreComparedInTheWrittenType_data()
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

    // As a page's Save, the FC answering each write with the value echoed:
    // another value refuses the write once it answers the second one.
    void echoesAreComparedInTheWrittenType()
    {
        QFETCH(int, type);
        QFETCH(float, sent);
        QFETCH(float, echoed);
        QFETCH(bool, confirmed);
        WriterOnLine line;
        line.answerWrites({{echoed}, {echoed}}, type);
        line.start(sent, type, ParamWriter::Pace::FirstAttemptsSent);
        QTRY_COMPARE_WITH_TIMEOUT(line.finished.size(), 1, kRunTimeoutMs);
        QCOMPARE(line.writer.confirmedNames().size(), int(confirmed));
        QCOMPARE(line.writesSent, confirmed ? 1 : 2);
        if (!confirmed) {
            const UnconfirmedWrite miss = line.writer.unconfirmedWrites().value(0);
            QVERIFY(miss.reported);
            QCOMPARE(std::signbit(miss.reportedValue), std::signbit(echoed));
            QCOMPARE(miss.reportedValue, echoed);
        }
    }

    void aReadsLateAnswerIsNoRefusal_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::newRow("then the echo") << Answers{{900, 1200}};
        QTest::newRow("echo lost") << Answers{{900}, {1200}};
    }

    // A Save just after a Read of the name: the Read's answer comes first.
    void aReadsLateAnswerIsNoRefusal()
    {
        QFETCH(Answers, answers);
        WriterOnLine line;
        line.answerWrites(answers, 4);
        line.start(1200.0f, 4, ParamWriter::Pace::FirstAttemptsSent);
        QTRY_COMPARE_WITH_TIMEOUT(line.finished.size(), 1, kRunTimeoutMs);
        QCOMPARE(line.writer.confirmedNames(), QStringList{"RTL_ALT"});
        QCOMPARE(line.writesSent, answers.size());
    }

    // The first write, three more, then six reads of the name.
    void unansweredWriteIsSentFourTimesThenReadSixTimes()
    {
        WriterOnLine line;
        line.start(1200.0f, 4);
        QVERIFY(line.finished.wait(kRunTimeoutMs));
        QCOMPARE(line.ending(), ParamWriter::Ending::Done);
        // A late heartbeat makes the writer ask for the firmware version.
        QCOMPARE(receivedBySimulator(line.sim).filter("RTL_ALT"),
                 (QStringList{kSet, kSet, kSet, kSet, kGet, kGet, kGet, kGet, kGet, kGet}));
        QCOMPARE(line.writer.unconfirmedNames(), QStringList{"RTL_ALT"});
    }

    // Every attempt asks whether the FC is armed, the retries too. The FC
    // reports itself armed once the first write has left, however late a
    // busy machine lets the test see it.
    void armingStopsEvenARetry()
    {
        WriterOnLine line;
        line.sim.setHeartbeatSilenced(true);
        int sentAfterArming = -1;
        QObject::connect(&line.link, &FcLink::frameSent, &line.link, [&line, &sentAfterArming] {
            if (sentAfterArming++ < 0)
                QTimer::singleShot(0, &line.link,
                                   [&line] { line.link.receiveBytes(heartbeatFrame(0x80)); });
        });
        line.start(1200.0f, 4);
        QVERIFY(line.finished.wait(kRunTimeoutMs));
        QCOMPARE(line.ending(), ParamWriter::Ending::Armed);
        QCOMPARE(sentAfterArming, 0);
    }

    void othersHeartbeatsNeverLetAWriteGo_data()
    {
        QTest::addColumn<bool>("armed");
        QTest::addColumn<ParamWriter::Ending>("ending");
        QTest::newRow("the FC armed") << true << ParamWriter::Ending::Armed;
        QTest::newRow("the FC silent for 3 s") << false << ParamWriter::Ending::NoHeartbeat;
    }

    // Only the FC's own heartbeats tell whether it is armed and alive.
    void othersHeartbeatsNeverLetAWriteGo()
    {
        QFETCH(bool, armed);
        QFETCH(ParamWriter::Ending, ending);
        WriterOnLine line;
        line.sim.setArmed(armed);
        line.sim.setHeartbeatSilenced(!armed);
        QTRY_VERIFY_WITH_TIMEOUT(armed ? line.heartbeat.armed() : line.heartbeat.silenceMs() > 3000,
                                 kRunTimeoutMs);
        GroundStation station(line.pty, line.sim, line.link);
        line.start(1200.0f, 4);
        QVERIFY(line.finished.wait(kRunTimeoutMs));
        QCOMPARE(line.ending(), ending);
        QCOMPARE(writesReceived(line.sim), QStringList());
    }

    // --set goes through a restore's steps: the check before the writes.
    void setOfAnArmedFcIsRefusedWhateverOthersSay()
    {
        SetOnLine line;
        line.sim.setArmed(true);
        GroundStation station(line.pty, line.sim, line.link);
        line.transfer.startSet(
            {ParamFileEntry{QStringLiteral("RTL_ALT"), 1200.0f, 1200.0, 0, -1, 1}});
        QVERIFY(line.finished.wait(kRunTimeoutMs));
        const auto report = line.finished.at(0).at(0).value<TransferReport>();
        QCOMPARE(report.outcome, TransferReport::Outcome::Failed);
        QVERIFY2(report.message.startsWith("The FC is armed."), qPrintable(report.message));
        QCOMPARE(writesReceived(line.sim), QStringList());
    }

    // On a noisy line heartbeats are lost while the FC goes on answering:
    // writes go on past the plain limit of 3 s.
    void answersKeepWritesGoingWhileHeartbeatsAreLost()
    {
        WriterOnLine line;
        line.sim.setHeartbeatSilenced(true);
        QTRY_VERIFY_WITH_TIMEOUT(line.heartbeat.silenceMs() > 3000, kRunTimeoutMs);
        line.link.receiveBytes(paramValueFrame("RTL_ALT", 900, 4)); // a read answered just now
        line.answerWrites({{1200}}, 4);
        line.start(1200.0f, 4);
        QVERIFY(line.finished.wait(kRunTimeoutMs));
        QCOMPARE(line.ending(), ParamWriter::Ending::Done);
        QCOMPARE(line.writer.confirmedNames(), QStringList{"RTL_ALT"});
    }

    // A page's Save: the echo of its second write came before the first's.
    // A later Save of that name waits for its own echo.
    void earlyEchoesEndWithTheirSave()
    {
        WriterOnLine line;
        const QList<PlannedWrite> first{{QStringLiteral("FRAME"), 0.0f, 1.0f, 2},
                                        {QStringLiteral("RTL_ALT"), 0.0f, 1200.0f, 4}};
        line.writer.sendFirstAttempts(first);
        line.writer.start(first, QString(), ParamWriter::Pace::FirstAttemptsSent);
        line.link.receiveBytes(paramValueFrame("RTL_ALT", 1200, 4) +
                               paramValueFrame("FRAME", 1, 2));
        QCOMPARE(line.writer.confirmedNames(), (QStringList{"FRAME", "RTL_ALT"}));
        QTRY_VERIFY(!line.link.isSending());

        line.answerWrites({{1000}, {1000}}, 4);
        line.start(1200.0f, 4, ParamWriter::Pace::FirstAttemptsSent);
        QTRY_COMPARE_WITH_TIMEOUT(line.finished.size(), 2, kRunTimeoutMs);
        QCOMPARE(line.writer.unconfirmedNames(), QStringList{"RTL_ALT (the FC reports 1000)"});
    }
};

QTEST_GUILESS_MAIN(ParamWriterTest)
#include "tst_paramwriter.moc"
