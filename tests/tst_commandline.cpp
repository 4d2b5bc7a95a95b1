#include "support/programs.h"

#include "app/commandline.h"
#include "cli/version.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// The real programs as a user runs them from a terminal: no display, and
// no platform chosen for Qt.

namespace {

const QString kGcs = QStringLiteral(ZEFA_GCS_PATH);
const QString kSimulator = QStringLiteral(ZEFA_FCSIM_PATH);

// The option names of a help text: "-h", "--help", "--port", ...
QStringList helpOptions(const QString &help)
{
    static const QRegularExpression namesColumn(QStringLiteral("^  (-\\S.*?)(?:  |$)"),
                                                QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral("--?[a-z][a-z-]*"));
    QStringList names;
    for (auto line = namesColumn.globalMatch(help); line.hasNext();) {
        for (auto n = name.globalMatch(line.next().captured(1)); n.hasNext();)
            names << n.next().captured();
    }
    return names;
}

QString textOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The OPTIONS section of a manual page, with roff's minus signs as typed.
QString manualOptions(const QString &page)
{
    const QString roff = textOf(QStringLiteral(ZEFA_BINARY_DIR "/packaging/") + page)
                             .replace(QLatin1String("\\-"), "-");
    const int start = roff.indexOf(QLatin1String("\n.SH OPTIONS\n"));
    return start < 0 ? QString() : roff.mid(start, roff.indexOf("\n.SH ", start + 1) - start);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutAWindow_data();
    void answersWithoutAWindow();
    void manualPageCoversEveryOption_data();
    void manualPageCoversEveryOption();
    void portOptionIsRead();
    void recordingOntoTheTransferFileIsBadUsage_data();
    void recordingOntoTheTransferFileIsBadUsage();
    void synopsesGiveRecordWithEveryCommand_data();
    void synopsesGiveRecordWithEveryCommand();
};

void TestCommandLine::answersWithoutAWindow_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // a pattern for the whole of stdout
    QTest::addColumn<QString>("err"); // stderr, exactly

