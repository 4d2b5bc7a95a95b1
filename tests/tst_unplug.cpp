#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/processcpu.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"

#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

#include <cerrno>

namespace {

QString statusText(GcsHarness &gcs)
{
    return gcs.widget<QStatusBar>("statusBar")->currentMessage();
}

bool isClosedAfterLoss(GcsHarness &gcs)
{
    return !gcs.port()->isOpen() && gcs.action("actionConnect")->isEnabled() &&
           !gcs.action("actionDisconnect")->isEnabled() && !gcs.bridge().isPortAttached() &&
           statusText(gcs) == QLatin1String("Disconnected");
}

// The assistant connected to a running simulator on its pty.
class ConnectedToSimulator
{
public:
    ConnectedToSimulator() : link(gcs.line().masterFd(), sim)
    {
        gcs.action("actionConnect")->trigger();
    }

    // As the FC's USB device disappearing: the master side goes away. A
    // read from the hung-up slave returns 0, and QSerialPort then reports
    // whatever error the stale errno suggests: 0 gives the endless read
    // errors seen with real devices, EIO the resource error.
    void unplug(int staleErrno = 0)
    {
        link.stop();
        gcs.line().closeMaster();
        errno = staleErrno;
    }

    GcsHarness gcs;
    FcSimulator sim;
    SimulatorPtyLink link;
};

} // namespace

class TestUnplug : public QObject
{
    Q_OBJECT

private slots:
    void unplugShowsOneBoxThenClosesAndGoesIdle_data();
    void unplugShowsOneBoxThenClosesAndGoesIdle();
    void connectingAgainAfterUnplugFindsTheNewPort();
    void resourceErrorClosesAfterTheBox();
    void otherErrorsAreIgnored_data();
    void otherErrorsAreIgnored();
};

void TestUnplug::unplugShowsOneBoxThenClosesAndGoesIdle_data()
{
    QTest::addColumn<int>("staleErrno");
    QTest::newRow("reported as read errors") << 0;
    QTest::newRow("reported as resource error") << EIO;
}

// A hung-up line makes the port report read errors without end; the box
// must come once, the window must not spin while it is open, and after it
// the link is closed and the process idle.
void TestUnplug::unplugShowsOneBoxThenClosesAndGoesIdle()
{
    QFETCH(int, staleErrno);
    ConnectedToSimulator fc;
    GcsHarness &gcs = fc.gcs;
    QTRY_VERIFY(fc.link.isListening());
    QTRY_COMPARE(fc.sim.receivedFrames().size(), 1);

    bool openWhileBoxShown = false;
    double cpuWhileBoxShown = 1.0;
    ModalBoxCloser boxes([&](int) {
        openWhileBoxShown = gcs.port()->isOpen() && gcs.action("actionDisconnect")->isEnabled();
        cpuWhileBoxShown = cpuShareWhileRunningEventLoop(1000);
    });
    fc.unplug(staleErrno);

    QTRY_VERIFY(isClosedAfterLoss(gcs));
    pumpEvents(200);
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Critical Error"));
    QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Please re plug the FC and try again"));
    QVERIFY(openWhileBoxShown);
    QVERIFY2(cpuWhileBoxShown < kIdleCpuShareLimit, qPrintable(QString::number(cpuWhileBoxShown)));
    const double cpuAfter = cpuShareWhileRunningEventLoop(1000);
    QVERIFY2(cpuAfter < kIdleCpuShareLimit, qPrintable(QString::number(cpuAfter)));
    QCOMPARE(boxes.boxes().size(), 1);
}

// The FC may come back under another name; the search runs afresh.
void TestUnplug::connectingAgainAfterUnplugFindsTheNewPort()
{
    ConnectedToSimulator fc;
    QTRY_VERIFY(fc.link.isListening());
    ModalBoxCloser boxes;
    fc.unplug();
    QTRY_VERIFY(isClosedAfterLoss(fc.gcs));

    PtyPair replugged;
    qputenv("ZEFA_GCS_PORT", replugged.slavePath().toLocal8Bit());
    fc.gcs.action("actionConnect")->trigger();
    QVERIFY(fc.gcs.port()->isOpen());
    QCOMPARE(describeAll(parseFrames(replugged.readUntilQuiet())), QStringList{"get ZEFAVERSION"});
    QCOMPARE(statusText(fc.gcs), QStringLiteral("Connected to flight controller"));
    QCOMPARE(boxes.boxes().size(), 1);
}

// Reported by the port while the line still works: the four stream stops
// of the close still reach the FC.
void TestUnplug::resourceErrorClosesAfterTheBox()
{
    GcsHarness gcs;
    gcs.connectToFc();
    QString statusDuringBox;
    ModalBoxCloser boxes([&](int) { statusDuringBox = statusText(gcs); });
    emit gcs.port()->errorOccurred(QSerialPort::ResourceError);
    QVERIFY(boxes.boxes().isEmpty()); // the port may be in the middle of a write

    QTRY_COMPARE(boxes.titles(), QStringList{"Critical Error"});
    QCOMPARE(statusDuringBox, QStringLiteral("Connected to flight controller"));
    QVERIFY(isClosedAfterLoss(gcs));
    QCOMPARE(gcs.sentDescriptions(),
             (QStringList{"stream 1 rate 65535 start 1", "stream 10 rate 65535 start 1",
                          "stream 11 rate 65535 start 1", "stream 6 rate 65535 start 1"}));
}

void TestUnplug::otherErrorsAreIgnored_data()
{
    QTest::addColumn<int>("error");
    const QMetaEnum errors = QMetaEnum::fromType<QSerialPort::SerialPortError>();
    for (int i = 0; i < errors.keyCount(); ++i) {
        if (errors.value(i) != QSerialPort::ResourceError)
            QTest::newRow(errors.key(i)) << errors.value(i);
    }
}

// A read error counts as a loss only on a hung-up line; here the line is
// healthy.
void TestUnplug::otherErrorsAreIgnored()
{
    QFETCH(int, error);
    GcsHarness gcs;
    gcs.connectToFc();
    ModalBoxCloser boxes;
    emit gcs.port()->errorOccurred(QSerialPort::SerialPortError(error));
    pumpEvents(50);
    QVERIFY(boxes.boxes().isEmpty());
    QVERIFY(gcs.port()->isOpen());
    QCOMPARE(statusText(gcs), QStringLiteral("Connected to flight controller"));
    QVERIFY(gcs.sent().isEmpty());
}

QTEST_MAIN(TestUnplug)
#include "tst_unplug.moc"
