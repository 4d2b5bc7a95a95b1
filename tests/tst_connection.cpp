#include "support/gcsharness.h"
#include "support/modalboxcloser.h"

#include "mavlink/mavlinkbridge.h"
#include "serial/portlist.h"

#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

#include <termios.h>

namespace {

// QObject::receivers() is protected; a pointer to it taken through a
// subclass may be called on any object.
struct ReceiverCount : QObject
{
    static int of(const QObject &sender, const char *signal)
    {
        return (sender.*(&ReceiverCount::receivers))(signal);
    }
};

const char *const kAttitudeSignal = SIGNAL(setATT(double, double, double));
const char *const kTextSignal = SIGNAL(textMessageReceived(int, int, int, QString));

// One line per row of the state table: actions, bridge, status bar. Backup,
// restore, All Parameters and recording go with Disconnect.
QString linkState(GcsHarness &gcs)
{
    const bool canConnect = gcs.action("actionConnect")->isEnabled();
    const bool canDisconnect = gcs.action("actionDisconnect")->isEnabled();
    const bool canTransfer = gcs.action("actionBackUpSettings")->isEnabled() &&
                             gcs.action("actionRestoreSettings")->isEnabled() &&
                             gcs.action("actionAllParameters")->isEnabled() &&
                             gcs.action("actionRecordSession")->isEnabled();
    const bool canEither = gcs.action("actionBackUpSettings")->isEnabled() ||
                           gcs.action("actionRestoreSettings")->isEnabled() ||
                           gcs.action("actionAllParameters")->isEnabled() ||
                           gcs.action("actionRecordSession")->isEnabled();
    return QStringLiteral("%1%2%3 %4 \"%5\"")
        .arg(canConnect ? "connect" : "")
        .arg(canDisconnect ? "disconnect" : "")
        .arg(canTransfer ? " transfer"
             : canEither ? " half-transfer"
                         : "")
        .arg(gcs.bridge().isPortAttached() ? "attached" : "detached")
        .arg(gcs.widget<QStatusBar>("statusBar")->currentMessage());
}

const QString kClosedAtStart = QStringLiteral("connect detached \"\"");
const QString kOpen =
    QStringLiteral("disconnect transfer attached \"Connected to flight controller\"");
const QString kClosedAfterFailure = QStringLiteral("connect detached \"Open error\"");
const QString kClosedAfterDisconnect = QStringLiteral("connect detached \"Disconnected\"");

const QStringList kStreamStops = {"stream 1 rate 65535 start 1", "stream 10 rate 65535 start 1",
                                  "stream 11 rate 65535 start 1", "stream 6 rate 65535 start 1"};

// Restores the system's port list when a test has substituted it.
struct PortListOverride
{
    explicit PortListOverride(QList<SerialPortDescription> ports)
    {
        setSerialPortLister([ports] { return ports; });
    }
    ~PortListOverride() { setSerialPortLister({}); }
};

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void startsClosed();
    void connectingSendsOnlyTheFirmwareRequest();
    void connectingAppliesTheFixedLineSettings();
    void disconnectingStopsFourStreamsBeforeClosing();
    void disconnectingDropsFramesStillQueued();
    void secondConnectionBehavesLikeTheFirst();
    void failedOpenShowsErrorThenOpenError_data();
    void failedOpenShowsErrorThenOpenError();
    void perConnectionSignalsComeAndGoWithTheLink();
    void writeDataWritesThroughWhenCalledByName();
};

void TestConnection::startsClosed()
{
    GcsHarness gcs;
    QCOMPARE(linkState(gcs), kClosedAtStart);
    QVERIFY(!gcs.port()->isOpen());
}

void TestConnection::connectingSendsOnlyTheFirmwareRequest()
{
    GcsHarness gcs;
    gcs.action("actionConnect")->trigger();
    QCOMPARE(gcs.sentDescriptions(), QStringList{"get ZEFAVERSION"});
    QCOMPARE(linkState(gcs), kOpen);
    QVERIFY(gcs.port()->isOpen());
}

// Read back from the kernel, not from QSerialPort's own idea of them.
void TestConnection::connectingAppliesTheFixedLineSettings()
{
    GcsHarness gcs;
    gcs.connectToFc();
    termios tio;
    QCOMPARE(tcgetattr(int(gcs.port()->handle()), &tio), 0);
    QCOMPARE(cfgetispeed(&tio), speed_t(B115200));
    QCOMPARE(cfgetospeed(&tio), speed_t(B115200));
    QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
    QVERIFY(gcs.port()->openMode() == QIODevice::ReadWrite);
}

// The requests must be on the line before the port closes: QSerialPort
// drops what it still holds when it is closed.
void TestConnection::disconnectingStopsFourStreamsBeforeClosing()
{
    GcsHarness gcs;
    gcs.connectToFc();
    gcs.action("actionDisconnect")->trigger();
    QVERIFY(!gcs.port()->isOpen());
    QCOMPARE(gcs.sentDescriptions(), kStreamStops);
    QCOMPARE(linkState(gcs), kClosedAfterDisconnect);
}

