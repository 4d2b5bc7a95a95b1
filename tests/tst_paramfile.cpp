#include "support/ptypair.h"
#include "support/wire.h"

#include "mavlink/mavlinkbridge.h"
#include "params/parameterstore.h"
#include "params/paramfile.h"
#include "params/paramtransfer.h"
#include "params/restoreplan.h"
#include "serial/outboundqueue.h"
#include "session/fcsession.h"

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
    void nameValueBackupForOtherTools();
    void backupFormatByExtension_data();
    void backupFormatByExtension();
    void rangeIsWarnedNotRefused();
    void namesReportedTwice_data();
    void namesReportedTwice();
    void restorePlanFollowsTheFcTypes();
    void restorePlanRepeatsAndVehicles_data();
    void restorePlanRepeatsAndVehicles();
};

void TestParamFile::badFilesAreRefusedWholeAndSendNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const auto row = [](const char *name, const QByteArray &content, const char *error) {
        QTest::newRow(name) << content << QString::fromUtf8(error);
    };
    row("four tab fields", "1\t1\tFRAME\t1\n",
        "line 1: expected 5 fields (system id, component id, name, value, type) or 2 (name, "
        "value), found 4");
    row("three blank-separated fields", "# x\nFRAME 1 2\n",
        "line 2: expected 5 fields (system id, component id, name, value, type) or 2 (name, "
        "value), found 3");
    row("five blank-separated fields, decimal comma", "1 1 RTL_ALT 0,5 9",
        "line 1: value 0,5 has a decimal comma; write a point");
    row("five columns, tab then decimal comma", "1\t1\tRTL_ALT\t0,5\t9",
        "line 1: value 0,5 has a decimal comma; write a point");
    row("name of 17 characters", "ATC_RATE_FF_ENABL,1",
        "line 1: name is longer than 16 characters");
    row("name not ASCII", "RATE_\xc3\xa9,1", "line 1: name is not printable ASCII");
    row("empty name", ",1", "line 1: name is empty");
    row("value not a number", "FRAME,one", "line 1: value is not a finite number");
    row("value with trailing text", "FRAME,1.5x", "line 1: value is not a finite number");
    row("decimal comma after a blank", "RTL_ALT 0,5",
        "line 1: value 0,5 has a decimal comma; write a point");
    row("decimal comma after a comma", "BATT_FILTER,0,25",
        "line 1: value 0,25 has a decimal comma; write a point");
    row("negative, decimal comma after a comma", "TRIM,-1,5",
        "line 1: value -1,5 has a decimal comma; write a point");
    row("three comma-separated fields", "FRAME,1,x",
        "line 1: expected 5 fields (system id, component id, name, value, type) or 2 (name, "
        "value), found 3");
    row("infinite value", "FRAME,inf", "line 1: value is not a finite number");
    row("NaN", "FRAME nan", "line 1: value is not a finite number");
    row("beyond a float", "RTL_ALT,1e39", "line 1: value is beyond the range of a 32-bit float");
    row("integer type, fraction", "1\t1\tFRAME\t1.5\t6", "line 1: value is not a whole number");
    row("INT8 out of range", "1\t1\tRC_TYPE\t128\t2",
        "line 1: value is out of range (-128 to 127)");
    row("UINT8 below zero", "1\t1\tRC_TYPE\t-1\t1", "line 1: value is out of range (0 to 255)");
    row("INT32 a float cannot carry", "1\t1\tLOG_BITMASK\t16777217\t6",
        "line 1: value is too large to send exactly");
    row("unknown type", "1\t1\tFRAME\t1\t7", "line 1: unknown parameter type 7");
    row("system id beyond 255", "300\t1\tFRAME\t1\t6",
        "line 1: system or component id is not a number from 0 to 255");
    row("component id not a number, blanks", "1 x FRAME 1 6",
        "line 1: system or component id is not a number from 0 to 255");
    row("NUL byte", QByteArray("# ok\nFRAME,1\0\n", 13), "line 2: not a text file (NUL byte)");
    row("Latin-1 in a value line", "FRAME,1\nRTL_ALT,1 \xe9\n", "line 2: not UTF-8 text");
    row("NUL byte in a comment", QByteArray("FRAME,1\n#\0\n", 11),
        "line 2: not a text file (NUL byte)");
    row("bad line after good CR-only lines", "FRAME,1\r# note\rSHAPE,x\r",
        "line 3: value is not a finite number");
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
    FcSession session;
    MavLinkBridge &bridge = session.bridge();
    OutboundQueue outbound(port);
    connect(&bridge, &MavLinkBridge::frameReady, &outbound, &OutboundQueue::send);
    QTest::ignoreMessage(QtDebugMsg, "port attached: true");
    bridge.attachSerialPort();
    ParamTransfer transfer(bridge, session.parameters(), session.heartbeat(), session.writeTurns());
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
    QTest::newRow("five columns, blanks")
        << QByteArray("1 1 FRAME 1 6\n7   190  RTL_ALT\t 1500.5  9\n")
        << QStringList{frame + "6", rtl + "9"};
    QTest::newRow("five columns, commas")
        << QByteArray("1,1,FRAME,1,6\n7, 190, RTL_ALT, 1500.5, 9\n")
        << QStringList{frame + "6", rtl + "9"};
    QTest::newRow("header other tools write")
        << QByteArray(
               "# Onboard parameters for Vehicle 1\n#\n# Stack: ZEFA\n# Vehicle: Multi-Rotor\n"
               "# Version: 20\n# Git Revision: 0123abcd\n#\n"
               "# MAV ID  COMPONENT ID  PARAM NAME  VALUE (TYPE)\n"
               "1\t1\tFRAME\t1.000000000000000000\t6\n1\t1\tRTL_ALT\t1500.500000\t9\n")
        << QStringList{frame + "6", rtl + "9"};
    QTest::newRow("CR-only line ends")
        << QByteArray("FRAME,1\r# note\rRTL_ALT,1500.5\r") << QStringList{frame + "0", rtl + "0"};
    QTest::newRow("Latin-1 in comments") << QByteArray("# caf\xe9\nFRAME,1\n  # \xb0"
                                                       "C\n")
                                         << QStringList{frame + "0"};
    QTest::newRow("a name twice: left to the restore plan")
        << QByteArray("FRAME,1\nRTL_ALT,1500.5\nFRAME 1\n")
        << QStringList{frame + "0", rtl + "0", frame + "0"};
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
    QCOMPARE(lines.mid(0, 9),
             (QList<QByteArray>{"# Onboard parameters for Vehicle 7", "#", "# Stack: ZEFA",
                                "# Vehicle: Multi-Rotor", "# Version: 20",
                                "# Program: ZEFA GCS 1.2.0", "# Date: 2026-12-07T09:30:00Z", "#",
                                "# MAV ID\tCOMPONENT ID\tPARAM NAME\tVALUE (TYPE)"}));
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

