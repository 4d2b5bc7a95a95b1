// zefa-fc-sim: a simulated flight controller on a pseudo-terminal. Prints
// the slave's path as its first line; point the assistant at it with
// ZEFA_GCS_PORT.

#include "fcsimulator.h"
#include "framelog.h"
#include "pseudoterminal.h"
#include "sessionreplay.h"
#include "simulatorptylink.h"

#include "cli/argumentreader.h"
#include "serial/portlist.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QPair>
#include <QStringList>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct Options
{
    int firmware = 20;
    double faultRate = 0.0;
    double paramDropRate = 0.0;
    std::uint32_t seed = 1;
    double unplugAfterSeconds = -1;    // never
    double streamRate = 0;             // as requested
    QList<QPair<int, int>> streams;    // stream id and rate sent from the start
    QList<QPair<QString, float>> caps; // parameter name and the most a write stores
    QString logPath;
    QString replayPath;
    double replaySpeed = 1;
    bool findFc = false;
};

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "zefa-fc-sim: %s\n", qPrintable(message));
    std::exit(2);
}

double numberOption(const QCommandLineParser &parser, const QString &name, double low, double high)
{
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    // Qt reads "nan" and "inf" as numbers; no option means either.
    if (!ok || !std::isfinite(value) || value < low || value > high)
        fail(QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high));
    return value;
}

QPair<int, int> streamOption(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('='));
    bool idOk = false;
    bool rateOk = false;
    const int id = parts.value(0).toInt(&idOk);
    const int hz = parts.value(1).toInt(&rateOk);
    if (parts.size() != 2 || !idOk || !rateOk || id < 0 || id > 255 || hz < 0 || hz > 65535)
        fail(QStringLiteral("--stream takes ID=HZ, a stream id from 0 to 255 and a rate from 0 "
                            "to 65535"));
    return {id, hz};
}

QPair<QString, float> clampOption(const QString &text)
{
    const int equals = text.indexOf(QLatin1Char('='));
    bool ok = false;
    const float highest = text.mid(equals + 1).toFloat(&ok);
    if (equals <= 0 || !ok || !std::isfinite(highest))
        fail(QStringLiteral("--clamp takes NAME=MAX, a parameter name and a number"));
    return {text.left(equals), highest};
}

Options parseOptions(const QCoreApplication &app)
{
    ArgumentReader reader(QStringLiteral("zefa-fc-sim"),
                          "Simulated R7 flight controller on a pseudo-terminal. Prints the "
                          "terminal's path, then serves it until killed.");
    QCommandLineParser &parser = reader.parser();
    parser.addOptions({
        {"firmware", "Value of ZEFAVERSION (default 20).", "N", "20"},
        {"fault-rate", "Garble this fraction of the bytes sent and slip in 0xFE frames.", "F", "0"},
        {"param-drop-rate",
         "Leave out this fraction of the parameter answers (list, reads, write echoes).", "F", "0"},
        {"seed", "Seed of the line noise and of the dropped answers (default 1).", "N", "1"},
        {"unplug-after", "Hang up the line after this many seconds, then exit.", "SECONDS"},
        {"log", "Write every frame sent and received to FILE.", "FILE"},
        {"stream-rate",
         "Send every started stream at HZ, whatever rate was asked for and above the FC's "
         "50 Hz cap too (demonstrations, load tests).",
         "HZ"},
        {"stream",
         "Send stream ID at HZ from the start, as an FC set up to stream does (e.g. 3=50 for the "
         "radio); requests still change it. May be repeated.",
         "ID=HZ"},
        {"clamp",
         "Store at most MAX when NAME is written, and echo that, as an FC with a tighter limit "
         "does. May be repeated.",
         "NAME=MAX"},
        {"replay",
         "Play back the FC's frames of a telemetry log recorded by the assistant, at their "
         "recorded pace, instead of simulating an FC; what the assistant sends is not answered.",
         "FILE"},
        {"speed", "With --replay: play X times as fast as recorded (default 1).", "X", "1"},
        {"find-fc", "Print the port of a plugged-in FC, as the assistant would find it, and exit; "
                    "status 1 when there is none."},
    });
    if (const std::optional<CommandLineAnswer> answer = reader.read(app.arguments()))
        std::exit(printAnswer(*answer));

    Options options;
    options.findFc = parser.isSet("find-fc");
    options.firmware = int(numberOption(parser, "firmware", 0, 16777216));
    options.faultRate = numberOption(parser, "fault-rate", 0, 1);
    options.paramDropRate = numberOption(parser, "param-drop-rate", 0, 1);
    options.seed = std::uint32_t(numberOption(parser, "seed", 0, 4294967295.0));
    if (parser.isSet("unplug-after"))
        options.unplugAfterSeconds = numberOption(parser, "unplug-after", 0, 86400);
    if (parser.isSet("stream-rate"))
        options.streamRate = numberOption(parser, "stream-rate", 0.1, 1000);
    for (const QString &stream : parser.values("stream"))
        options.streams << streamOption(stream);
    for (const QString &clamp : parser.values("clamp"))
        options.caps << clampOption(clamp);
    options.logPath = parser.value("log");
    options.replayPath = parser.value("replay");
    options.replaySpeed = numberOption(parser, "speed", 0.01, 1000);
    if (parser.isSet("speed") && options.replayPath.isEmpty())
        fail(QStringLiteral("--speed needs --replay"));
    return options;
}

