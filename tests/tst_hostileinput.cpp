#include "fuzz/seeds.h"
#include "support/gcsharness.h"
#include "support/modalboxcloser.h"

#include "mavlink/mavlinkbridge.h"

#include <QSpinBox>
#include <QtTest>

#include <limits>

// Received bytes are untrusted: inputs the fuzzer found harmful, replayed
// through the whole receive path of a real window, and the rule that
// nothing received ever opens a box.
class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void nonFiniteReturnHeightLeavesTheSpinBox_data();
    void nonFiniteReturnHeightLeavesTheSpinBox();
    void noReceivedFrameOpensABox();
};

void TestHostileInput::nonFiniteReturnHeightLeavesTheSpinBox_data()
{
    QTest::addColumn<QByteArray>("frame");
    // As the fuzzer wrote it: PARAM_VALUE "RTL_ALT" = NaN.
    QTest::newRow("NaN") << fromHex(
        "eb 19 00 01 01 16 00 00 c0 7f 01 00 00 00 52 54 4c 5f 41 4c 54 00 00 00 00 00 00 00 00 00 "
        "06 7d 59");
    QTest::newRow("infinity") << paramValueFrame(QStringLiteral("RTL_ALT"),
                                                 std::numeric_limits<float>::infinity());
    QTest::newRow("minus infinity")
        << paramValueFrame(QStringLiteral("RTL_ALT"), -std::numeric_limits<float>::infinity());
}

// Converting such a value to int is undefined; the height must stay as
// the last finite report left it.
void TestHostileInput::nonFiniteReturnHeightLeavesTheSpinBox()
{
    QFETCH(QByteArray, frame);
    GcsHarness gcs;
    gcs.window().receiveBytes(paramValueFrame(QStringLiteral("RTL_ALT"), 4500));
    QCOMPARE(gcs.widget<QSpinBox>("advRTHalt")->value(), 45);
    gcs.window().receiveBytes(frame);
    QCOMPARE(gcs.widget<QSpinBox>("advRTHalt")->value(), 45);
}

// Boxes come from clicks and from losing the port, never from data: a box
// opened by a frame would stall the receive loop behind a user's click.
// Every seed of the fuzz corpus goes through an open link.
void TestHostileInput::noReceivedFrameOpensABox()
{
    GcsHarness gcs;
    ModalBoxCloser boxes;
    for (const Seed &seed : receivePathSeeds()) {
        if (!gcs.bridge().isPortAttached())
            gcs.connectToFc();
        gcs.deliver(seed.bytes);
        QVERIFY2(boxes.boxes().isEmpty(),
                 qPrintable(seed.name + QLatin1String(": ") + boxes.boxes().value(0).text));
    }
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