// The other tools load ".param" files as NAME,VALUE lines after comments.
void TestParamFile::nameValueBackupForOtherTools()
{
    const QList<ParameterReport> params = {report("Z_GAIN", 0.15f, 9), report("FRAME", 1, 6),
                                           report("INT8_LOW", -128, 2)};
    const QByteArray text =
        formatParamFile({QStringLiteral("ZEFA GCS"), QStringLiteral("20"), QDateTime()}, params,
                        *paramFileFormatFor(QStringLiteral("/tmp/x.param")));
    QList<QByteArray> rows;
    for (const QByteArray &line : text.split('\n'))
        if (!line.startsWith('#') && !line.isEmpty())
            rows << line;
    QCOMPARE(rows, (QList<QByteArray>{"FRAME,1", "INT8_LOW,-128", "Z_GAIN,0.15"}));
    QCOMPARE(parseParamFile(text).entries.size(), 3);
}

void TestParamFile::backupFormatByExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format"); // -1: refused
    const int columns = int(ParamFileFormat::Columns);
    const int nameValue = int(ParamFileFormat::NameValue);
    QTest::newRow(".params") << "/tmp/a.params" << columns;
    QTest::newRow(".PARAM") << "a.PARAM" << nameValue;
    QTest::newRow(".parm") << "b.parm" << nameValue;
    QTest::newRow(".txt") << "c.txt" << -1;
    QTest::newRow("no extension") << "backup" << -1;
    QTest::newRow("only the folder's") << "/tmp/x.params/backup" << -1;
    QTest::newRow(".params.bak") << "a.params.bak" << -1;
}

