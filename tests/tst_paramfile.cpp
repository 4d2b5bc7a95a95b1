#include "support/ptypair.h"
#include "support/wire.h"

#include "mavlink/mavlinkbridge.h"
#include "params/paramfile.h"
#include "params/paramtransfer.h"
#include "params/restoreplan.h"
#include "serial/outboundqueue.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <cstring>

namespace {

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

ParameterReport report(const char *name, float value, int type)
{
    ParameterReport r;
    r.name = QString::fromLatin1(name);
    r.value = value;
    r.type = std::uint8_t(type);
    r.systemId = 7;
    r.componentId = 190;
    return r;
}

// "NAME=value/type" for each entry, the value by its bits.
QStringList described(const QList<ParamFileEntry> &entries)
{
    QStringList out;
    for (const ParamFileEntry &e : entries)
        out << QStringLiteral("%1=%2/%3").arg(e.name).arg(bitsOf(e.value), 8, 16).arg(e.type);
    return out;
}

} // namespace

class TestParamFile : public QObject
{
    Q_OBJECT

private slots:
    void badFilesAreRefusedWholeAndSendNothing_data();
    void badFilesAreRefusedWholeAndSendNothing();
    void goodFilesInEveryFormat_data();
    void goodFilesInEveryFormat();
    void writtenFileReadsBackBitForBit();
    void namesReportedTwice_data();
    void namesReportedTwice();
    void restorePlanFollowsTheFcTypes();
};

void TestParamFile::badFilesAreRefusedWholeAndSendNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const auto row = [](const char *name, const QByteArray &content, const char *error) {
        QTest::newRow(name) << content << QString::fromUtf8(error);
    };
    row("four tab fields", "1\t1\tFRAME\t1\n",
        "line 1: expected 5 tab-separated fields or 2 columns, found 4 fields");
    row("three blank-separated fields", "# x\nFRAME 1 2\n",
        "line 2: expected 5 tab-separated fields or 2 columns, found 3 fields");
    row("name of 17 characters", "ATC_RATE_FF_ENABL,1",
        "line 1: name is longer than 16 characters");
    row("name not ASCII", "RATE_\xc3\xa9,1", "line 1: name is not printable ASCII");
    row("empty name", ",1", "line 1: name is empty");
    row("value not a number", "FRAME,one", "line 1: value is not a finite number");
    row("value with trailing text", "FRAME,1.5x", "line 1: value is not a finite number");
    row("decimal comma after a blank", "RTL_ALT 0,5",
        "line 1: value 0,5 has a decimal comma; write a point");
    row("decimal comma after a comma", "RTL_ALT,0,5",
        "line 1: expected 5 tab-separated fields or 2 columns, found 3 fields");
    row("infinite value", "FRAME,inf", "line 1: value is not a finite number");
    row("NaN", "FRAME nan", "line 1: value is not a finite number");
    row("beyond a float", "RTL_ALT,1e39", "line 1: value is beyond the range of a 32-bit float");
    row("duplicate name", "FRAME,1\nSHAPE,1\nFRAME,2\n", "line 3: duplicate of line 1");
    row("integer type, fraction", "1\t1\tFRAME\t1.5\t6", "line 1: value is not a whole number");
    row("INT8 out of range", "1\t1\tRC_TYPE\t128\t2",
        "line 1: value is out of range (-128 to 127)");
    row("UINT8 below zero", "1\t1\tRC_TYPE\t-1\t1", "line 1: value is out of range (0 to 255)");
    row("INT32 a float cannot carry", "1\t1\tLOG_BITMASK\t16777217\t6",
        "line 1: value is too large to send exactly");
    row("unknown type", "1\t1\tFRAME\t1\t7", "line 1: unknown parameter type 7");
    row("system id beyond 255", "300\t1\tFRAME\t1\t6",
        "line 1: system or component id is not a number from 0 to 255");
    row("NUL byte", QByteArray("# ok\nFRAME,1\0\n", 13), "line 2: not a text file (NUL byte)");
    row("Latin-1 in a comment", "FRAME,1\n# caf\xe9\n", "line 2: not UTF-8 text");
    row("bad line after good CRLF lines", "FRAME,1\r\nSHAPE,x\r\n",
        "line 2: value is not a finite number");
    row("only comments", "# nothing\n\n", "the file holds no parameters");
    row("over 1 MiB", "FRAME,1\n# " + QByteArray(1024 * 1024, 'x') + "\n",
        "the file is larger than 1 MiB");
}

