#include "serial/portwatch.h"

#include "serial/portlist.h"

namespace {
constexpr int kPollIntervalMs = 1000;
}

PortWatch::PortWatch(QObject *parent) : QObject(parent)
{
    timer.setInterval(kPollIntervalMs);
    connect(&timer, &QTimer::timeout, this, &PortWatch::poll);
}

void PortWatch::switchOn(bool onNow)
{
    on = onNow;
    targetChanged();
}

void PortWatch::linkOpened(const QString &portName)
{
    linkOpen = true;
    passedOver = portName;
    followLink();
}

void PortWatch::linkClosed()
{
    linkOpen = false;
    followLink();
}

void PortWatch::portLost()
{
    passedOver.clear();
}

// While the link is open the port it is open on stays passed over.
void PortWatch::targetChanged()
{
    if (!linkOpen)
        passedOver.clear();
    followLink();
    if (isPolling())
        poll();
}

void PortWatch::followLink()
{
    if (on && !linkOpen)
        timer.start();
    else
        timer.stop();
}

void PortWatch::poll()
{
    const QList<SerialPortDescription> ports = availableSerialPorts();
    const QString named = namedFlightControllerPort();
    const QString target = named.isEmpty() ? findFlightControllerPort(ports) : named;
    if (!isPortPresent(target, ports)) {
        passedOver.clear();
        return;
    }
    if (target == passedOver)
        return;
    passedOver = target;
    emit portAppeared();
}
