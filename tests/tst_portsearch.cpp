#include "support/gcsharness.h"

#include "serial/portchoice.h"
#include "serial/portlist.h"

#include <QtTest>

namespace {

using Ports = QList<SerialPortDescription>;

SerialPortDescription port(const char *name, const char *manufacturer, quint16 vendor = 0,
                           quint16 product = 0)
{
    SerialPortDescription p;
    p.portName = QString::fromLatin1(name);
    p.manufacturer = QString::fromLatin1(manufacturer);
    p.vendorIdentifier = vendor;
    p.productIdentifier = product;
    return p;
}

// As Windows lists a port bound to its inbox driver, usbser.sys.
SerialPortDescription inboxDriverPort(const char *name, quint16 vendor, quint16 product)
{
    return port(name, "Microsoft", vendor, product);
}

// Substitutes the system's port list and counts how often it is read.
class ListedPorts
{
public:
    explicit ListedPorts(const Ports &ports)
    {
        setSerialPortLister([this, ports] {
            ++reads;
            return ports;
        });
    }
    ~ListedPorts() { setSerialPortLister({}); }

    int reads = 0;
};

// Sets or clears ZEFA_GCS_PORT for one test.
class PortOverride
{
public:
    explicit PortOverride(const QByteArray &value) { qputenv("ZEFA_GCS_PORT", value); }
    ~PortOverride() { qunsetenv("ZEFA_GCS_PORT"); }
};

} // namespace

Q_DECLARE_METATYPE(Ports)

class TestPortSearch : public QObject
{
    Q_OBJECT

private slots:
    void firstPortNamingTheMakerOrItsChipWins_data();
    void firstPortNamingTheMakerOrItsChipWins();
    void chosenPortComesAfterTheEnvironmentAndBeforeTheSearch();
    void overrideSkipsTheSearch();
    void emptyOverrideMeansSearch();
    void commandLinePortWinsOverTheEnvironment();
    void connectOpensThePortTheSearchFound();
};

void TestPortSearch::firstPortNamingTheMakerOrItsChipWins_data()
{
    QTest::addColumn<Ports>("ports");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("no ports") << Ports{} << "";
    QTest::newRow("two chip ports: the first")
        << Ports{port("ttyACM0", "STMicroelectronics"), port("ttyACM1", "STMicroelectronics")}
        << "ttyACM0";
    QTest::newRow("chip port listed before a maker port")
        << Ports{port("ttyACM0", "STMicroelectronics"), port("ttyACM1", "ZEFA")} << "ttyACM0";
    QTest::newRow("maker port listed before a chip port")
        << Ports{port("ttyACM0", "ZEFA"), port("ttyACM1", "STMicroelectronics")} << "ttyACM0";
    QTest::newRow("lower-case maker does not match")
        << Ports{port("ttyUSB0", "zefa"), port("ttyUSB1", "stmicroelectronics")} << "";
    QTest::newRow("others are skipped")
        << Ports{port("ttyS0", ""), port("ttyUSB0", "FTDI"), port("ttyACM3", "ZEFA")} << "ttyACM3";
    QTest::newRow("maker inside a longer string")
        << Ports{port("ttyACM2", "ZEFA Robotics Co., Ltd.")} << "ttyACM2";
    QTest::newRow("chip vendor inside a longer string")
        << Ports{port("ttyACM5", "(STMicroelectronics.)")} << "ttyACM5";
    // Only when no manufacturer matches: the USB identifiers of the FC's
    // virtual COM port.
    QTest::newRow("Windows inbox driver")
        << Ports{port("COM1", "(Standard port types)"), inboxDriverPort("COM5", 0x0483, 0x5740)}
        << "COM5";
    QTest::newRow("maker port listed after the inbox driver's wins")
        << Ports{inboxDriverPort("COM5", 0x0483, 0x5740), port("COM9", "ZEFA")} << "COM9";
    QTest::newRow("two inbox driver ports: the first")
        << Ports{inboxDriverPort("COM5", 0x0483, 0x5740), inboxDriverPort("COM6", 0x0483, 0x5740)}
        << "COM5";
    QTest::newRow("chip vendor with another product")
        << Ports{inboxDriverPort("COM5", 0x0483, 0x3748), inboxDriverPort("COM6", 0x0403, 0x5740)}
        << "";
    QTest::newRow("Linux without a manufacturer string")
        << Ports{port("ttyS0", ""), port("ttyACM0", "", 0x0483, 0x5740)} << "ttyACM0";
}

void TestPortSearch::firstPortNamingTheMakerOrItsChipWins()
{
    QFETCH(Ports, ports);
    QFETCH(QString, chosen);
    QCOMPARE(findFlightControllerPort(ports), chosen);

    PortOverride noOverride("");
    ListedPorts listed(ports);
    QCOMPARE(flightControllerPortName(), chosen);
    QCOMPARE(listed.reads, 1);
}

// --port, then ZEFA_GCS_PORT, then the port chosen in the window, then the
// search.
void TestPortSearch::chosenPortComesAfterTheEnvironmentAndBeforeTheSearch()
{
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    ListedPorts listed({port("ttyACM0", "ZEFA")});
    PortChoice::setNamedPort(QStringLiteral(" /dev/rfcomm0 "));
    QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/rfcomm0"));
    {
        PortOverride environment("/dev/pts/42");
        QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/pts/42"));
        setFlightControllerPortOverride(QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/ttyUSB3"));
        setFlightControllerPortOverride(QString());
    }
    QCOMPARE(listed.reads, 0);
    PortChoice::setNamedPort(QString());
    QCOMPARE(flightControllerPortName(), QStringLiteral("ttyACM0"));
    QCOMPARE(listed.reads, 1);
}

void TestPortSearch::overrideSkipsTheSearch()
{
    PortOverride forced("/dev/pts/42");
    ListedPorts listed({port("ttyACM0", "ZEFA")});
    QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/pts/42"));
    QCOMPARE(listed.reads, 0);
}

void TestPortSearch::emptyOverrideMeansSearch()
{
    PortOverride empty("");
    ListedPorts listed({port("ttyACM0", "ZEFA")});
    QCOMPARE(flightControllerPortName(), QStringLiteral("ttyACM0"));
}

void TestPortSearch::commandLinePortWinsOverTheEnvironment()
{
    PortOverride environment("/dev/pts/42");
    ListedPorts listed({port("ttyACM0", "ZEFA")});
    setFlightControllerPortOverride(QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/ttyUSB3"));
    setFlightControllerPortOverride(QString());
    QCOMPARE(flightControllerPortName(), QStringLiteral("/dev/pts/42"));
    QCOMPARE(listed.reads, 0);
}

// Only the port name comes from the search; the open itself is the usual
// one, so a pseudo-terminal listed as the FC's port works end to end.
void TestPortSearch::connectOpensThePortTheSearchFound()
{
    GcsHarness gcs;
    PortOverride noOverride("");
    ListedPorts listed(
        {port("/dev/zefa-other", "FTDI"),
         {gcs.line().slavePath(), {}, "STMicroelectronics", {}, {}, 0x0483, 0x5740}});
    gcs.action("actionConnect")->trigger();
    QCOMPARE(gcs.port()->portName(), gcs.line().slavePath().mid(5));
    QVERIFY(gcs.port()->isOpen());
    QCOMPARE(gcs.sentDescriptions(), QStringList{"get ZEFAVERSION"});
    QCOMPARE(listed.reads, 1);
}

QTEST_MAIN(TestPortSearch)
#include "tst_portsearch.moc"
