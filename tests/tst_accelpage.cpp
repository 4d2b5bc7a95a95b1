#include "pages/accelpage.h"
#include "support/gcsharness.h"
#include "support/simulatedfc.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

struct FaceStep
{
    const char *prompt;
    const char *instruction;
    int picture;
};

// One prompt per face, in the order the FC asks for them.
const FaceStep kSixFaces[] = {
    {"Place vehicle level and press any key.",
     "Please place the copter in horizontal with the top up", 1},
    {"Place vehicle on its LEFT side and press any key.",
     "Please place the copter in vertical with the left side up", 2},
    {"Place vehicle on its RIGHT side and press any key.",
     "Please place the copter in vertical with the right side up", 3},
    {"Place vehicle nose DOWN and press any key.",
     "Please place the copter in vertical with the rear side up", 4},
    {"Place vehicle nose UP and press any key.",
     "Please place the copter in vertical with the front side up", 5},
    {"Place vehicle on its BACK and press any key.",
     "Please place the copter in horizontal with the bottom side up", 6},
};

// Which face picture the label shows: 0 for none. Pixmaps loaded from the
// same resource path share one pixmap cache entry, so the cache key names
// the path the page loaded, whatever the pictures look like.
int shownPicture(const QLabel *image)
{
    const QPixmap shown = image->pixmap(Qt::ReturnByValue);
    if (shown.isNull())
        return 0;
    for (int face = 1; face <= 6; ++face) {
        if (QPixmap(QStringLiteral(":/images/accel/%1.png").arg(face)).cacheKey() ==
            shown.cacheKey())
            return face;
    }
    return -1;
}

// Caption, enabled state, instruction and picture, for whole-page comparisons.
QStringList pageState(const GcsHarness &gcs)
{
    const auto *button = gcs.widget<QPushButton>("accelCalibrateButton");
    return {button->text(), QLatin1String(button->isEnabled() ? "enabled" : "disabled"),
            gcs.widget<QLabel>("outputLabel")->text(),
            QStringLiteral("picture %1").arg(shownPicture(gcs.widget<QLabel>("accelImage")))};
}

QStringList asking(const FaceStep &face)
{
    return {QStringLiteral("Next"), QStringLiteral("enabled"),
            QString::fromLatin1(face.instruction), QStringLiteral("picture %1").arg(face.picture)};
}

const QStringList kSucceeded{"Start Calibrate", "disabled", "Calibrate Succeed!", "picture 0"};

// Odd acks 1 to 11, one per face, then the closing round 0 to 7.
QStringList acksOfFullRun()
{
    QStringList acks;
    for (int step = 1; step <= 11; step += 2)
        acks << QStringLiteral("ack %1").arg(step);
    for (int closing = 0; closing <= 7; ++closing)
        acks << QStringLiteral("ack %1").arg(closing);
    return acks;
}
} // namespace

class AccelPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { gcs.reset(); }

    void initialPage();
    void startSendsCalibrationCommand();
    void secondStartBeforeAnyPromptRestarts();
    void sixFacesAcknowledgedThenSuccess();
    void sixFacesWithSimulatedFc();
    void failedCalibrationCanBeRetriedAfterReconnecting();
    void prompt_data();
    void prompt();
    void countdownRunsOutAfterFortyTicks();
    void acknowledgementResetsCountdown();
    void timerDrivesTheCountdown();
    void endText_data();
    void endText();
    void otherNoticeChangesNothing();

private:
    void fcSays(const QByteArray &text)
    {
        gcs->deliver(statusTextFrame(MavSeverity::Notice, text));
    }
    void tick(int times);
    QPushButton *button() const { return gcs->widget<QPushButton>("accelCalibrateButton"); }
    QString countdown() const { return gcs->widget<QLabel>("coutdownLabel")->text(); }
    QString instruction() const { return gcs->widget<QLabel>("outputLabel")->text(); }
    int picture() const { return shownPicture(gcs->widget<QLabel>("accelImage")); }
    // Presses the button through its slot, which works while it is disabled.
    QStringList pressBySlot();

    std::unique_ptr<GcsHarness> gcs;
};

void AccelPageTest::init()
{
    gcs.reset(new GcsHarness);
    gcs->connectToFc();
}

void AccelPageTest::tick(int times)
{
    for (int i = 0; i < times; ++i)
        gcs->window().accelPage().countdownTimerTick();
}

QStringList AccelPageTest::pressBySlot()
{
    gcs->window().accelPage().accelCalibrateButtonClicked();
    return gcs->sentDescriptions();
}

void AccelPageTest::initialPage()
{
    QVERIFY(button()->isEnabled());
    QCOMPARE(button()->text(), QStringLiteral("Calibrate"));
    QCOMPARE(gcs->widget<QTextEdit>("accelHelp")->toPlainText(),
             QStringLiteral("1.In order to fly better for your multi-rotors, please make sure you "
                            "doing the six faces calibration right. You better to calibrate the "
                            "six faces of a standard hexahedron.  "));
}

