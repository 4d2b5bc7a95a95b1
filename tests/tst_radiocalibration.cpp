#include "support/gcsharness.h"
#include "support/modalboxcloser.h"
#include "support/simulatorwait.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include <memory>

namespace {

const QString kStartPrompt = QStringLiteral(
    "Click 'Start Calibrate',then move all sticks and switches to their extreme positions");
const QString kMiddlePrompt = QStringLiteral("Place all sticks in the middle");
const QString kTableHead = QStringLiteral(" Num\tMinmium\tMiddle\tMaxmium\n--------------------\n");

QList<unsigned short> sticks(unsigned short value)
{
    return QList<unsigned short>()
           << value << value << value << value << value << value << value << value;
}

QStringList rangeWrites(int channel, const QString &low, const QString &high)
{
    return {QStringLiteral("set RC%1_MIN=%2 (9)").arg(channel).arg(low),
            QStringLiteral("set RC%1_MAX=%2 (9)").arg(channel).arg(high)};
}

// Both clicks of one calibration, with an action while each box is open:
// 0 the start prompt, 1 the middle prompt, 2 the result.
QList<SeenBox> calibrate(GcsHarness &h, const ModalBoxCloser::WhileOpen &whileOpen = {})
{
    ModalBoxCloser closer(whileOpen);
    h.click("radioCalibrateButton");
    h.click("radioCalibrateButton");
    return closer.boxes();
}

// The FC end of the line: either the test writing RC frames itself, or the
// simulated FC streaming the sticks it is given.
class FcEnd
{
public:
    FcEnd(GcsHarness &h, bool simulated) : h(h)
    {
        if (simulated)
            startSimulator();
        else
            h.connectToFc();
    }

    FcSimulator *simulator() const { return sim.get(); }

    // Returns once the assistant shows the new positions.
    void moveSticks(const QList<unsigned short> &channels)
    {
        if (!sim) {
            h.deliver(rcChannelsFrame(channels));
            return;
        }
        sim->setRadio(QVector<std::uint16_t>(channels.begin(), channels.end()));
        QTRY_COMPARE(shownChannels(), describe(channels));
    }

    // What the assistant wrote since the last call.
    QStringList writes()
    {
        if (!sim)
            return h.sentDescriptions();
        const QStringList out = receivedBySimulator(*sim);
        sim->clearReceived();
        return out;
    }

private:
    void startSimulator()
    {
        sim.reset(new FcSimulator);
        link.reset(new SimulatorPtyLink(h.line().masterFd(), *sim));
        sim->setRadio(QVector<std::uint16_t>(8, 1500));
        h.action("actionConnect")->trigger();
        h.click("radioReadButton");
        QTRY_COMPARE(shownChannels(), describe(sticks(1500)));
        QVERIFY(h.port()->isOpen());
        writes();
    }

    // The numbers of the seven channels the radio tab shows.
    QString shownChannels() const
    {
        QStringList numbers;
        for (int i = 0; i < 7; ++i)
            numbers << h.widget<QLabel>(qPrintable(QStringLiteral("rcdataLabel%1").arg(i)))->text();
        return numbers.join(QLatin1Char(' '));
    }

    static QString describe(QList<unsigned short> channels)
    {
        channels.removeAt(5);
        QStringList numbers;
        for (unsigned short value : channels)
            numbers << QString::number(value);
        return numbers.join(QLatin1Char(' '));
    }

    GcsHarness &h;
    std::unique_ptr<FcSimulator> sim;
    std::unique_ptr<SimulatorPtyLink> link;
};

} // namespace

class RadioCalibrationTest : public QObject
{
    Q_OBJECT

private slots:
    void capturesWhileBoxesAreOpenAndWritesMovedChannels_data();
    void capturesWhileBoxesAreOpenAndWritesMovedChannels();
    void withoutInputShowsCentresAndWritesNothing();
    void sticksMovedBeforeStartAreNotCaptured();
    void secondRunStartsFromTheCentreAgain();
    void buttonCaptionFollowsTheRun();
};

void RadioCalibrationTest::capturesWhileBoxesAreOpenAndWritesMovedChannels_data()
{
    QTest::addColumn<bool>("simulated");
    QTest::newRow("frames on the line") << false;
    QTest::newRow("simulated FC") << true;
}