    const QString c = QStringLiteral("C.UTF-8");
    const QString version = QRegularExpression::escape(QStringLiteral(" " ZEFA_VERSION "\n"));
    QTest::newRow("gcs --version")
        << kGcs << QStringList{"--version"} << c << 0 << "zefa-gcs" + version << "";
    QTest::newRow("gcs --help") << kGcs << QStringList{"--help"} << c << 0
                                << "Usage: zefa-gcs .*\n  --port <PORT> +Open PORT .*\n"
                                << "";
    QTest::newRow("gcs --help in Chinese")
        << kGcs << QStringList{"-h"} << "zh_CN.UTF-8" << 0
        << QString::fromUtf8(".*\n  --port <PORT> +打开 PORT.*") << "";
    QTest::newRow("gcs unknown option")
        << kGcs << QStringList{"--no-such-option"} << c << 2 << ""
        << "zefa-gcs: unknown option '--no-such-option'; see --help\n";
    QTest::newRow("gcs unknown option beside --help")
        << kGcs << QStringList{"--help", "-x"} << c << 2 << ""
        << "zefa-gcs: unknown option '-x'; see --help\n";
    QTest::newRow("gcs port without --port")
        << kGcs << QStringList{"/dev/ttyACM0"} << c << 2 << ""
        << "zefa-gcs: unexpected argument '/dev/ttyACM0'; see --help\n";
    QTest::newRow("gcs --port without a port") << kGcs << QStringList{"--port"} << c << 2 << ""
                                               << "zefa-gcs: Missing value after '--port'.\n";
    QTest::newRow("gcs --backup and --restore")
        << kGcs << QStringList{"--backup", "a.param", "--restore", "b.param"} << c << 2 << ""
        << "zefa-gcs: --backup and --restore cannot be used together\n";
    QTest::newRow("gcs --backup twice")
        << kGcs << QStringList{"--backup", "a.params", "--backup=b.params"} << c << 2 << ""
        << "zefa-gcs: --backup is given more than once\n";
    QTest::newRow("gcs --port twice")
        << kGcs << QStringList{"--port", "/dev/a", "--restore", "x", "--port", "/dev/b"} << c << 2
        << ""
        << "zefa-gcs: --port is given more than once\n";
    QTest::newRow("gcs --backup with an empty file name")
        << kGcs << QStringList{"--backup="} << c << 2 << ""
        << "zefa-gcs: --backup needs a FILE\n";
    QTest::newRow("gcs --get without a name")
        << kGcs << QStringList{"--get", "--port", "/dev/a"} << c << 2 << ""
        << "zefa-gcs: --get needs a NAME\n";
    QTest::newRow("gcs --set without =")
        << kGcs << QStringList{"--set", "RTL_ALT=5", "FRAME"} << c << 2 << ""
        << "zefa-gcs: --set FRAME: expected NAME=VALUE\n";
    QTest::newRow("gcs --set to a word")
        << kGcs << QStringList{"--set", "FRAME=one"} << c << 2 << ""
        << "zefa-gcs: --set FRAME=one: value is not a "
           "finite number\n";
    QTest::newRow("gcs --set of a name twice")
        << kGcs << QStringList{"--set", "FRAME=1", "FRAME=1"} << c << 2 << ""
        << "zefa-gcs: --set gives FRAME more than once\n";
    QTest::newRow("gcs --get with --backup")
        << kGcs << QStringList{"--get", "FRAME", "--backup", "a.params"} << c << 2 << ""
        << "zefa-gcs: use one of --backup, --restore, --get, --set, --history and --undo at a "
           "time\n";
    QTest::newRow("gcs --force with --set")
        << kGcs << QStringList{"--set", "FRAME=1", "--force"} << c << 2 << ""
        << "zefa-gcs: --force goes with --restore or --undo only\n";
    for (const QString n : {"0", "abc", "1.5"})
        QTest::newRow(qPrintable("gcs --history " + n))
            << kGcs << QStringList{"--history", n} << c << 2 << ""
            << "zefa-gcs: --history takes one N, a whole number above 0, not '" + n + "'\n";
    QTest::newRow("gcs --history -1") << kGcs << QStringList{"--history", "-1"} << c << 2 << ""
                                      << "zefa-gcs: unknown option '-1'; see --help\n";
    QTest::newRow("gcs --history with two N")
        << kGcs << QStringList{"--history", "1", "2"} << c << 2 << ""
        << "zefa-gcs: --history takes one N, a whole number above 0, not '1 2'\n";
    QTest::newRow("gcs --undo of no number")
        << kGcs << QStringList{"--undo", "x1"} << c << 2 << ""
        << "zefa-gcs: --undo needs the ID of a change set (see --history), not 'x1'\n";
    QTest::newRow("gcs --record with --history")
        << kGcs << QStringList{"--history", "--record", "a.tlog"} << c << 2 << ""
        << "zefa-gcs: --record needs a FILE and a command to record, such as --backup\n";
    QTest::newRow("gcs --record without a command")
        << kGcs << QStringList{"--record", "a.tlog"} << c << 2 << ""
        << "zefa-gcs: --record needs a FILE and a command to record, such as --backup\n";
    QTest::newRow("simulator --version")
        << kSimulator << QStringList{"-v"} << c << 0 << "zefa-fc-sim" + version << "";
    QTest::newRow("simulator --help")
        << kSimulator << QStringList{"--help"} << c << 0 << "Usage: .*\n  --fault-rate <F> .*"
        << "";
    QTest::newRow("simulator unknown option")
        << kSimulator << QStringList{"--fault"} << c << 2 << ""
        << "zefa-fc-sim: unknown option '--fault'; see --help\n";
    QTest::newRow("simulator stray argument")
        << kSimulator << QStringList{"--seed", "3", "4"} << c << 2 << ""
        << "zefa-fc-sim: unexpected argument '4'; see --help\n";
    QTest::newRow("simulator --replay of a missing file")
        << kSimulator << QStringList{"--replay", "/nonexistent/a.tlog"} << c << 2 << ""
        << "zefa-fc-sim: cannot replay /nonexistent/a.tlog: No such file or directory\n";
    QTest::newRow("simulator --replay of a device")
        << kSimulator << QStringList{"--replay", "/dev/zero"} << c << 2 << ""
        << "zefa-fc-sim: cannot replay /dev/zero: not a regular file (a device, pipe or "
           "folder)\n";
}

void TestCommandLine::answersWithoutAWindow()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, locale);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const ProgramRun run = runWithoutDisplay(program, arguments, locale);
    QCOMPARE(run.exitCode, exitCode);
    const QRegularExpression outPattern(QRegularExpression::anchoredPattern(out),
                                        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(outPattern.match(run.out).hasMatch(), qPrintable(run.out));
    QCOMPARE(run.err, err);
}

void TestCommandLine::manualPageCoversEveryOption_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("page");
    QTest::newRow("zefa-gcs") << kGcs << "zefa-gcs.1";
    QTest::newRow("zefa-fc-sim") << kSimulator << "zefa-fc-sim.1";
}

