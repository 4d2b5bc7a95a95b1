#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/portfixtures.h"

#include <QLabel>
#include <QSerialPort>
#include <QtTest>

namespace {

// The window with the port list under the test's control and no port named
// in the environment: what it opens, it found in the list.
class Watched
{
public:
    Watched() { qunsetenv("ZEFA_GCS_PORT"); }

    void switchOn() { gcs.action("actionAutoConnect")->setChecked(true); }
    bool isOpenOn(const QString &slavePath)
    {
        return gcs.port()->isOpen() && gcs.widget<QLabel>("linkPortLabel")->text() == slavePath;
    }

    SettingsFolder settings;
    ListedPorts listed;
    GcsHarness gcs;
};

QStringList firstFrames(PtyPair &line)
{
    return describeAll(parseFrames(line.readUntilQuiet()));
}

} // namespace

class TestAutoConnect : public QObject
{
    Q_OBJECT

private slots:
    void connectsWhenThePortAppearsAndAgainAfterAnUnplug();
    void portThatFailsToOpenIsNotRetried();
    void rememberedOnConnectsAtStart();
};

// The unplug box stays as it was; after it the FC is connected without a
// click. It came back under the same name before anything could look (a
// link to the new terminal), as a quick re-plug does.
void TestAutoConnect::connectsWhenThePortAppearsAndAgainAfterAnUnplug()
{
    Watched w;
    QTemporaryDir dir;
    const QString fc = dir.filePath("ttyFC");
    QVERIFY(QFile::link(w.gcs.line().slavePath(), fc));
    w.switchOn();
    QVERIFY(w.listed.waitForReads(1));
    QVERIFY(!w.gcs.port()->isOpen());

    w.listed.ports = {fcPort(fc)};
    QTRY_VERIFY(w.isOpenOn(fc));
    QCOMPARE(firstFrames(w.gcs.line()), QStringList{"get ZEFAVERSION"});

    ModalBoxCloser boxes;
    PtyPair replugged;
    QVERIFY(QFile::remove(fc) && QFile::link(replugged.slavePath(), fc));
    w.gcs.line().closeMaster();
    QTRY_COMPARE(boxes.titles(), QStringList{"Critical Error"});
    QTRY_VERIFY(w.isOpenOn(fc));
    QCOMPARE(firstFrames(replugged), QStringList{"get ZEFAVERSION"});
    QCOMPARE(boxes.titles(), QStringList{"Critical Error"});
}

// One attempt, one box; the port must be re-plugged before the next.
void TestAutoConnect::portThatFailsToOpenIsNotRetried()
{
    Watched w;
    const SerialPortDescription missing = fcPort("/dev/zefa-no-such-port");
    w.listed.ports = {missing};
    ModalBoxCloser boxes;
    w.switchOn();
    QTRY_COMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Error"));
    QCOMPARE(boxes.boxes()[0].informativeText,
             QStringLiteral("Could not open /dev/zefa-no-such-port: there is no such port."));
    QVERIFY(w.listed.waitForReads(3));
    QCOMPARE(boxes.boxes().size(), 1);

    w.listed.ports.clear();
    QVERIFY(w.listed.waitForReads(1));
    w.listed.ports = {missing};
    QTRY_COMPARE(boxes.boxes().size(), 2);
    QVERIFY(!w.gcs.port()->isOpen());
}

// Off on the first run; turned on, it connects at the next start.
void TestAutoConnect::rememberedOnConnectsAtStart()
{
    SettingsFolder settings;
    PtyPair line;
    ListedPorts listed({fcPort(line.slavePath())});
    {
        GcsHarness gcs;
        qunsetenv("ZEFA_GCS_PORT");
        QVERIFY(!gcs.action("actionAutoConnect")->isChecked());
        gcs.action("actionAutoConnect")->trigger();
        QTRY_VERIFY(gcs.port()->isOpen());
        gcs.action("actionDisconnect")->trigger();
    }
    line.readUntilQuiet();
    GcsHarness restarted;
    qunsetenv("ZEFA_GCS_PORT");
    QVERIFY(restarted.action("actionAutoConnect")->isChecked());
    QTRY_VERIFY(restarted.port()->isOpen());
    QCOMPARE(restarted.widget<QLabel>("linkPortLabel")->text(), line.slavePath());
    QCOMPARE(firstFrames(line), QStringList{"get ZEFAVERSION"});
}

QTEST_MAIN(TestAutoConnect)
#include "tst_autoconnect.moc"
