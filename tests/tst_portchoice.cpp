#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/portfixtures.h"
#include "support/simulatorwait.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"
#include "mavlink/mavlinkbridge.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

namespace {

// Answers Other Port... with a name, as a user types it, and notes whether
// OK could be pressed; OK when it can, Cancel otherwise.
class OtherPortAnswer : public QObject
{
public:
    explicit OtherPortAnswer(const QString &typed) : typed(typed)
    {
        connect(&timer, &QTimer::timeout, this, &OtherPortAnswer::answer);
        timer.start(10);
    }

    QString prefilled;
    bool okEnabled = false;
    bool answered = false;

private:
    void answer()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *edit = dialog ? dialog->findChild<QLineEdit *>("portNameEdit") : nullptr;
        if (!edit || answered)
            return;
        answered = true;
        prefilled = edit->text();
        edit->setText(typed);
        okEnabled =
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
        okEnabled ? dialog->accept() : dialog->reject();
    }

    QString typed;
    QTimer timer;
};

void chooseOtherPort(GcsHarness &gcs, const QString &typed)
{
    OtherPortAnswer answer(typed);
    gcs.action("actionPortOther")->trigger();
    QVERIFY(answer.answered);
    QCOMPARE(answer.okEnabled, !typed.trimmed().isEmpty());
}

// The entries of Action > Port as the user sees them on opening it, the
// checked one marked with a star.
QStringList portMenu(QWidget &window)
{
    auto *menu = window.findChild<QMenu *>("menuPort");
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction *entry : menu->actions())
        entries << (entry->isSeparator() ? "-" : (entry->isChecked() ? "*" : "") + entry->text());
    return entries;
}

QString linkPort(GcsHarness &gcs)
{
    return gcs.widget<QLabel>("linkPortLabel")->text();
}

} // namespace

class TestPortChoice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void otherPortTalksToTheFcAndIsRemembered();
    void menuListsThePortsAndTheChoice();
    void badPortNameSaysWhyAndStaysClosed_data();
    void badPortNameSaysWhyAndStaysClosed();

private:
    std::unique_ptr<SettingsFolder> settings;
};

void TestPortChoice::init()
{
    settings.reset(new SettingsFolder);
}

void TestPortChoice::cleanup()
{
    settings.reset();
    qunsetenv("ZEFA_GCS_PORT");
}

// The simulator's pseudo-terminal is no port the system lists: only the
// name typed reaches it. The next window starts with the same choice, and
// Automatic there searches again.
void TestPortChoice::otherPortTalksToTheFcAndIsRemembered()
{
    ListedPorts listed;
    GcsHarness gcs;
    qunsetenv("ZEFA_GCS_PORT");
    FcSimulator sim;
    SimulatorPtyLink link(gcs.line().masterFd(), sim);
    const QString slave = gcs.line().slavePath();

    chooseOtherPort(gcs, " " + slave + " ");
    QSignalSpy heartbeats(&gcs.bridge(), &MavLinkBridge::heartbeatReceived);
    gcs.action("actionConnect")->trigger();
    QVERIFY(gcs.port()->isOpen());
    QVERIFY(heartbeats.wait());
    QCOMPARE(receivedBySimulator(sim).value(0), QStringLiteral("get ZEFAVERSION"));
    QCOMPARE(linkPort(gcs), slave);
    QCOMPARE(portMenu(gcs.window()), (QStringList{"Automatic", "*" + slave, "-", "Other Port..."}));
    gcs.action("actionDisconnect")->trigger();
    QCOMPARE(linkPort(gcs), QString());

    GcsHarness restarted;
    qunsetenv("ZEFA_GCS_PORT");
    QCOMPARE(portMenu(restarted.window()),
             (QStringList{"Automatic", "*" + slave, "-", "Other Port..."}));
    OtherPortAnswer keep(slave);
    restarted.action("actionPortOther")->trigger();
    QCOMPARE(keep.prefilled, slave);

    restarted.action("actionPortAutomatic")->trigger();
    listed.ports = {fcPort(restarted.line().slavePath())};
    restarted.action("actionConnect")->trigger();
    QVERIFY(restarted.port()->isOpen());
    QCOMPARE(restarted.sentDescriptions(), QStringList{"get ZEFAVERSION"});
    QCOMPARE(linkPort(restarted), restarted.line().slavePath());
    QCOMPARE(portMenu(restarted.window()).first(), QStringLiteral("*Automatic"));
}

void TestPortChoice::menuListsThePortsAndTheChoice()
{
    SerialPortDescription described = fcPort("ttyACM0");
    described.description = QStringLiteral("ZEFA R7");
    ListedPorts listed({described, fcPort("ttyS0")});
    GcsHarness gcs;
    QCOMPARE(portMenu(gcs.window()),
             (QStringList{"*Automatic", "ttyACM0 - ZEFA R7", "ttyS0", "-", "Other Port..."}));

    gcs.widget<QMenu>("menuPort")->actions()[2]->trigger();
    listed.ports.removeFirst();
    QCOMPARE(portMenu(gcs.window()), (QStringList{"Automatic", "*ttyS0", "-", "Other Port..."}));

    listed.ports.clear();
    QCOMPARE(portMenu(gcs.window()), (QStringList{"Automatic", "*ttyS0", "-", "Other Port..."}));
}

void TestPortChoice::badPortNameSaysWhyAndStaysClosed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("details");
    const QString folder = QDir::tempPath();
    const QString file = QStringLiteral(ZEFA_SOURCE_DIR "/README.md");
    QTest::newRow("empty")
        << "  "
        << "This computer lists no serial port. A port it does not list can be named under "
           "Action > Port > Other Port...";
    QTest::newRow("non-existent")
        << "/dev/zefa-no-such-port"
        << "Could not open /dev/zefa-no-such-port: there is no such port.";
    QTest::newRow("non-existent, named as in /dev")
        << "zefa-no-such-port"
        << "Could not open zefa-no-such-port: there is no such port.";
    QTest::newRow("folder") << folder
                            << "Could not open " + folder + ": it is a folder, not a serial port.";
    QTest::newRow("regular file") << file
                                  << "Could not open " + file +
                                         ": it is a regular file, not a serial port.";
}

void TestPortChoice::badPortNameSaysWhyAndStaysClosed()
{
    QFETCH(QString, typed);
    QFETCH(QString, details);
    ListedPorts none;
    GcsHarness gcs;
    qunsetenv("ZEFA_GCS_PORT");
    chooseOtherPort(gcs, typed);

    ModalBoxCloser boxes;
    gcs.action("actionConnect")->trigger();
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Error"));
    QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Please re plug the FC,and try again"));
    QCOMPARE(boxes.boxes()[0].informativeText, details);
    QVERIFY(!gcs.port()->isOpen());
    QVERIFY(gcs.action("actionConnect")->isEnabled());
    QCOMPARE(gcs.widget<QStatusBar>("statusBar")->currentMessage(), QStringLiteral("Open error"));
    QCOMPARE(linkPort(gcs), QString());
}

QTEST_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
