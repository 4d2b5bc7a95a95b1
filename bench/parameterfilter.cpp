// The All Parameters window over 1,000 parameters: one keystroke in the
// filter box (the view laid out and painted again), and opening the window
// once the list is read. Runs in zefa-bench's offscreen application.
#include "app/allparameterswindow.h"
#include "params/paramtype.h"
#include "session/fcsession.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

namespace {

constexpr int kParameters = 1000;

// Names in groups as the FC's are: "GRP07_VALUE_123".
void fillStore(MavLinkBridge &bridge)
{
    for (int i = 0; i < kParameters; ++i) {
        ParameterReport report;
        report.name = QStringLiteral("GRP%1_VALUE_%2").arg(i % 40, 2, 10, QLatin1Char('0')).arg(i);
        report.value = float(i) / 8;
        report.type = i % 2 ? ParamType::Real32 : ParamType::Int32;
        report.index = std::uint16_t(i);
        report.count = kParameters;
        emit bridge.parameterReported(report);
    }
}

// What one types, a key at a time, and then clears.
const QStringList kKeystrokes = {"g", "gr", "grp", "grp0", "grp07", "grp07_", "grp07_v", ""};

void filterThousandParameters(benchmark::State &state)
{
    FcSession session;
    fillStore(session.bridge());
    AllParametersWindow window(session, nullptr);
    window.show();
    QCoreApplication::processEvents();
    auto *filter = window.findChild<QLineEdit *>(QStringLiteral("parameterFilter"));
    int next = 0;
    for (auto _ : state) {
        filter->setText(kKeystrokes[next]);
        window.repaint();
        next = (next + 1) % kKeystrokes.size();
    }
}
BENCHMARK(filterThousandParameters)->Unit(benchmark::kMillisecond);

void openWindowOverThousandParameters(benchmark::State &state)
{
    FcSession session;
    fillStore(session.bridge());
    for (auto _ : state) {
        AllParametersWindow window(session, nullptr);
        window.show();
        window.repaint();
    }
}
BENCHMARK(openWindowOverThousandParameters)->Unit(benchmark::kMillisecond);

} // namespace