void AccelPageTest::startSendsCalibrationCommand()
{
    gcs->click("accelCalibrateButton");
    const QList<WireFrame> frames = gcs->sent();
    QCOMPARE(describeAll(frames), QStringList{QStringLiteral("cmd 241")});
    const MavLinkMessage &msg = frames[0].msg;
    for (int param = 1; param <= 7; ++param)
        QCOMPARE(frames[0].commandParam(param), param == 5 ? 1.0f : 0.0f);
    QCOMPARE(int(msg.payload[30]), 1); // target system
    QCOMPARE(int(msg.payload[31]), 1); // target component
    QCOMPARE(int(msg.payload[32]), 0); // confirmation

    QCOMPARE(countdown(), QStringLiteral("Time left: 30 Second"));
    QCOMPARE(button()->text(), QStringLiteral("Calibrate"));
    QVERIFY(button()->isEnabled());
}

// Without a prompt the step stays 0, so the button starts again instead of
// acknowledging.
void AccelPageTest::secondStartBeforeAnyPromptRestarts()
{
    gcs->click("accelCalibrateButton");
    tick(5);
    gcs->click("accelCalibrateButton");
    QCOMPARE(gcs->sentDescriptions(), (QStringList{"cmd 241", "cmd 241"}));
    QCOMPARE(countdown(), QStringLiteral("Time left: 30 Second"));
    tick(1);
    QCOMPARE(countdown(), QStringLiteral("Time left: 40second"));
}

void AccelPageTest::sixFacesAcknowledgedThenSuccess()
{
    gcs->click("accelCalibrateButton");
    QStringList wire = gcs->sentDescriptions();
    for (const FaceStep &face : kSixFaces) {
        fcSays(face.prompt);
        QCOMPARE(pageState(*gcs), asking(face));
        gcs->click("accelCalibrateButton");
        const QList<WireFrame> acks = gcs->sent();
        for (const WireFrame &ack : acks)
            QCOMPARE(ack.ackResult(), 1);
        wire << describeAll(acks);
    }
    QCOMPARE(wire, QStringList{QStringLiteral("cmd 241")} + acksOfFullRun());
    QCOMPARE(countdown(), QString());
    QCOMPARE(button()->text(), QStringLiteral("Start Calibrate"));

    fcSays("Calibration successful");
    QCOMPARE(pageState(*gcs), kSucceeded);
    QCOMPARE(gcs->sentDescriptions(), QStringList());
}

// The simulated FC words its own prompts and moves on with each ack.
void AccelPageTest::sixFacesWithSimulatedFc()
{
    SimulatedFc fc;
    fc.gcs.click("accelCalibrateButton");
    for (const FaceStep &face : kSixFaces) {
        QTRY_COMPARE(pageState(fc.gcs), asking(face));
        fc.gcs.click("accelCalibrateButton");
    }
    QTRY_COMPARE(pageState(fc.gcs), kSucceeded);
    QCOMPARE(fc.sentToFc(), QStringList{QStringLiteral("cmd 241")} + acksOfFullRun());
    QVERIFY(fc.sim.accelCalibrated());
}

// After an end text the button is disabled until the link comes up again.
void AccelPageTest::failedCalibrationCanBeRetriedAfterReconnecting()
{
    SimulatedFc fc;
    fc.sim.setAccelCalibrationFails(true);
    fc.gcs.click("accelCalibrateButton");
    for (const FaceStep &face : kSixFaces) {
        QTRY_COMPARE(pageState(fc.gcs), asking(face));
        fc.gcs.click("accelCalibrateButton");
    }
    QTRY_COMPARE(fc.gcs.widget<QLabel>("outputLabel")->text(), QStringLiteral("Calibrate Failed!"));
    QPushButton *button = fc.gcs.widget<QPushButton>("accelCalibrateButton");
    QVERIFY(!button->isEnabled());

    fc.gcs.action("actionDisconnect")->trigger();
    QVERIFY(!button->isEnabled());
    fc.sentToFc();
    fc.gcs.action("actionConnect")->trigger();
    QVERIFY(button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Start Calibrate"));
    QCOMPARE(fc.sentToFc(), QStringList{QStringLiteral("get ZEFAVERSION")});

    fc.sim.setAccelCalibrationFails(false);
    button->click();
    QCOMPARE(fc.sentToFc(), QStringList{QStringLiteral("cmd 241")});
    QTRY_COMPARE(pageState(fc.gcs), asking(kSixFaces[0]));
}

void AccelPageTest::prompt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("face");
    QTest::addColumn<QStringList>("nextPress");
    const QStringList acknowledges{QStringLiteral("ack 1")};
    const QStringList starts{QStringLiteral("cmd 241")};

    QTest::newRow("no keyword") << QByteArray("Place vehicle and press any key") << "Next" << false
                                << QString() << 0 << acknowledges;
    QTest::newRow("DOWN and UP: last row wins")
        << QByteArray("Place nose DOWN, then UP and press any key") << "Next" << true
        << "Please place the copter in vertical with the front side up" << 5 << acknowledges;
    QTest::newRow("level and BACK")
        << QByteArray("Place level on its BACK and press any key") << "Next" << true
        << "Please place the copter in horizontal with the bottom "
           "side up"
        << 6 << acknowledges;
    QTest::newRow("keyword in other case")
        << QByteArray("Place vehicle on its left side and press any key") << "Next" << false
        << QString() << 0 << acknowledges;
    QTest::newRow("no key prompt")
        << QByteArray("Place vehicle LEFT") << "Calibrate" << true << QString() << 0 << starts;
    QTest::newRow("place in other case") << QByteArray("place vehicle LEFT and press any key")
                                         << "Calibrate" << true << QString() << 0 << starts;
}

