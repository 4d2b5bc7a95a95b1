#include "support/gcsharness.h"
#include "support/simulatorwait.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"

#include <QRadioButton>
#include <QSerialPort>
#include <QTextEdit>
#include <QtTest>

namespace {

const char *const kFrameButtons[] = {"x4RadioButton",    "plus4RadioButton", "x6RadioButton",
                                     "plus6RadioButton", "y6aRadioButton",   "y6bRadioButton",
                                     "plus8RadioButton", "v8RadioButton",    "x8RadioButton"};

QStringList checkedFrameButtons(const GcsHarness &h)
{
    QStringList names;
    for (const char *name : kFrameButtons) {
        if (h.widget<QRadioButton>(name)->isChecked())
            names << QString::fromLatin1(name);
    }
    return names;
}

void deliverPair(GcsHarness &h, float shape, float frame)
{
    h.deliver(paramValueFrame(QStringLiteral("SHAPE"), shape, ParamType::Int32) +
              paramValueFrame(QStringLiteral("FRAME"), frame, ParamType::Int32));
}

QStringList pairWrites(int shape, int frame)
{
    return {QStringLiteral("set SHAPE=%1 (6)").arg(shape),
            QStringLiteral("set FRAME=%1 (6)").arg(frame)};
}

} // namespace

class FramePageTest : public QObject
{
    Q_OBJECT

private slots:
    void readAsksForFrameShapeAndVersionInOrder();
    void selectionThenSaveWritesItsPair_data() { addFrameRows(); }
    void selectionThenSaveWritesItsPair();
    void receivedPairChecksItsDiagram_data() { addFrameRows(); }
    void receivedPairChecksItsDiagram();
    void eachArrivalChecksWithTheOtherStoredValue();
    void halfKnownPairChecksNothing();
    void unknownPairKeepsTheCheckAndIsWrittenBack_data();
    void unknownPairKeepsTheCheckAndIsWrittenBack();
    void saveWritesNothingUntilBothValuesAreSet();
    void readAnswersReplaceAnUnsavedSelection();
    void readFromTheSimulatedFcKeepsTheLinkOnlyForVersion20_data();
    void readFromTheSimulatedFcKeepsTheLinkOnlyForVersion20();
    void savedPairReachesTheSimulatedFc();
    void helpTextIsReadOnlyAndEndsWithTheSupportAddress();

private:
    static void addFrameRows();
};

void FramePageTest::addFrameRows()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("frame");
    const int pairs[][2] = {{1, 1},  {1, 0}, {3, 1}, {3, 0}, {4, 0},
                            {4, 10}, {5, 0}, {5, 1}, {5, 2}};
    for (int i = 0; i < 9; ++i) {
        QTest::newRow(kFrameButtons[i])
            << QString::fromLatin1(kFrameButtons[i]) << pairs[i][0] << pairs[i][1];
    }
}

void FramePageTest::readAsksForFrameShapeAndVersionInOrder()
{
    GcsHarness h;
    h.connectToFc();
    h.click("frameReadButton");
    QCOMPARE(h.sentDescriptions(), QStringList({"get FRAME", "get SHAPE", "get ZEFAVERSION"}));
}

void FramePageTest::selectionThenSaveWritesItsPair()
{
    QFETCH(QString, button);
    QFETCH(int, shape);
    QFETCH(int, frame);
    GcsHarness h;
    h.connectToFc();
    h.click(button.toLatin1().constData());
    QVERIFY2(h.sentDescriptions().isEmpty(), "a selection alone must not write");
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), pairWrites(shape, frame));
}

void FramePageTest::receivedPairChecksItsDiagram()
{
    QFETCH(QString, button);
    QFETCH(int, shape);
    QFETCH(int, frame);
    GcsHarness h;
    h.connectToFc();
    deliverPair(h, shape, frame);
    QCOMPARE(checkedFrameButtons(h), QStringList{button});
    QVERIFY2(h.sentDescriptions().isEmpty(), "showing the FC's frame must not write it back");
}

void FramePageTest::eachArrivalChecksWithTheOtherStoredValue()
{
    GcsHarness h;
    h.connectToFc();
    deliverPair(h, 5, 0);
    QCOMPARE(checkedFrameButtons(h), QStringList{"plus8RadioButton"});
    h.deliver(paramValueFrame(QStringLiteral("FRAME"), 1, ParamType::Int32));
    QCOMPARE(checkedFrameButtons(h), QStringList{"v8RadioButton"});
    h.deliver(paramValueFrame(QStringLiteral("SHAPE"), 1, ParamType::Int32));
    QCOMPARE(checkedFrameButtons(h), QStringList{"x4RadioButton"});
}

void FramePageTest::halfKnownPairChecksNothing()
{
    GcsHarness h;
    h.connectToFc();
    h.deliver(paramValueFrame(QStringLiteral("SHAPE"), 5, ParamType::Int32));
    QCOMPARE(checkedFrameButtons(h), QStringList());
}

