#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "fuzz/seeds.h"
#include "support/wire.h"

#include "mavlink/mavlinkbridge.h"
#include "mavlink/mavlinkparser.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtTest>

namespace {

// What the receive-path corpus must reach: every decoded id, every name the
// dispatcher acts on, every key the accelerometer and self-test pages match.
const int kHandledIds[] = {MavMsg::Heartbeat,     MavMsg::SysStatus, MavMsg::ParamValue,
                           MavMsg::RawImu,        MavMsg::Attitude,  MavMsg::RcChannelsRaw,
                           MavMsg::SensorOffsets, MavMsg::StatusText};
const char *const kDispatchedNames[] = {Fc::kFrameParam,
                                        Fc::kShapeParam,
                                        Fc::kFirmwareVersionParam,
                                        Fc::kReceiverTypeParam,
                                        Fc::kVoltageMultiplierParam,
                                        Fc::kBatteryFailsafeParam,
                                        Fc::kBatteryWarningParam,
                                        Fc::kBatteryFailsafeVoltageParam,
                                        Fc::kRollRateDParam,
                                        Fc::kPitchRateDParam,
                                        Fc::kYawRatePParam,
                                        Fc::kFeedForwardParam,
                                        Fc::kChannel8OptionParam,
                                        Fc::kReturnAltitudeParam};

QList<const char *> accelKeys()
{
    QList<const char *> keys = {Fc::kAccelPromptStart, Fc::kAccelPromptEnd, Fc::kAccelSucceeded,
                                Fc::kAccelFailed};
    for (const Fc::AccelFace &face : Fc::kAccelFaces)
        keys << face.keyword;
    return keys;
}

// What the real decoder makes of a set of seeds.
struct Decoded
{
    QSet<int> ids;
    QSet<QString> names;
    QStringList noticeTexts;
    QStringList errorTexts;
};

Decoded decode(const QList<Seed> &seeds)
{
    Decoded out;
    MavLinkBridge bridge;
    QObject::connect(&bridge, &MavLinkBridge::setParam,
                     [&](QString &name, const QVariant &) { out.names << name; });
    QObject::connect(&bridge, &MavLinkBridge::textMessageReceived,
                     [&](int, int, int severity, const QString &text) {
                         (severity == MavSeverity::Notice ? out.noticeTexts : out.errorTexts)
                             << text;
                     });
    MavLinkParser parser;
    for (const Seed &seed : seeds) {
        for (char byte : seed.bytes) {
            parser.parseByte(std::uint8_t(byte), [&](const MavLinkMessage &msg) {
                out.ids << msg.msgid;
                bridge.handleMessage(&msg);
            });
        }
    }
    return out;
}

bool anyContains(const QStringList &texts, const char *key)
{
    for (const QString &text : texts) {
        if (text.contains(QLatin1String(key)))
            return true;
    }
    return false;
}

QList<Seed> seedsOf(const QString &target)
{
    return target == QLatin1String("parser") ? parserSeeds() : receivePathSeeds();
}

} // namespace

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void committedCorpusIsWhatTheGeneratorWrites_data();
    void committedCorpusIsWhatTheGeneratorWrites();
    void everyReceiveSeedIsOneValidFrame();
    void receiveSeedsReachEveryHandledInput();
    void parserSeedsHoldValidFrames();
};

void TestFuzzCorpus::committedCorpusIsWhatTheGeneratorWrites_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("receive") << QStringLiteral("receive");
    QTest::newRow("parser") << QStringLiteral("parser");
}

// A stale corpus would quietly start the fuzzer from frames that no longer
// pass the checksum.
void TestFuzzCorpus::committedCorpusIsWhatTheGeneratorWrites()
{
    QFETCH(QString, target);
    const QString folder = QStringLiteral(ZEFA_SOURCE_DIR "/fuzz/corpus/") + target;
    QStringList expectedNames;
    for (const Seed &seed : seedsOf(target)) {
        expectedNames << seed.name;
        QFile file(QDir(folder).filePath(seed.name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll().toHex(' '), seed.bytes.toHex(' '));
    }
    expectedNames.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expectedNames);
}

void TestFuzzCorpus::everyReceiveSeedIsOneValidFrame()
{
    for (const Seed &seed : receivePathSeeds()) {
        const QList<WireFrame> frames = parseFrames(seed.bytes);
        QVERIFY2(frames.size() == 1, qPrintable(seed.name));
        QCOMPARE(frames[0].bytes, seed.bytes);
    }
}

void TestFuzzCorpus::receiveSeedsReachEveryHandledInput()
{
    const Decoded decoded = decode(receivePathSeeds());
    for (int id : kHandledIds)
        QVERIFY2(decoded.ids.contains(id), qPrintable(QString::number(id)));
    for (const char *name : kDispatchedNames)
        QVERIFY2(decoded.names.contains(QLatin1String(name)), name);
    for (const char *key : accelKeys())
        QVERIFY2(anyContains(decoded.noticeTexts, key), key);
    for (const char *key : Fc::kPreArmProblems)
        QVERIFY2(anyContains(decoded.errorTexts, key), key);
    QVERIFY(anyContains(decoded.errorTexts, Fc::kPreArm));
}

void TestFuzzCorpus::parserSeedsHoldValidFrames()
{
    for (const Seed &seed : parserSeeds())
        QVERIFY2(!parseFrames(seed.bytes).isEmpty(), qPrintable(seed.name));
}

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
