#include "support/ptypair.h"
#include "support/wire.h"

#include "fcsim/fcmessages.h"
#include "mavlink/mavlinkbridge.h"
#include "mavlink/mavlinkparser.h"
#include "params/paramfile.h"
#include "params/paramtransfer.h"
#include "serial/fclink.h"
#include "serial/portlist.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// A backup's reading of the whole list, against an FC played by the test
// that loses exactly what each case says.

namespace {

constexpr int kRunTimeoutMs = 30000;

struct FcParam
{
    const char *name;
    float value;
    std::uint8_t type;
};

const FcParam kParams[] = {{"ZEFAVERSION", 20, 6}, {"BRAVO", -3, 2}, {"ALPHA", 0.25f, 9}};
constexpr int kCount = int(sizeof kParams / sizeof kParams[0]);

// What the line loses: indexes missing from the list, indexes never
// answered at all, and how many list requests go unheard.
struct Losses
{
    QSet<int> fromList;
    QSet<int> always;
    int listRequests = 0;
};

// Three parameters, and the losses of each case.
class ScriptedFc : public QObject
{
public:
    ScriptedFc(PtyPair &pty, const Losses &losses, int claimedCount = kCount)
        : line(pty), lost(losses), count(std::uint16_t(claimedCount))
    {
        connect(&poll, &QTimer::timeout, this, &ScriptedFc::readLine);
        poll.start(2);
    }

    QStringList heard;

private:
    void readLine()
    {
        for (char byte : line.readUntilQuiet(0)) {
            parser.parseByte(std::uint8_t(byte), [this](const MavLinkMessage &msg) {
                WireFrame frame;
                frame.msg = msg;
                heard << describe(frame);
                answer(frame);
            });
        }
    }

    void answer(const WireFrame &frame)
    {
        if (frame.msgid() == MavMsg::ParamRequestList && lost.listRequests-- <= 0) {
            for (int index = 0; index < kCount; ++index) {
                if (!lost.fromList.contains(index))
                    send(index);
            }
        } else if (frame.msgid() == MavMsg::ParamRequestRead && frame.paramName().isEmpty()) {
            send(frame.paramIndex());
        } else if (frame.msgid() == MavMsg::ParamRequestRead) {
            sendAlways(0); // the firmware version, asked by name
        }
    }

    void send(int index)
    {
        if (!lost.always.contains(index))
            sendAlways(index);
    }

    void sendAlways(int index)
    {
        const FcParam &p = kParams[index];
        MavLinkMessage msg = FcMessages::paramValue(QString::fromLatin1(p.name), p.value, p.type,
                                                    count, std::uint16_t(index));
        line.write(FcMessages::toWire(msg, sequence++));
    }

    PtyPair &line;
    Losses lost;
    std::uint16_t count;
    MavLinkParser parser;
    std::uint8_t sequence = 0;
    QTimer poll;
};

// A backup through the link, the FC on the terminal's other end.
class LinkedBackup
{
public:
    LinkedBackup() : link(bridge), transfer(bridge, link.parameters())
    {
        setFlightControllerPortOverride(pty.slavePath());
        QTest::ignoreMessage(QtDebugMsg, "port attached: true");
        opened = link.open();
        setFlightControllerPortOverride(QString());
    }

    QString path() const { return dir.filePath("three.params"); }

    // The report's text; empty when the link did not open or no report came.
    QString run()
    {
        QSignalSpy finished(&transfer, &ParamTransfer::finished);
        transfer.startBackup(path());
        if (!opened || !finished.wait(kRunTimeoutMs))
            return QString();
        return finished.at(0).at(0).value<TransferReport>().message;
    }

    PtyPair pty;

private:
    MavLinkBridge bridge;
    FcLink link;
    ParamTransfer transfer;
    QTemporaryDir dir;
    bool opened = false;
};

} // namespace

Q_DECLARE_METATYPE(Losses)

class TestParamListRead : public QObject
{
    Q_OBJECT

private slots:
    void missingParametersAreAskedForByIndex_data();
    void missingParametersAreAskedForByIndex();
    void countBeyondAnyR7EndsTheReadAtOnce();
};

void TestParamListRead::missingParametersAreAskedForByIndex_data()
{
    QTest::addColumn<Losses>("losses");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("requests"); // what the FC heard after the version check

    QTest::newRow("one lost from the list") << Losses{{1}, {}, 0} << "Backed up 3 parameters to %1."
                                            << "list get #1";
    QTest::newRow("the list request lost") << Losses{{}, {}, 1} << "Backed up 3 parameters to %1."
                                           << "list list";
    QTest::newRow("an index that never answers")
        << Losses{{}, {2}, 0}
        << "1 of 3 parameters did not arrive from the FC. No file was written."
        << "list" + QString(" get #2").repeated(9);
}

void TestParamListRead::missingParametersAreAskedForByIndex()
{
    QFETCH(Losses, losses);
    QFETCH(QString, report);
    QFETCH(QString, requests);

    LinkedBackup backup;
    ScriptedFc fc(backup.pty, losses);
    QCOMPARE(backup.run(), report.replace(QLatin1String("%1"), backup.path()));
    QCOMPARE(fc.heard.mid(1).join(' '), requests);
    QFile file(backup.path());
    QCOMPARE(file.open(QIODevice::ReadOnly), losses.always.isEmpty());
    if (losses.always.isEmpty())
        QCOMPARE(parseParamFile(file.readAll()).entries.size(), kCount);
}

// A garbled or foreign count is not waited on for hours.
void TestParamListRead::countBeyondAnyR7EndsTheReadAtOnce()
{
    LinkedBackup backup;
    ScriptedFc fc(backup.pty, {}, 65535);
    QCOMPARE(backup.run(), QStringLiteral("The FC reports 65535 parameters, more than an R7 has "
                                          "(this program reads at most 1024). No file was "
                                          "written."));
    QCOMPARE(fc.heard.mid(1), QStringList{"list"});
    QVERIFY(!QFile::exists(backup.path()));
}

QTEST_GUILESS_MAIN(TestParamListRead)
#include "tst_paramlistread.moc"