void FramePageTest::unknownPairKeepsTheCheckAndIsWrittenBack_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("frame");
    QTest::newRow("shape 2") << 2 << 0;
    QTest::newRow("shape 1 frame 10") << 1 << 10;
    QTest::newRow("negative frame") << 4 << -1;
}

void FramePageTest::unknownPairKeepsTheCheckAndIsWrittenBack()
{
    QFETCH(int, shape);
    QFETCH(int, frame);
    GcsHarness h;
    h.connectToFc();
    deliverPair(h, 4, 10);
    deliverPair(h, shape, frame);
    QCOMPARE(checkedFrameButtons(h), QStringList{"y6bRadioButton"});
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), pairWrites(shape, frame));
}

void FramePageTest::saveWritesNothingUntilBothValuesAreSet()
{
    GcsHarness h;
    h.connectToFc();
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), QStringList());
    h.deliver(paramValueFrame(QStringLiteral("FRAME"), 1, ParamType::Int32));
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), QStringList());
    h.deliver(paramValueFrame(QStringLiteral("SHAPE"), 3, ParamType::Int32));
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), pairWrites(3, 1));
}

void FramePageTest::readAnswersReplaceAnUnsavedSelection()
{
    GcsHarness h;
    h.connectToFc();
    h.click("y6bRadioButton");
    deliverPair(h, 5, 2);
    QCOMPARE(checkedFrameButtons(h), QStringList{"x8RadioButton"});
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), pairWrites(5, 2));
}

void FramePageTest::readFromTheSimulatedFcKeepsTheLinkOnlyForVersion20_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("20") << 20;
    QTest::newRow("21") << 21;
}

// The FC reports 20 at connect, then another version on the frame page's
// Read, as after a firmware update behind the assistant's back.
void FramePageTest::readFromTheSimulatedFcKeepsTheLinkOnlyForVersion20()
{
    QFETCH(int, version);
    GcsHarness h;
    FcSimulator sim;
    SimulatorPtyLink link(h.line().masterFd(), sim);
    // Version 20 shows the 8-rotor frames again: the sign that it was handled.
    QRadioButton *x8 = h.widget<QRadioButton>("x8RadioButton");
    x8->hide();
    h.action("actionConnect")->trigger();
    QTRY_VERIFY(!x8->isHidden());
    QVERIFY(h.port()->isOpen());
    sim.setParameter(QStringLiteral("SHAPE"), 4);
    sim.setParameter(QStringLiteral("FRAME"), 10);
    sim.setFirmwareVersion(version);
    sim.clearReceived();
    x8->hide();

    h.click("frameReadButton");

    QTRY_COMPARE(checkedFrameButtons(h), QStringList{"y6bRadioButton"});
    QStringList expected = {"get FRAME", "get SHAPE", "get ZEFAVERSION"};
    if (version == 20) {
        QTRY_VERIFY(!x8->isHidden());
        QVERIFY(h.port()->isOpen());
    } else {
        QTRY_VERIFY(!h.port()->isOpen());
        QVERIFY(x8->isHidden());
        expected << "stream 1 rate 65535 start 1"
                 << "stream 10 rate 65535 start 1"
                 << "stream 11 rate 65535 start 1"
                 << "stream 6 rate 65535 start 1";
    }
    QCOMPARE(receivedBySimulator(sim), expected);
}

void FramePageTest::savedPairReachesTheSimulatedFc()
{
    GcsHarness h;
    FcSimulator sim;
    SimulatorPtyLink link(h.line().masterFd(), sim);
    h.action("actionConnect")->trigger();
    QTRY_VERIFY(!sim.receivedFrames().isEmpty());
    h.click("plus8RadioButton");
    h.click("frameSaveButton");
    QTRY_COMPARE(sim.parameter(QStringLiteral("FRAME")), 0.0f);
    QCOMPARE(sim.parameter(QStringLiteral("SHAPE")), 5.0f);
    QCOMPARE(receivedBySimulator(sim), QStringList({"get ZEFAVERSION"}) + pairWrites(5, 0));
}

void FramePageTest::helpTextIsReadOnlyAndEndsWithTheSupportAddress()
{
    GcsHarness h;
    const QTextEdit *help = h.widget<QTextEdit>("frameHelp");
    const QString text = help->toPlainText();
    QVERIFY(help->isReadOnly());
    QVERIFY(text.startsWith("1. ZEFA R7 series of flight controllers support Quad +"));
    QCOMPARE(text.count(QChar(0xFF0C)), 3);
    QVERIFY(text.contains(QString::fromUtf8("Quad +，Quad X，Hex +，Hex V, Hex Y, Hex IY,Oct X")));
    QCOMPARE(text.count("\n\n"), 2);
    QVERIFY(text.endsWith("please contact us at\n support@zefa-robotics.com"));
}

QTEST_MAIN(FramePageTest)
#include "tst_framepage.moc"