// The file is checked before anything goes to the FC: not even the
// firmware question leaves.
void TestParamFile::badFilesAreRefusedWholeAndSendNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QCOMPARE(parseParamFile(content).error.text(), error);
    QVERIFY(parseParamFile(content).entries.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("bad.param");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    PtyPair pty;
    QSerialPort port(pty.slavePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    MavLinkBridge bridge;
    OutboundQueue outbound(port);
    connect(&bridge, &MavLinkBridge::frameReady, &outbound, &OutboundQueue::send);
    QTest::ignoreMessage(QtDebugMsg, "port attached: true");
    bridge.attachSerialPort();
    ParamTransfer transfer(bridge);
    QSignalSpy finished(&transfer, &ParamTransfer::finished);
    transfer.startRestore(path);
    QVERIFY(finished.wait(2000));
    const TransferReport result = finished.at(0).at(0).value<TransferReport>();
    QCOMPARE(int(result.outcome), int(TransferReport::Outcome::Failed));
    QCOMPARE(result.message, QStringLiteral("Refused %1: %2. Nothing was written.")
                                 .arg(QDir::toNativeSeparators(path), error));
    QCOMPARE(pty.readUntilQuiet(50), QByteArray());
}

void TestParamFile::goodFilesInEveryFormat_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("entries");
    const QString frame = QStringLiteral("FRAME=%1/").arg(bitsOf(1.0f), 8, 16);
    const QString rtl = QStringLiteral("RTL_ALT=%1/").arg(bitsOf(1500.5f), 8, 16);
    QTest::newRow("tab-separated, BOM, CRLF")
        << QByteArray(
               "\xEF\xBB\xBF# backup\r\n1\t1\tFRAME\t1\t6\r\n\r\n7\t190\tRTL_ALT\t1500.5\t9\r\n")
        << QStringList{frame + "6", rtl + "9"};
    QTest::newRow("comma, BOM, CRLF") << QByteArray("\xEF\xBB\xBF"
                                                    "FRAME,1\r\n  # note\r\nRTL_ALT, +1500.5\r\n")
                                      << QStringList{frame + "0", rtl + "0"};
    QTest::newRow("blanks, no final newline")
        << QByteArray("  FRAME   1  \n\nRTL_ALT 15005e-1") << QStringList{frame + "0", rtl + "0"};
    QTest::newRow("name and value, tab-separated")
        << QByteArray("FRAME\t1\r\nRTL_ALT\t1500.5\r\n") << QStringList{frame + "0", rtl + "0"};
}

void TestParamFile::goodFilesInEveryFormat()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, entries);
    const ParamFile file = parseParamFile(content);
    QVERIFY2(!file.error.isError(), qPrintable(file.error.text()));
    QCOMPARE(described(file.entries), entries);
}

// Shortest texts that still carry every bit: denormals, negative zero, the
// float extremes, integers at the edges of their types.
void TestParamFile::writtenFileReadsBackBitForBit()
{
    const QList<ParameterReport> params = {
        report("Z_GAIN", 0.15f, 9),
        report("A_TENTH", 0.1f, 9),
        report("DENORMAL_MIN", 1.4e-45f, 9),
        report("DENORMAL_MAX", 1.1754942e-38f, 9),
        report("NEG_ZERO", -0.0f, 9),
        report("FLOAT_MAX", FLT_MAX, 9),
        report("FLOAT_LOWEST", -FLT_MAX, 9),
        report("ODD_DIGITS", 123456.789f, 9),
        report("INT8_LOW", -128, 2),
        report("UINT8_HIGH", 255, 1),
        report("INT16_LOW", -32768, 4),
        report("UINT16_HIGH", 65535, 3),
        report("INT32_LOW", -2147483648.0f, 6),
        report("UINT32_HIGH", 4294967040.0f, 5),
    };
    BackupHeader header{QStringLiteral("ZEFA GCS 1.2.0"), QStringLiteral("20"),
                        QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC)};
    const QByteArray text = formatParamFile(header, params);
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.mid(0, 4), (QList<QByteArray>{"# ZEFA GCS 1.2.0 parameter backup",
                                                 "# Firmware version (ZEFAVERSION): 20",
                                                 "# Date: 2026-12-07T09:30:00Z",
                                                 "# SYSID\tCOMPID\tNAME\tVALUE\tTYPE"}));
    QVERIFY(lines.contains("7\t190\tZ_GAIN\t0.15\t9"));
    QVERIFY(lines.contains("7\t190\tNEG_ZERO\t-0\t9"));
    QVERIFY(lines.contains("7\t190\tINT32_LOW\t-2147483648\t6"));

    QList<ParameterReport> sorted = params;
    std::sort(sorted.begin(), sorted.end(),
              [](const ParameterReport &a, const ParameterReport &b) { return a.name < b.name; });
    const ParamFile back = parseParamFile(text);
    QVERIFY2(!back.error.isError(), qPrintable(back.error.text()));
    QCOMPARE(back.entries.size(), sorted.size());
    for (int i = 0; i < sorted.size(); ++i) {
        QCOMPARE(back.entries[i].name, sorted[i].name);
        QCOMPARE(bitsOf(back.entries[i].value), bitsOf(sorted[i].value));
        QCOMPARE(back.entries[i].type, int(sorted[i].type));
    }
}

