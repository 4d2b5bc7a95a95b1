#include "portlist.h"

#include "serial/portchoice.h"

#include <QCoreApplication>
#include <QFileInfo>
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

// The USB identifiers of the STM32 virtual COM port the FC presents.
bool isFlightControllerUsbPort(const SerialPortDescription &port)
{
    return port.vendorIdentifier == 0x0483 && port.productIdentifier == 0x5740;
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
// Windows' inbox driver (usbser.sys) reports itself, "Microsoft", as the
// manufacturer; only its USB identifiers still tell the FC's port.
QString findFlightControllerPort(const QList<SerialPortDescription> &ports)
{
    for (const SerialPortDescription &port : ports) {
        if (isFlightControllerManufacturer(port.manufacturer))
            return port.portName;
    }
    for (const SerialPortDescription &port : ports) {
        if (isFlightControllerUsbPort(port))
            return port.portName;
    }
    return QString();
}

void setFlightControllerPortOverride(const QString &portName)
{
    portOverride() = portName;
}

QString namedFlightControllerPort()
{
    if (!portOverride().isEmpty())
        return portOverride();
    const QString forced = qEnvironmentVariable("ZEFA_GCS_PORT");
    if (!forced.isEmpty())
        return forced;
    return PortChoice::namedPort();
}

QString flightControllerPortName()
{
    const QString named = namedFlightControllerPort();
    return named.isEmpty() ? findFlightControllerPort(availableSerialPorts()) : named;
}

// As QSerialPort resolves a name: a path as it is, otherwise a device in /dev.
QString portSystemPath(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    return portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
#endif
}

// A pseudo-terminal or an rfcomm device is not in the system's list, but
// its device file is there.
bool isPortPresent(const QString &portName, const QList<SerialPortDescription> &ports)
{
    if (portName.isEmpty())
        return false;
    for (const SerialPortDescription &port : ports) {
        if (port.portName == portName || port.systemLocation == portName)
            return true;
    }
    return QFileInfo::exists(portSystemPath(portName));
}

// QSerialPort tells "Inappropriate ioctl for device" of a regular file; on
// Windows port names are not files, and its own reason is all there is.
QString portOpenFailureReason(const QString &portName, QString portError)
{
#ifdef Q_OS_WIN
    Q_UNUSED(portName)
#else
    const QFileInfo file(portSystemPath(portName));
    if (!file.exists())
        return QCoreApplication::translate("SerialPorts", "there is no such port");
    if (file.isDir())
        return QCoreApplication::translate("SerialPorts", "it is a folder, not a serial port");
    if (file.isFile())
        return QCoreApplication::translate("SerialPorts",
                                           "it is a regular file, not a serial port");
#endif
    // Windows' system messages end in a full stop of their own.
    if (portError.endsWith(QLatin1Char('.')))
        portError.chop(1);
    return portError;
}