void TestCommandLine::manualPageCoversEveryOption()
{
    QFETCH(QString, program);
    QFETCH(QString, page);

    const QStringList options = helpOptions(runWithoutDisplay(program, {"--help"}).out);
    QVERIFY(options.contains("--help") && options.contains("--version"));
    const QString manual = manualOptions(page);
    QVERIFY2(!manual.isEmpty(), "no OPTIONS section");
    for (const QString &option : options) {
        const QRegularExpression named("(?<![\\w-])" + QRegularExpression::escape(option) +
                                       "(?![\\w-])");
        QVERIFY2(named.match(manual).hasMatch(), qPrintable(option + " is not in " + page));
    }
}

void TestCommandLine::portOptionIsRead()
{
    const CommandLine withPort = parseCommandLine({"zefa-gcs", "--port", "/dev/ttyUSB3"});
    QVERIFY(!withPort.answer);
    QCOMPARE(withPort.port, QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(parseCommandLine({"zefa-gcs"}).port, QString());
}

void TestCommandLine::recordingOntoTheTransferFileIsBadUsage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("log"); // leads to file
    QTest::newRow("the same name") << "--restore"
                                   << "r.params"
                                   << "r.params";
    QTest::newRow("through ./ and ..") << "--restore"
                                       << "r.params"
                                       << "./sub/../r.params";
    QTest::newRow("a symbolic link") << "--restore"
                                     << "r.params"
                                     << "link.tlog";
    QTest::newRow("a hard link") << "--restore"
                                 << "r.params"
                                 << "hard.tlog";
    QTest::newRow("a backup not made yet") << "--backup"
                                           << "b.params"
                                           << "sub/../b.params";
    QTest::newRow("a link to a backup not made yet") << "--backup"
                                                     << "b.params"
                                                     << "dangling";
}

// Refused before anything is opened: the restore file stays as it was.
void TestCommandLine::recordingOntoTheTransferFileIsBadUsage()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, log);
    QTemporaryDir dir;
    const QByteArray content = "FRAME,1\n";
    QFile restore(dir.filePath("r.params"));
    QVERIFY(restore.open(QIODevice::WriteOnly) && restore.write(content) == content.size());
    restore.close();
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(QFile::link(dir.filePath("r.params"), dir.filePath("link.tlog")));
    QVERIFY(QFile::link(dir.filePath("b.params"), dir.filePath("dangling")));
    QCOMPARE(::link(qPrintable(dir.filePath("r.params")), qPrintable(dir.filePath("hard.tlog"))),
             0);
    QVERIFY(QDir::setCurrent(dir.path()));

    const ProgramRun run = runWithoutDisplay(
        kGcs, {command, file, "--record", log, "--port", "/dev/zefa-no-such-port"});
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err,
             QStringLiteral("zefa-gcs: --record and %1 name the same file\n").arg(command));
    QCOMPARE(textOf(dir.filePath("r.params")).toUtf8(), content);
    QVERIFY(!QFile::exists(dir.filePath("b.params")));
}

void TestCommandLine::synopsesGiveRecordWithEveryCommand_data()
{
    QTest::addColumn<QString>("synopsis");
    const QString roff = textOf(QStringLiteral(ZEFA_BINARY_DIR "/packaging/zefa-gcs.1"))
                             .replace(QLatin1String("\\-"), "-");
    const int start = roff.indexOf("\n.SH SYNOPSIS\n");
    const QString manual = roff.mid(start, roff.indexOf("\n.SH ", start + 1) - start);
    const QString readme = textOf(QStringLiteral(ZEFA_SOURCE_DIR "/README.md"));
    const int usage = readme.indexOf("\n    zefa-gcs [--port PORT]\n");
    QVERIFY(start >= 0 && usage >= 0);
    QTest::newRow("manual page") << manual.split(".br").join(' ').simplified();
    QTest::newRow("README")
        << readme.mid(usage, readme.indexOf("\n\n", usage + 1) - usage).simplified();
}

// Every command run without a window records; both synopses say so.
void TestCommandLine::synopsesGiveRecordWithEveryCommand()
{
    QFETCH(QString, synopsis);
    const QStringList usages = synopsis.split("zefa-gcs", Qt::SkipEmptyParts);
    for (const char *command : {"--backup", "--restore", "--get", "--set"}) {
        const QStringList naming = usages.filter(QLatin1String(command));
        QVERIFY2(!naming.isEmpty(), command);
        for (const QString &usage : naming)
            QVERIFY2(usage.contains("--record"), qPrintable(usage));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