// Changes by the FC's type; a two-column value must suit an integer-typed
// FC parameter; the firmware version is never written.
void TestParamFile::namesReportedTwice_data()
{
    QTest::addColumn<QList<ParameterReport>>("params");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("problem");
    QTest::newRow("same value twice")
        << QList<ParameterReport>{report("A", 1, 6), report("B", 2, 6), report("A", 1, 6)}
        << QStringList{"A", "B"} << "";
    QTest::newRow("different values")
        << QList<ParameterReport>{report("A", 1, 6), report("A", 2, 6)} << QStringList{"A", "A"}
        << "The FC reports A twice, as 1 (type 6) and as 2 (type 6); which one to save cannot be "
           "told.";
    QTest::newRow("same number, other type")
        << QList<ParameterReport>{report("A", 1, 9), report("A", 1, 6)} << QStringList{"A", "A"}
        << "The FC reports A twice, as 1 (type 9) and as 1 (type 6); which one to save cannot be "
           "told.";
}

// What is saved must read back: the reader refuses a name given twice.
void TestParamFile::namesReportedTwice()
{
    QFETCH(QList<ParameterReport>, params);
    QFETCH(QStringList, kept);
    QFETCH(QString, problem);
    QCOMPARE(dropRepeatedNames(params), problem);
    QStringList names;
    for (const ParameterReport &param : params)
        names << param.name;
    QCOMPARE(names, kept);
    if (problem.isEmpty())
        QVERIFY(!parseParamFile(formatParamFile({}, params)).error.isError());
}

void TestParamFile::restorePlanFollowsTheFcTypes()
{
    QHash<QString, ParameterReport> fc;
    for (const ParameterReport &r :
         {report("FRAME", 1, 6), report("RC_TYPE", 1, 2), report("RTL_ALT", 1500, 9),
          report("ZEFAVERSION", 20, 6), report("NEG", 0.0f, 9)})
        fc.insert(r.name, r);

    RestorePlan plan;
    ParamFile file = parseParamFile("FRAME,1\nRC_TYPE 3\nRTL_ALT,1500\nNEG,-0\n"
                                    "ZEFAVERSION,21\nNO_SUCH,4\n");
    QVERIFY(!planRestore(file.entries, fc, plan).isError());
    QCOMPARE(plan.writes.size(), 2);
    QCOMPARE(RestorePlan::changeText(plan.writes[0]), QStringLiteral("NEG: 0 -> -0"));
    QCOMPARE(RestorePlan::changeText(plan.writes[1]), QStringLiteral("RC_TYPE: 1 -> 3"));
    QCOMPARE(int(plan.writes[1].type), 2);
    QCOMPARE(plan.summary(), QStringLiteral("To write: 2; already equal: 2. Not on the FC, "
                                            "skipped: NO_SUCH. Never written: ZEFAVERSION."));

    file = parseParamFile("FRAME,1\n\nRC_TYPE,2.5\n");
    QCOMPARE(planRestore(file.entries, fc, plan).text(),
             QStringLiteral("line 3: value is not a whole number"));
    file = parseParamFile("RC_TYPE,300\n");
    QCOMPARE(planRestore(file.entries, fc, plan).text(),
             QStringLiteral("line 1: value is out of range (-128 to 127)"));
}

QTEST_GUILESS_MAIN(TestParamFile)
#include "tst_paramfile.moc"