// The page's reaction to one text while idle, and whether the next press
// acknowledges (a prompt was counted) or starts again.
void AccelPageTest::prompt()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(QString, shown);
    QFETCH(int, face);
    QFETCH(QStringList, nextPress);

    fcSays(text);
    QCOMPARE(button()->text(), caption);
    QCOMPARE(button()->isEnabled(), enabled);
    QCOMPARE(instruction(), shown);
    QCOMPARE(picture(), face);
    QCOMPARE(pressBySlot(), nextPress);
}

void AccelPageTest::countdownRunsOutAfterFortyTicks()
{
    gcs->click("accelCalibrateButton");
    fcSays(kSixFaces[0].prompt);
    gcs->click("accelCalibrateButton");
    QCOMPARE(gcs->sentDescriptions(), (QStringList{"cmd 241", "ack 1"}));

    for (int left = 40; left >= 2; --left) {
        tick(1);
        QCOMPARE(countdown(), QStringLiteral("Time left: %1second").arg(left));
    }
    tick(1);
    QCOMPARE(countdown(), QStringLiteral("Time out, Please try again"));
    QCOMPARE(button()->text(), QStringLiteral("Start calibrate"));
    QVERIFY(button()->isEnabled());
    // Nothing goes to the FC, and the next press starts a new run.
    QCOMPARE(gcs->sentDescriptions(), QStringList());
    QCOMPARE(pressBySlot(), QStringList{QStringLiteral("cmd 241")});
}

void AccelPageTest::acknowledgementResetsCountdown()
{
    gcs->click("accelCalibrateButton");
    fcSays(kSixFaces[0].prompt);
    tick(10);
    QCOMPARE(countdown(), QStringLiteral("Time left: 31second"));
    gcs->click("accelCalibrateButton");
    tick(1);
    QCOMPARE(countdown(), QStringLiteral("Time left: 40second"));
}

// The only test that waits for the real timer: it must tick once a second
// from the start and stay silent after the time-out.
void AccelPageTest::timerDrivesTheCountdown()
{
    gcs->click("accelCalibrateButton");
    QTRY_COMPARE_WITH_TIMEOUT(countdown(), QStringLiteral("Time left: 40second"), 5000);
    tick(39);
    QCOMPARE(countdown(), QStringLiteral("Time out, Please try again"));
    pumpEvents(1200);
    QCOMPARE(countdown(), QStringLiteral("Time out, Please try again"));
}

void AccelPageTest::endText_data()
{
    QTest::addColumn<bool>("running");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("success") << true << QByteArray("Calibration successful")
                             << "Calibrate Succeed!";
    QTest::newRow("failure") << true << QByteArray("Calibration FAILED") << "Calibrate Failed!";
    QTest::newRow("both: failure wins")
        << true << QByteArray("Calibration successful? no, FAILED") << "Calibrate Failed!";
    QTest::newRow("stray failure while idle")
        << false << QByteArray("Mag cal FAILED") << "Calibrate Failed!";
}

void AccelPageTest::endText()
{
    QFETCH(bool, running);
    QFETCH(QByteArray, text);
    QFETCH(QString, verdict);
    if (running) {
        gcs->click("accelCalibrateButton");
        fcSays(kSixFaces[1].prompt);
        QCOMPARE(picture(), 2);
        gcs->sent();
    }

    fcSays(text);
    QCOMPARE(instruction(), verdict);
    QCOMPARE(picture(), 0);
    QCOMPARE(countdown(), QString());
    QCOMPARE(button()->text(), QStringLiteral("Start Calibrate"));
    QVERIFY(!button()->isEnabled());
    QCOMPARE(gcs->sentDescriptions(), QStringList());
    QCOMPARE(pressBySlot(), QStringList{QStringLiteral("cmd 241")});
}

void AccelPageTest::otherNoticeChangesNothing()
{
    gcs->click("accelCalibrateButton");
    fcSays(kSixFaces[2].prompt);
    gcs->sent();

    fcSays("Calibration started: successful soon");
    gcs->deliver(statusTextFrame(4, "Calibration FAILED"));
    QCOMPARE(instruction(), QString::fromLatin1(kSixFaces[2].instruction));
    QCOMPARE(picture(), 3);
    QVERIFY(countdown().startsWith(QLatin1String("Time left: ")));
    QVERIFY(button()->isEnabled());
    QCOMPARE(pressBySlot(), QStringList{QStringLiteral("ack 1")});
}

QTEST_MAIN(AccelPageTest)
#include "tst_accelpage.moc"
