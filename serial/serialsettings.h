#pragma once

#include <QSerialPort>
#include <QString>

// Serial line settings, each value beside its text.
struct SerialSettings
{
    QString portName;
    qint32 baudRate = 0;
    QString baudRateText;
    QSerialPort::DataBits dataBits = QSerialPort::UnknownDataBits;
    QString dataBitsText;
    QSerialPort::Parity parity = QSerialPort::UnknownParity;
    QString parityText;
    QSerialPort::StopBits stopBits = QSerialPort::UnknownStopBits;
    QString stopBitsText;
    QSerialPort::FlowControl flowControl = QSerialPort::UnknownFlowControl;
    QString flowControlText;
};

// The only line settings the FC link ever uses.
SerialSettings fixedLineSettings(const QString &portName);
