#include "framelog.h"

#include "fcsimulator.h"

#include <QIODevice>

FrameLog::FrameLog(FcSimulator &simulator, QIODevice &out, QObject *parent)
    : QObject(parent), device(out)
{
    clock.start();
    connect(&simulator, &FcSimulator::frameSent, this,
            [this](const MavLinkMessage &msg) { write("FC", msg); });
    connect(&simulator, &FcSimulator::frameReceived, this,
            [this](const MavLinkMessage &msg) { write("GCS", msg); });
}

void FrameLog::write(const char *sender, const MavLinkMessage &msg)
{
    const QByteArray frame(reinterpret_cast<const char *>(msg.frameBegin()), msg.frameLength());
    device.write(QByteArray::number(clock.elapsed()) + ' ' + sender + ' ' +
                 QByteArray::number(msg.msgid) + ' ' + frame.toHex() + '\n');
}
