#include "support/processcpu.h"

#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Keeps every core of the machine busy, twice over, until destroyed.
class BusyMachine
{
public:
    BusyMachine()
    {
        const int spinners = 2 * std::max(1, QThread::idealThreadCount());
        for (int i = 0; i < spinners; ++i)
            threads.emplace_back([this] {
                while (!stop.load(std::memory_order_relaxed)) {
                }
            });
    }
    ~BusyMachine()
    {
        stop = true;
        for (std::thread &thread : threads)
            thread.join();
    }

private:
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

} // namespace

// The unplug and simulator suites judge "idle" by this share; it must tell a
// spinning event loop from a sleeping one even while other work crowds the
// cores, or those checks would pass a spinning loop on a loaded machine.
class CpuShare : public QObject
{
    Q_OBJECT

private slots:
    void tellsSpinningFromSleeping_data();
    void tellsSpinningFromSleeping();
};

void CpuShare::tellsSpinningFromSleeping_data()
{
    QTest::addColumn<int>("timerMs");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("spins");
    QTest::newRow("sleeping") << -1 << false << false;
    QTest::newRow("sleeping, loaded machine") << -1 << true << false;
    QTest::newRow("10 ms timer, loaded machine") << 10 << true << false;
    QTest::newRow("spinning") << 0 << false << true;
    QTest::newRow("spinning, loaded machine") << 0 << true << true;
}

void CpuShare::tellsSpinningFromSleeping()
{
    QFETCH(int, timerMs);
    QFETCH(bool, loaded);
    QFETCH(bool, spins);
    QTimer timer;
    if (timerMs >= 0)
        timer.start(timerMs);
    std::unique_ptr<BusyMachine> load(loaded ? new BusyMachine : nullptr);

    const double share = cpuShareWhileRunningEventLoop(500);
    QVERIFY2((share > kIdleCpuShareLimit) == spins, qPrintable(QString::number(share)));
}

QTEST_GUILESS_MAIN(CpuShare)
#include "tst_cpushare.moc"