void TestParamFile::backupFormatByExtension()
{
    QFETCH(QString, path);
    QFETCH(int, format);
    const std::optional<ParamFileFormat> chosen = paramFileFormatFor(path);
    QCOMPARE(chosen ? int(*chosen) : -1, format);
}

// Out of range is saved as reported, with a warning; what no reader takes
// back is refused.
void TestParamFile::rangeIsWarnedNotRefused()
{
    QCOMPARE(rangeWarning(report("RC_TYPE", 300, 2)),
             QStringLiteral("value is out of range (-128 to 127)"));
    QCOMPARE(saveProblem(report("RC_TYPE", 300, 2)), QString());
    QCOMPARE(rangeWarning(report("RTL_ALT", 1e30f, 9)), QString());
    QCOMPARE(saveProblem(report("RC_TYPE", 1, 7)), QStringLiteral("unknown parameter type 7"));
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
        << "The FC reports A twice, as 1 (type 6) and as 2 (type 6); which one it holds cannot be "
           "told.";
    QTest::newRow("same number, other type")
        << QList<ParameterReport>{report("A", 1, 9), report("A", 1, 6)} << QStringList{"A", "A"}
        << "The FC reports A twice, as 1 (type 9) and as 1 (type 6); which one it holds cannot be "
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

void TestParamFile::restorePlanRepeatsAndVehicles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("writes");
    QTest::addColumn<int>("otherSystemId");
    QTest::newRow("repeat with the same value")
        << QByteArray("FRAME,2\nRTL_ALT,5\nFRAME,2.0\n") << QString() << 2 << -1;
    QTest::newRow("repeat differs, FC has it")
        << QByteArray("FRAME,2\nRTL_ALT,5\nFRAME 3\n")
        << QStringLiteral("line 3: FRAME was given another value on line 1") << 0 << -1;
    QTest::newRow("zero and minus zero, FC's INT32")
        << QByteArray("FRAME,0\nFRAME,-0\n") << QString() << 1 << -1;
    QTest::newRow("zero and minus zero, file's REAL32, FC's INT32")
        << QByteArray("7 190 FRAME 0 9\n7 190 FRAME -0 9\n") << QString() << 1 << -1;
    QTest::newRow("zero and minus zero, FC's REAL32")
        << QByteArray("RTL_ALT,0\nRTL_ALT,-0\n")
        << QStringLiteral("line 2: RTL_ALT was given another value on line 1") << 0 << -1;
    QTest::newRow("repeat differs, not on the FC")
        << QByteArray("FRAME,2\nMOT_SPIN,0.1\nMOT_SPIN,0.2\n") << QString() << 1 << -1;
    QTest::newRow("file from the FC's vehicle")
        << QByteArray("7\t190\tFRAME\t2\t6\n") << QString() << 1 << -1;
    QTest::newRow("file from another vehicle")
        << QByteArray("7 190 FRAME 2 6\n3 1 RTL_ALT 5 9\n") << QString() << 2 << 3;
}

void TestParamFile::restorePlanRepeatsAndVehicles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QFETCH(int, writes);
    QFETCH(int, otherSystemId);
    QHash<QString, ParameterReport> fc;
    for (const ParameterReport &r : {report("FRAME", 1, 6), report("RTL_ALT", 1500, 9)})
        fc.insert(r.name, r);
    const ParamFile file = parseParamFile(content);
    QVERIFY2(!file.error.isError(), qPrintable(file.error.text()));
    RestorePlan plan;
    QCOMPARE(planRestore(file.entries, fc, plan).text(), error);
    if (!error.isEmpty())
        return;
    QCOMPARE(plan.writes.size(), writes);
    QCOMPARE(plan.otherSystemId, otherSystemId);
    QCOMPARE(plan.isForAnotherVehicle(), otherSystemId >= 0);
    if (plan.isForAnotherVehicle())
        QCOMPARE(plan.otherVehicleText(),
                 QStringLiteral("The file was saved from system id 3; this FC is system id 7."));
}

QTEST_GUILESS_MAIN(TestParamFile)
#include "tst_paramfile.moc"
