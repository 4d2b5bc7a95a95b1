#pragma once

#include <QList>
#include <QString>

#include <functional>

// What the system tells about one serial port.
struct SerialPortDescription
{
    QString portName;
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString systemLocation;
    quint16 vendorIdentifier = 0;
    quint16 productIdentifier = 0;
};

using SerialPortLister = std::function<QList<SerialPortDescription>()>;

// The system's serial ports, in the order it lists them.
QList<SerialPortDescription> availableSerialPorts();

// Replaces the system's list, for tests; an empty function restores it.
void setSerialPortLister(SerialPortLister lister);

// The first port whose manufacturer names the FC's maker or its USB chip
// vendor (case-sensitive); when none does, the first with the USB
// identifiers of the FC's virtual COM port (0483:5740); empty when there is
// none.
QString findFlightControllerPort(const QList<SerialPortDescription> &ports);

// The port named for this run or by the user: the override when set, then
// ZEFA_GCS_PORT when set, then the port chosen in the window; empty for the
// search.
QString namedFlightControllerPort();

// The port to open: the named port, otherwise the search result.
QString flightControllerPortName();

// Whether the system lists the port or its device file exists.
bool isPortPresent(const QString &portName, const QList<SerialPortDescription> &ports);

// Why the port could not be opened, without a final stop: in plain words
// when the name is no device (no such port, a folder, a regular file),
// otherwise the port's own error string.
QString portOpenFailureReason(const QString &portName, QString portError);

// The port named on the command line; empty clears it.
void setFlightControllerPortOverride(const QString &portName);
