#include "serialsettings.h"

SerialSettings fixedLineSettings(const QString &portName)
{
    SerialSettings s;
    s.portName = portName;
    s.baudRate = QSerialPort::Baud115200;
    s.baudRateText = QString::number(s.baudRate);
    s.dataBits = QSerialPort::Data8;
    s.dataBitsText = QStringLiteral("8");
    s.parity = QSerialPort::NoParity;
    s.parityText = QStringLiteral("None");
    s.stopBits = QSerialPort::OneStop;
    s.stopBitsText = QStringLiteral("1");
    s.flowControl = QSerialPort::NoFlowControl;
    s.flowControlText = QStringLiteral("None");
    return s;
}
