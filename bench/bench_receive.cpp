// Receive-side costs: the parser and decoder alone over a recorded stream,
// and single frames through the complete window built offscreen.
#include "recordedstream.h"

#include "app/mainwindow.h"
#include "fcsim/fcmessages.h"
#include "mavlink/mavlinkbridge.h"
#include "mavlink/mavlinkparser.h"
#include "pages/radiopage.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

MainWindow *window = nullptr;

// The debug line of every status text would measure the terminal.
void dropDebugLines(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The parser's share of the figure below.
void parserAlone(benchmark::State &state)
{
    const QByteArray stream = recordedStream();
    MavLinkParser parser;
    int frames = 0;
    for (auto _ : state) {
        for (char byte : stream)
            parser.parseByte(std::uint8_t(byte), [&frames](const MavLinkMessage &) { ++frames; });
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(parserAlone)->Unit(benchmark::kMicrosecond);

void parserAndDecoder(benchmark::State &state)
{
    const QByteArray stream = recordedStream();
    MavLinkParser parser;
    MavLinkBridge bridge;
    for (auto _ : state) {
        for (char byte : stream) {
            parser.parseByte(std::uint8_t(byte), [&bridge](const MavLinkMessage &frame) {
                const MavLinkMessage received = frame;
                bridge.handleMessage(&received);
            });
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(parserAndDecoder)->Unit(benchmark::kMicrosecond);

// Two positions in turn, so every call moves the four sticks; the switches
// (channels 5, 7 and 8) hold still, as they do between a pilot's flicks.
const unsigned short kSticksA[kMavRcChannels] = {1100, 1900, 1500, 1300, 1100, 1500, 1900, 1200};
const unsigned short kSticksB[kMavRcChannels] = {1900, 1100, 1600, 1700, 1100, 1100, 1900, 1200};
// Every switch flips on every call as well: the worst case, all label
// styles change.
const unsigned short kSwitchesFlipped[kMavRcChannels] = {1900, 1100, 1600, 1700,
                                                         1900, 1100, 1100, 1800};

void updateRadioValueInTurn(benchmark::State &state, const unsigned short *other)
{
    unsigned short values[2][kMavRcChannels];
    std::copy(kSticksA, kSticksA + kMavRcChannels, values[0]);
    std::copy(other, other + kMavRcChannels, values[1]);
    int turn = 0;
    for (auto _ : state)
        window->radioPage().updateRadioValue(values[turn ^= 1]);
}

void updateRadioValue(benchmark::State &state)
{
    updateRadioValueInTurn(state, kSticksB);
}
BENCHMARK(updateRadioValue);

void updateRadioValueSwitchesFlipped(benchmark::State &state)
{
    updateRadioValueInTurn(state, kSwitchesFlipped);
}
BENCHMARK(updateRadioValueSwitchesFlipped);

QByteArray rcFrame(const unsigned short *sticks)
{
    MavLinkMessage msg =
        FcMessages::rcChannelsRaw(QVector<std::uint16_t>(sticks, sticks + kMavRcChannels));
    return FcMessages::toWire(msg, 0);
}

QByteArray attitudeFrame(float roll)
{
    MavLinkMessage msg = FcMessages::attitude(roll, -0.1f, 1.5f);
    return FcMessages::toWire(msg, 0);
}

void receiveInTurn(benchmark::State &state, const QByteArray (&frames)[2], bool repaint)
{
    int turn = 0;
    for (auto _ : state) {
        window->receiveBytes(frames[turn ^= 1]);
        if (repaint)
            QCoreApplication::processEvents();
    }
}

void rcFrameEndToEnd(benchmark::State &state)
{
    const QByteArray frames[2] = {rcFrame(kSticksA), rcFrame(kSticksB)};
    receiveInTurn(state, frames, false);
}
BENCHMARK(rcFrameEndToEnd);

void attitudeFrameEndToEnd(benchmark::State &state)
{
    const QByteArray frames[2] = {attitudeFrame(0.2f), attitudeFrame(-0.3f)};
    receiveInTurn(state, frames, false);
}
BENCHMARK(attitudeFrameEndToEnd);

void showRadioTab()
{
    constexpr int kRadioTab = 1;
    window->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(kRadioTab);
    QCoreApplication::processEvents();
}

// With the radio tab in front and the event loop painting what changed.
void rcFrameRepainted(benchmark::State &state)
{
    showRadioTab();
    const QByteArray frames[2] = {rcFrame(kSticksA), rcFrame(kSticksB)};
    receiveInTurn(state, frames, true);
}
BENCHMARK(rcFrameRepainted)->Unit(benchmark::kMicrosecond);

QList<QByteArray> framesOf(const QByteArray &stream)
{
    QList<QByteArray> frames;
    MavLinkParser parser;
    int start = 0;
    for (int i = 0; i < stream.size(); ++i) {
        parser.parseByte(std::uint8_t(stream[i]), [&, i](const MavLinkMessage &) {
            frames << stream.mid(start, i + 1 - start);
            start = i + 1;
        });
    }
    return frames;
}

// The live stream a frame at a time, each painted before the next arrives,
// as at 50 RC frames a second: one iteration is one frame of the mix.
void recordedStreamRepainted(benchmark::State &state)
{
    showRadioTab();
    const QList<QByteArray> frames = framesOf(recordedStream());
    int next = 0;
    for (auto _ : state) {
        window->receiveBytes(frames[next]);
        QCoreApplication::processEvents();
        next = (next + 1) % frames.size();
    }
}
BENCHMARK(recordedStreamRepainted)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebugLines);
    QApplication app(argc, argv);
    MainWindow mainWindow;
    mainWindow.show();
    QCoreApplication::processEvents();
    window = &mainWindow;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
