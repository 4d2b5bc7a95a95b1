#include "support/gcsharness.h"

#include "fcsim/fcmessages.h"
#include "mavlink/mavlinkbridge.h"

#include <QRadioButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

namespace {

// Names of the parameter values the window's bridge decoded, in order.
class DecodedParams : public QObject
{
public:
    explicit DecodedParams(MavLinkBridge &bridge)
    {
        connect(&bridge, &MavLinkBridge::setParam, this, [this](QString &name, QVariant value) {
            names << QStringLiteral("%1=%2").arg(name).arg(double(value.toFloat()));
        });
    }
    QStringList names;
};

QByteArray paramFrame(const char *name, float value, std::uint8_t seq = 0)
{
    MavLinkMessage msg = FcMessages::paramValue(QString::fromLatin1(name), value, ParamType::Int32);
    return FcMessages::toWire(msg, seq);
}

// A firmware version the window rejects, in a frame whose last byte is the
// start byte: were that byte fed to the parser again for the reads that
// fail after the close, it would open a phantom frame that swallows the
// next connection's first frame.
QByteArray rejectedVersionEndingInStartByte()
{
    for (int version = 21; version < 40; ++version) {
        for (int seq = 0; seq < 256; ++seq) {
            const QByteArray frame = paramFrame("ZEFAVERSION", float(version), std::uint8_t(seq));
            if (std::uint8_t(frame.back()) == kMavLinkStx)
                return frame;
        }
    }
    qFatal("no such frame");
}

} // namespace

class TestReceiveLoop : public QObject
{
    Q_OBJECT

private slots:
    void frameSplitAnywhereIsDecodedOnceAfterItsLastByte();
    void framesAmongNoiseAreDecodedInOrder();
    void aBurstOfFramesInOneReadIsDecodedCompletely();
    void aBurstLargerThanTheLineArrivingBetweenReadsArrivesWhole();
    void closingFromASlotEndsTheLoopOnTheNextFailedRead();
};

void TestReceiveLoop::frameSplitAnywhereIsDecodedOnceAfterItsLastByte()
{
    GcsHarness gcs;
    gcs.connectToFc();
    DecodedParams decoded(gcs.bridge());
    const QByteArray frame = paramFrame("RC_TYPE", 2);
    auto *pwm = gcs.widget<QRadioButton>("radioRcTypePWM");
    auto *ppm = gcs.widget<QRadioButton>("radioRcTypePPM");
    for (int split = 1; split < frame.size(); ++split) {
        pwm->setChecked(true);
        gcs.deliver(frame.left(split));
        QVERIFY2(decoded.names.isEmpty(), qPrintable(QString::number(split)));
        gcs.deliver(frame.mid(split));
        QCOMPARE(decoded.names, QStringList{"RC_TYPE=2"});
        QVERIFY(ppm->isChecked());
        decoded.names.clear();
    }
}

void TestReceiveLoop::framesAmongNoiseAreDecodedInOrder()
{
    GcsHarness gcs;
    gcs.connectToFc();
    DecodedParams decoded(gcs.bridge());
    QByteArray published = paramFrame("RC_TYPE", 3);
    published[0] = char(0xFE);
    QByteArray corrupt = paramFrame("RTL_ALT", 1);
    corrupt[10] = char(corrupt[10] ^ 0x40);
    const QByteArray stream = QByteArray("\x00\xEB\x01garbage", 10) + paramFrame("FRAME", 1) +
                              published + paramFrame("SHAPE", 5) + corrupt +
                              paramFrame("RC_TYPE", 1) + QByteArray(3, char(kMavLinkStx));
    gcs.deliver(stream);
    QCOMPARE(decoded.names, (QStringList{"FRAME=1", "SHAPE=5", "RC_TYPE=1"}));
    QVERIFY(gcs.widget<QRadioButton>("radioRcTypePWM")->isChecked());
}

// Far more than one frame per read, with the last frame cut in two.
void TestReceiveLoop::aBurstOfFramesInOneReadIsDecodedCompletely()
{
    GcsHarness gcs;
    gcs.connectToFc();
    DecodedParams decoded(gcs.bridge());
    QByteArray burst;
    QStringList expected;
    for (int i = 0; i < 100; ++i) {
        burst += paramFrame("RTL_ALT", float(i), std::uint8_t(i));
        expected << QStringLiteral("RTL_ALT=%1").arg(i);
    }
    const QByteArray last = paramFrame("FRAME", 7);
    gcs.deliver(burst + last.left(5));
    QCOMPARE(decoded.names, expected);
    gcs.deliver(last.mid(5));
    QCOMPARE(decoded.names, expected << QStringLiteral("FRAME=7"));
}

// A single byte is read alone and the link waits a moment before reading
// again; a burst then comes in faster than the line can hold it (a pseudo-
// terminal takes some 20 KB). The link reads again when its wait ends,
// whether or not bytes came meanwhile.
void TestReceiveLoop::aBurstLargerThanTheLineArrivingBetweenReadsArrivesWhole()
{
    GcsHarness gcs;
    gcs.connectToFc();
    DecodedParams decoded(gcs.bridge());
    QByteArray burst;
    QStringList expected{QStringLiteral("FRAME=7")};
    for (int i = 0; i < 3000; ++i) {
        burst += paramFrame("RTL_ALT", float(i), std::uint8_t(i));
        expected << QStringLiteral("RTL_ALT=%1").arg(i);
    }
    QVERIFY(burst.size() > 64 * 1024);
    gcs.deliver(paramFrame("FRAME", 7).left(1)); // ends with a read of one byte
    gcs.deliver(paramFrame("FRAME", 7).mid(1) + burst);
    QCOMPARE(decoded.names, expected);

    gcs.deliver(paramFrame("FRAME", 3)); // read alone: the link waits again
    QTest::qWait(100);                   // longer than that: it ends on a quiet line
    gcs.deliver(paramFrame("FRAME", 4));
    QCOMPARE(decoded.names, expected << QStringLiteral("FRAME=3") << QStringLiteral("FRAME=4"));
}

// The dispatcher closes the link for any firmware but 20, from inside the
// receive loop, while more bytes of the same delivery are still counted.
void TestReceiveLoop::closingFromASlotEndsTheLoopOnTheNextFailedRead()
{
    GcsHarness gcs;
    gcs.connectToFc();
    DecodedParams decoded(gcs.bridge());
    gcs.deliver(rejectedVersionEndingInStartByte() + paramFrame("RC_TYPE", 3) +
                QByteArray(40, '\0') + paramFrame("RTL_ALT", 2000));

    QCOMPARE(decoded.names.size(), 1);
    QVERIFY(decoded.names[0].startsWith("ZEFAVERSION="));
    QVERIFY(!gcs.port()->isOpen());
    QCOMPARE(gcs.widget<QStatusBar>("statusBar")->currentMessage(), QStringLiteral("Disconnected"));
    QCOMPARE(gcs.sent().size(), 4);
    QVERIFY(!gcs.widget<QRadioButton>("radioRcTypeSBUS")->isChecked());

    gcs.connectToFc();
    decoded.names.clear();
    gcs.deliver(paramFrame("RC_TYPE", 2));
    QCOMPARE(decoded.names, QStringList{"RC_TYPE=2"});
}

QTEST_MAIN(TestReceiveLoop)
#include "tst_receiveloop.moc"
