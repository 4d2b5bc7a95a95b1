#include "portlist.h"

#include <QSerialPortInfo>

namespace {

QString &portOverride()
{
    static QString portName;
    return portName;
}

SerialPortLister &currentLister()
{
    static SerialPortLister lister;
    return lister;
}

QList<SerialPortDescription> systemSerialPorts()
{
    QList<SerialPortDescription> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortDescription port;
        port.portName = info.portName();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        port.systemLocation = info.systemLocation();
        port.vendorIdentifier = info.hasVendorIdentifier() ? info.vendorIdentifier() : 0;
        port.productIdentifier = info.hasProductIdentifier() ? info.productIdentifier() : 0;
        ports.append(port);
    }
    return ports;
}

bool isFlightControllerManufacturer(const QString &manufacturer)
{
    return manufacturer.contains(QLatin1String("ZEFA"), Qt::CaseSensitive) ||
           manufacturer.contains(QLatin1String("STMicroelectronics"), Qt::CaseSensitive);
}

} // namespace

QList<SerialPortDescription> availableSerialPorts()
{
    const SerialPortLister &lister = currentLister();
    return lister ? lister() : systemSerialPorts();
}

void setSerialPortLister(SerialPortLister lister)
{
    currentLister() = std::move(lister);
}

// The search stops at the first port that passes either test, so a
// "ZEFA" port listed later never wins over an earlier chip-vendor port.
QString findFlightControllerPort(const QList<SerialPortDescription> &ports)
{
    for (const SerialPortDescription &port : ports) {
        if (isFlightControllerManufacturer(port.manufacturer))
            return port.portName;
    }
    return QString();
}

void setFlightControllerPortOverride(const QString &portName)
{
    portOverride() = portName;
}

QString flightControllerPortName()
{
    if (!portOverride().isEmpty())
        return portOverride();
    const QString forced = qEnvironmentVariable("ZEFA_GCS_PORT");
    if (!forced.isEmpty())
        return forced;
    return findFlightControllerPort(availableSerialPorts());
}
