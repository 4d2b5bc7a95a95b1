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
// vendor (case-sensitive); empty when there is none.
QString findFlightControllerPort(const QList<SerialPortDescription> &ports);

// The port to open: the override when set, then ZEFA_GCS_PORT when set,
// otherwise the search result.
QString flightControllerPortName();

// The port named on the command line; empty clears it.
void setFlightControllerPortOverride(const QString &portName);