// Requests of a read that has ended must not hold up the close, nor reach
// the FC after it; the close sequence still goes out whole.
void TestConnection::disconnectingDropsFramesStillQueued()
{
    GcsHarness gcs;
    gcs.connectToFc();
    gcs.sentDescriptions(); // the line is free again
    for (std::int16_t index = 0; index < 50; ++index)
        gcs.bridge().requestParameterByIndex(1, index);
    gcs.action("actionDisconnect")->trigger();
    QCOMPARE(gcs.sentDescriptions(), QStringList{"get #0"} + kStreamStops);
}

void TestConnection::secondConnectionBehavesLikeTheFirst()
{
    GcsHarness gcs;
    gcs.connectToFc();
    gcs.action("actionDisconnect")->trigger();
    gcs.sent();

    gcs.action("actionConnect")->trigger();
    QCOMPARE(gcs.sentDescriptions(), QStringList{"get ZEFAVERSION"});
    QCOMPARE(linkState(gcs), kOpen);
    gcs.action("actionDisconnect")->trigger();
    QCOMPARE(gcs.sentDescriptions(), kStreamStops);
    QCOMPARE(linkState(gcs), kClosedAfterDisconnect);
}

void TestConnection::failedOpenShowsErrorThenOpenError_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("details");
    QTest::newRow("no serial port at all")
        << "none"
        << "This computer lists no serial port. A port it does not list can be named under "
           "Action > Port > Other Port...";
    QTest::newRow("only ports of other makers")
        << "foreign"
        << "None of these ports is known as the FC's:\nPTY - FTDI adapter\nChoose its port under "
           "Action > Port.";
    QTest::newRow("port name that does not exist")
        << "missing"
        << "Could not open /dev/zefa-no-such-port: there is no such port.";
    QTest::newRow("port held by another program")
        << "held"
        << "Could not open PTY: Permission error while locking the device.";
}

void TestConnection::failedOpenShowsErrorThenOpenError()
{
    QFETCH(QString, why);
    QFETCH(QString, details);
    GcsHarness gcs;
    QSerialPort holder(gcs.line().slavePath());
    std::unique_ptr<PortListOverride> ports;
    if (why == "none" || why == "foreign") {
        qputenv("ZEFA_GCS_PORT", "");
        ports.reset(new PortListOverride(
            why == "none" ? QList<SerialPortDescription>{}
                          : QList<SerialPortDescription>{
                                {gcs.line().slavePath(), "FTDI adapter", "FTDI", {}, {}, 0, 0}}));
    } else if (why == "missing") {
        qputenv("ZEFA_GCS_PORT", "/dev/zefa-no-such-port");
    } else {
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }

    QString stateDuringBox;
    ModalBoxCloser boxes([&](int) { stateDuringBox = linkState(gcs); });
    gcs.action("actionConnect")->trigger();

    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Error"));
    QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Please re plug the FC,and try again"));
    QCOMPARE(boxes.boxes()[0].informativeText, details.replace("PTY", gcs.line().slavePath()));
    QCOMPARE(stateDuringBox, kClosedAtStart);
    QCOMPARE(linkState(gcs), kClosedAfterFailure);
    QVERIFY(!gcs.port()->isOpen());
}

// The self-test page connects the attitude once at start-up and every open
// adds one more, so the attitude is shown twice per message until the first
// disconnect removes them all. Status texts flow only while connected.
void TestConnection::perConnectionSignalsComeAndGoWithTheLink()
{
    GcsHarness gcs;
    const MavLinkBridge &bridge = gcs.bridge();
    const int atStartUp = ReceiverCount::of(bridge, kAttitudeSignal);
    QVERIFY(atStartUp <= 1);
    QCOMPARE(ReceiverCount::of(bridge, kTextSignal), 0);

    gcs.connectToFc();
    QCOMPARE(ReceiverCount::of(bridge, kAttitudeSignal), atStartUp + 1);
    QCOMPARE(ReceiverCount::of(bridge, kTextSignal), 1);

    gcs.action("actionDisconnect")->trigger();
    QCOMPARE(ReceiverCount::of(bridge, kAttitudeSignal), 0);
    QCOMPARE(ReceiverCount::of(bridge, kTextSignal), 0);

    gcs.connectToFc();
    QCOMPARE(ReceiverCount::of(bridge, kAttitudeSignal), 1);
    QCOMPARE(ReceiverCount::of(bridge, kTextSignal), 1);
}

void TestConnection::writeDataWritesThroughWhenCalledByName()
{
    GcsHarness gcs;
    gcs.connectToFc();
    const QByteArray bytes("\xEB\x00raw", 5);
    QVERIFY(QMetaObject::invokeMethod(&gcs.window(), "writeData", Q_ARG(QByteArray, bytes)));
    gcs.port()->flush();
    QCOMPARE(gcs.line().readUntilQuiet(), bytes);
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
