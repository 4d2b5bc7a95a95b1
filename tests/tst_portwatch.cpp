#include "support/portfixtures.h"

#include "serial/portchoice.h"
#include "serial/portwatch.h"

#include <QSignalSpy>
#include <QtTest>

// The watch as a state machine over a port list the test controls: what it
// reports after each poll, never how soon.
class TestPortWatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void portPresentWhenSwitchedOnAppearsOnce();
    void reportedPortCountsAgainOnlyAfterItLeft_data();
    void reportedPortCountsAgainOnlyAfterItLeft();
    void nothingPollsWhileOpenOrOff();
    void namedPortAppearsWithItsDeviceFile();
    void choosingAnotherPortTriesItAtOnce();

private:
    // Lets the watch poll `count` more times.
    void waitForPolls(int count) { QVERIFY(listed->waitForReads(count)); }

    std::unique_ptr<SettingsFolder> settings;
    std::unique_ptr<ListedPorts> listed;
    std::unique_ptr<PortWatch> watch;
    std::unique_ptr<QSignalSpy> appeared;
};

void TestPortWatch::init()
{
    settings.reset(new SettingsFolder);
    listed.reset(new ListedPorts);
    watch.reset(new PortWatch);
    appeared.reset(new QSignalSpy(watch.get(), &PortWatch::portAppeared));
}

void TestPortWatch::cleanup()
{
    appeared.reset();
    watch.reset();
    listed.reset();
}

void TestPortWatch::portPresentWhenSwitchedOnAppearsOnce()
{
    listed->ports = {fcPort("ttyS0"), fcPort("ttyACM0")};
    watch->switchOn(true);
    QCOMPARE(appeared->size(), 1);
    waitForPolls(2);
    QCOMPARE(appeared->size(), 1);
}

void TestPortWatch::reportedPortCountsAgainOnlyAfterItLeft_data()
{
    QTest::addColumn<bool>("linkWasOpen");
    QTest::addColumn<bool>("linkLostIt");
    QTest::newRow("open failed") << false << false;
    QTest::newRow("link closed: Disconnect, other firmware") << true << false;
    // Re-plugged while the unplug box was open: no poll saw it gone.
    QTest::newRow("link lost the port: unplugged") << true << true;
}

// Never a retry in a loop: a port reported once, or that the link was open
// on, must leave before it counts again.
void TestPortWatch::reportedPortCountsAgainOnlyAfterItLeft()
{
    QFETCH(bool, linkWasOpen);
    QFETCH(bool, linkLostIt);
    listed->ports = {fcPort("ttyACM0")};
    watch->switchOn(true);
    if (linkWasOpen) {
        watch->linkOpened(QStringLiteral("ttyACM0"));
        if (linkLostIt)
            watch->portLost();
        watch->linkClosed();
    }
    waitForPolls(2);
    QCOMPARE(appeared->size(), linkLostIt ? 2 : 1);
    listed->ports.clear();
    waitForPolls(1);
    listed->ports = {fcPort("ttyACM0")};
    waitForPolls(1);
    QCOMPARE(appeared->size(), linkLostIt ? 3 : 2);
}

void TestPortWatch::nothingPollsWhileOpenOrOff()
{
    watch->switchOn(true);
    QVERIFY(watch->isPolling());
    watch->linkOpened(QStringLiteral("ttyACM0"));
    QVERIFY(!watch->isPolling());
    watch->linkClosed();
    QVERIFY(watch->isPolling());
    watch->switchOn(false);
    QVERIFY(!watch->isPolling());
    const int readsWhenOff = listed->reads;
    listed->ports = {fcPort("ttyACM0")};
    watch->linkOpened(QStringLiteral("ttyACM0"));
    watch->linkClosed();
    QVERIFY(!watch->isPolling());
    QCOMPARE(listed->reads, readsWhenOff);
    QCOMPARE(appeared->size(), 0);
}

// A symbolic link to a pseudo-terminal, say: the system does not list it.
void TestPortWatch::namedPortAppearsWithItsDeviceFile()
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyFC"));
    PortChoice::setNamedPort(device);
    listed->ports = {fcPort("ttyACM0")};
    watch->switchOn(true);
    waitForPolls(1);
    QCOMPARE(appeared->size(), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), device));
    waitForPolls(1);
    QCOMPARE(appeared->size(), 1);
    QVERIFY(QFile::remove(device));
    waitForPolls(1);
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), device));
    waitForPolls(1);
    QCOMPARE(appeared->size(), 2);
}

void TestPortWatch::choosingAnotherPortTriesItAtOnce()
{
    listed->ports = {fcPort("ttyACM0"), fcPort("ttyUSB0")};
    watch->switchOn(true);
    QCOMPARE(appeared->size(), 1);
    PortChoice::setNamedPort(QStringLiteral("ttyUSB0"));
    watch->targetChanged();
    QCOMPARE(appeared->size(), 2);
}

QTEST_MAIN(TestPortWatch)
#include "tst_portwatch.moc"
