#include "app/commandline.h"
#include "app/version.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The real programs as a user runs them from a terminal: no display, and
// no platform chosen for Qt.

namespace {

const QString kGcs = QStringLiteral(ZEFA_GCS_PATH);
const QString kSimulator = QStringLiteral(ZEFA_FCSIM_PATH);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runWithoutDisplay(const QString &program, const QStringList &arguments,
                      const QString &locale = QStringLiteral("C.UTF-8"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    // A program that started its window instead of answering never ends.
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutAWindow_data();
    void answersWithoutAWindow();
    void portOptionIsRead();
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
                                << "Usage: zefa-gcs .*\n  --port <PORT>  Open PORT .*\n"
                                << "";
    QTest::newRow("gcs --help in Chinese")
        << kGcs << QStringList{"-h"} << "zh_CN.UTF-8" << 0
        << QString::fromUtf8(".*\n  --port <PORT>  打开 PORT.*") << "";
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
}

void TestCommandLine::answersWithoutAWindow()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, locale);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Run run = runWithoutDisplay(program, arguments, locale);
    QCOMPARE(run.exitCode, exitCode);
    const QRegularExpression outPattern(QRegularExpression::anchoredPattern(out),
                                        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(outPattern.match(run.out).hasMatch(), qPrintable(run.out));
    QCOMPARE(run.err, err);
}

void TestCommandLine::portOptionIsRead()
{
    const CommandLine withPort = parseCommandLine({"zefa-gcs", "--port", "/dev/ttyUSB3"});
    QVERIFY(!withPort.answer);
    QCOMPARE(withPort.port, QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(parseCommandLine({"zefa-gcs"}).port, QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