int printFlightControllerPort()
{
    const QString port = findFlightControllerPort(availableSerialPorts());
    if (port.isEmpty())
        return 1;
    std::printf("%s\n", qPrintable(port));
    return 0;
}

std::unique_ptr<QFile> openLog(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    std::unique_ptr<QFile> file(new QFile(path));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        fail(QStringLiteral("cannot write %1: %2").arg(path, file->errorString()));
    return file;
}

void printPath(const PseudoTerminal &pty)
{
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);
}

int replaySession(QCoreApplication &app, const Options &options)
{
    SessionReplay replay;
    if (!replay.load(options.replayPath))
        fail(QStringLiteral("cannot replay %1: %2").arg(options.replayPath, replay.errorString()));
    replay.setSpeed(options.replaySpeed);
    QObject::connect(&replay, &SessionReplay::finished, [&replay] {
        std::fprintf(stderr, "zefa-fc-sim: replayed %d frames\n", replay.frameCount());
    });
    PseudoTerminal pty;
    SimulatorPtyLink link(pty.masterFd(), replay);
    printPath(pty);
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zefa-fc-sim"));
    const Options options = parseOptions(app);
    if (options.findFc)
        return printFlightControllerPort();
    if (!options.replayPath.isEmpty())
        return replaySession(app, options);

    PseudoTerminal pty;
    FcSimulator sim;
    sim.setFirmwareVersion(options.firmware);
    sim.setFaultRate(options.faultRate, options.seed);
    sim.setParamDropRate(options.paramDropRate, options.seed);
    sim.setStreamRate(options.streamRate);
    for (const auto &stream : options.streams)
        sim.startStream(stream.first, stream.second);
    for (const auto &cap : options.caps)
        sim.clampParameter(cap.first, -INFINITY, cap.second);
    SimulatorPtyLink link(pty.masterFd(), sim);
    const std::unique_ptr<QFile> logFile = openLog(options.logPath);
    std::unique_ptr<FrameLog> log;
    if (logFile)
        log.reset(new FrameLog(sim, *logFile));

    if (options.unplugAfterSeconds >= 0) {
        QTimer::singleShot(int(options.unplugAfterSeconds * 1000), &app, [&] {
            link.stop();
            pty.close();
            QCoreApplication::quit();
        });
    }

    printPath(pty);
    return app.exec();
}