void RadioCalibrationTest::capturesWhileBoxesAreOpenAndWritesMovedChannels()
{
    QFETCH(bool, simulated);
    GcsHarness h;
    FcEnd fc(h, simulated);
    const auto whileOpen = [&fc](int box) {
        if (box == 0) {
            fc.moveSticks({1000, 987, 1100, 1050, 1000, 1200, 1100, 1500});
            fc.moveSticks({2000, 2011, 1900, 1950, 2000, 1800, 1900, 1500});
        } else if (box == 1) {
            fc.moveSticks({900, 1500, 1500, 1500, 1500, 1500, 1500, 1500});
            fc.moveSticks({1500, 1499, 1100, 1502, 1503, 1504, 1505, 1500});
        } else {
            // Frozen: none of this may reach the ranges.
            fc.moveSticks({800, 800, 800, 800, 800, 800, 800, 2200});
        }
    };
    const QList<SeenBox> boxes = calibrate(h, whileOpen);

    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes[0].title, QStringLiteral("Attention"));
    QCOMPARE(boxes[0].text, kStartPrompt);
    QCOMPARE(boxes[1].title, QStringLiteral("Attention"));
    QCOMPARE(boxes[1].text, kMiddlePrompt);
    QCOMPARE(boxes[2].title, QStringLiteral("Result"));
    QCOMPARE(boxes[2].text, kTableHead + QStringLiteral("1\t900\t1500\t2000\n"
                                                        "2\t987\t1499\t2011\n"
                                                        "3\t1100\t1100\t1900\n"
                                                        "4\t1050\t1502\t1950\n"
                                                        "5\t1000\t1503\t2000\n"
                                                        "6\t1100\t1505\t1900\n"
                                                        "7\t1500\t1500\t1500\n"
                                                        "8\t1200\t1504\t1800\n"));
    // Channel 8 never left the centre: its range stays as the FC has it.
    const QStringList expected = rangeWrites(1, "900", "2000") + rangeWrites(2, "987", "2011") +
                                 rangeWrites(3, "1100", "1900") + rangeWrites(4, "1050", "1950") +
                                 rangeWrites(5, "1000", "2000") + rangeWrites(6, "1200", "1800") +
                                 rangeWrites(7, "1100", "1900");
    QCOMPARE(fc.writes(), expected);
    if (FcSimulator *sim = fc.simulator()) {
        QCOMPARE(sim->parameter(QStringLiteral("RC6_MIN")), 1200.0f);
        QCOMPARE(sim->parameter(QStringLiteral("RC8_MIN")), 1100.0f);
        QCOMPARE(sim->parameter(QStringLiteral("RC8_MAX")), 1900.0f);
        QTRY_COMPARE(h.widget<QStatusBar>("statusBar")->currentMessage(),
                     QStringLiteral("Radio calibration saved: 14 values confirmed by the FC"));
    }
}

void RadioCalibrationTest::withoutInputShowsCentresAndWritesNothing()
{
    GcsHarness h;
    h.connectToFc();
    const QList<SeenBox> boxes = calibrate(h);
    QCOMPARE(boxes.size(), 3);
    QString rows;
    for (int row = 1; row <= 8; ++row)
        rows += QStringLiteral("%1\t1500\t0\t1500\n").arg(row);
    QCOMPARE(boxes[2].text, kTableHead + rows);
    QCOMPARE(h.sentDescriptions(), QStringList());
}

void RadioCalibrationTest::sticksMovedBeforeStartAreNotCaptured()
{
    GcsHarness h;
    h.connectToFc();
    h.deliver(rcChannelsFrame(sticks(900)));
    h.deliver(rcChannelsFrame(sticks(2100)));
    h.deliver(rcChannelsFrame({1400, 1500, 1500, 1500, 1500, 1500, 1500, 1500}));
    const QList<SeenBox> boxes = calibrate(h, [&h](int box) {
        if (box == 0)
            h.deliver(rcChannelsFrame({1500, 1500, 1500, 1500, 1500, 1500, 1500, 1600}));
    });
    QCOMPARE(boxes.size(), 3);
    QVERIFY2(boxes[2].text.startsWith(kTableHead + QStringLiteral("1\t1500\t1500\t1500\n")),
             qPrintable(boxes[2].text));
    QCOMPARE(h.sentDescriptions(), rangeWrites(8, "1500", "1600"));
}

void RadioCalibrationTest::secondRunStartsFromTheCentreAgain()
{
    GcsHarness h;
    h.connectToFc();
    calibrate(h, [&h](int box) {
        if (box == 0)
            h.deliver(rcChannelsFrame(sticks(1000)) + rcChannelsFrame(sticks(2000)));
    });
    h.sent();
    calibrate(h, [&h](int box) {
        if (box == 0)
            h.deliver(rcChannelsFrame({1400, 1500, 1500, 1500, 1500, 1500, 1500, 1500}) +
                      rcChannelsFrame({1600, 1500, 1500, 1500, 1500, 1500, 1500, 1500}));
    });
    QCOMPARE(h.sentDescriptions(), rangeWrites(1, "1400", "1600"));
}

void RadioCalibrationTest::buttonCaptionFollowsTheRun()
{
    GcsHarness h;
    auto *button = h.widget<QPushButton>("radioCalibrateButton");
    QStringList seenWhileOpen;
    ModalBoxCloser closer([&](int) {
        seenWhileOpen << QStringLiteral("%1 %2").arg(button->text()).arg(button->isEnabled());
    });
    QCOMPARE(button->text(), QStringLiteral("Calibrate"));
    h.click("radioCalibrateButton");
    QCOMPARE(button->text(), QStringLiteral("Calibrate Complete"));
    QVERIFY(button->isEnabled());
    h.click("radioCalibrateButton");
    QCOMPARE(button->text(), QStringLiteral("Start Calibbrate"));
    QVERIFY(button->isEnabled());
    QCOMPARE(seenWhileOpen,
             QStringList({"Calibrate Complete 0", "Calibrate Complete 0", "Calibrate Complete 0"}));
}

QTEST_MAIN(RadioCalibrationTest)
#include "tst_radiocalibration.moc"
