#include "fclink.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"
#include "serial/portlist.h"
#include "serial/serialsettings.h"

#include <QScopedValueRollback>
#include <QSocketNotifier>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace {
constexpr int kStopStreams = -1;
// The FC's streams arrive a frame at a time, a few milliseconds apart, and
// reading each at once woke the program for every one of them. After a read
// this small the port rests for one frame of a 60 Hz display, so that one
// wake-up takes all that came meanwhile. A larger read is a burst (the
// parameter list, a backlog), and the next read follows as soon as bytes
// come. The kernel keeps what arrives during a rest (a pseudo-terminal takes
// 20 KB before its writer must wait), more than a USB FC sends in 16 ms.
constexpr int kReadRestMs = 16;
constexpr qint64 kTrickleBytes = 512;
constexpr int kChunkBytes = 4096;
} // namespace

FcLink::FcLink(MavLinkBridge &bridge, QObject *parent)
    : QObject(parent), mavlink(bridge), serial(new QSerialPort(this)), outbound(*serial)
{
    connect(&mavlink, &MavLinkBridge::frameReady, &outbound, &OutboundQueue::send);
    connect(&outbound, &OutboundQueue::frameSent, this, &FcLink::frameSent);
    connect(&outbound, &OutboundQueue::frameSent, &mavlink, &MavLinkBridge::frameSent);
    connect(serial, &QSerialPort::readyRead, this, &FcLink::readAvailable);
    connect(serial, &QSerialPort::errorOccurred, this, &FcLink::portErrorOccurred);
    readRest.setSingleShot(true);
    readRest.setInterval(kReadRestMs);
    connect(&readRest, &QTimer::timeout, this, &FcLink::readRestEnded);
}

bool FcLink::open()
{
    const SerialSettings p = fixedLineSettings(flightControllerPortName());
    serial->setPortName(p.portName);
    serial->setBaudRate(p.baudRate);
    serial->setDataBits(p.dataBits);
    serial->setParity(p.parity);
    serial->setStopBits(p.stopBits);
    serial->setFlowControl(p.flowControl);
    if (!serial->open(QIODevice::ReadWrite))
        return false;
    // On Windows Qt waits for a comm event before its first read, and Wine
    // never completes that wait on a pseudo-terminal; setting the buffer size
    // starts the read at once, and each drained buffer starts the next. On
    // Unix it enables the read notifier, which open() already did.
    serial->setReadBufferSize(serial->readBufferSize());
    lossNoted = false;
    mavlink.attachSerialPort();
    emit opened(p.portName);
    return true;
}

void FcLink::requestFirmwareVersion()
{
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
}

// What still waits in the queue is stale: requests of a read that has
// ended, writes nobody waits for. Only the close sequence goes out.
void FcLink::close()
{
    outbound.discardPending();
    if (mavlink.isPortAttached()) {
        mavlink.requestRawSensorsStream(kStopStreams);
        mavlink.requestExtra1Stream(kStopStreams);
        mavlink.requestExtra2Stream(kStopStreams);
        mavlink.requestPositionStream(kStopStreams);
    }
    outbound.flush();
    readRest.stop();
    mavlink.detachSerialPort();
    serial->readAll();
    serial->close();
    emit closed();
}

// All the port holds, through a buffer on the stack: readAll() allocated a
// 16 KB array for each frame and grew and shrank it again. Later bytes wait
// for the next readyRead().
void FcLink::readAvailable()
{
    char chunk[kChunkBytes];
    qint64 count = 0;
    qint64 total = 0;
    while (serial->isOpen() && (count = serial->read(chunk, sizeof chunk)) > 0) {
        total += count;
        if (!parsed(chunk, count))
            return;
    }
    if (total < kTrickleBytes)
        restFromReading();
}

// A slot run from here may close the port: the bytes after the frame that
// did so are dropped, as the closed port would have dropped them (a closed
// port is not even asked, to spare the warning of reading it).
bool FcLink::parsed(const char *bytes, qint64 count)
{
    for (qint64 i = 0; i < count; ++i) {
        if (!serial->isOpen())
            return false;
        receiveByte(bytes[i]);
    }
    return serial->isOpen();
}

// Windows reads through Qt's own overlapped reads, which a notifier does not
// pace; there the port is read as Qt delivers it.
void FcLink::restFromReading()
{
#ifndef Q_OS_WIN
    if (!serial->isOpen() || lossNoted)
        return;
    setReadNotifierEnabled(false);
    readRest.start();
#endif
}

// What came during the rest is read here at once; the notifier is woken
// again only when the line was quiet (a hang-up reads as quiet, and Qt's
// read then reports it) or a burst began.
void FcLink::readRestEnded()
{
    if (!serial->isOpen() || lossNoted)
        return;
    const qint64 taken = readLineDirectly();
    if (!serial->isOpen() || lossNoted)
        return;
    if (taken > 0 && taken < kTrickleBytes)
        readRest.start();
    else
        setReadNotifierEnabled(true);
}

// Past QSerialPort, whose buffer is empty while the link rests (only its
// notifier fills it): a read through it would have Qt watch the line again
// when the buffer runs dry, right before the next rest stops that, each
// change a round through the event loop.
qint64 FcLink::readLineDirectly()
{
#ifdef Q_OS_WIN
    return 0;
#else
    char chunk[kChunkBytes];
    qint64 total = 0;
    ssize_t count = 0;
    while ((count = ::read(int(serial->handle()), chunk, sizeof chunk)) > 0) {
        total += count;
        if (!parsed(chunk, count) || count < ssize_t(sizeof chunk))
            break;
    }
    return total;
#endif
}

void FcLink::receiveBytes(const QByteArray &bytes)
{
    for (char byte : bytes)
        receiveByte(byte);
}

// Every connected slot runs to completion before the next byte is parsed.
void FcLink::receiveByte(char byte)
{
    rxParser.parseByte(static_cast<std::uint8_t>(byte), [this](const MavLinkMessage &frame) {
        const MavLinkMessage received = frame;
        const QScopedValueRollback<bool> handling(handlingFrame, true);
        emit frameReceived(received);
        mavlink.handleMessage(&received);
    });
}

void FcLink::portErrorOccurred(QSerialPort::SerialPortError error)
{
    const bool deviceGone =
        error == QSerialPort::ResourceError || (error != QSerialPort::NoError && lineHungUp());
    if (!deviceGone || lossNoted)
        return;
    lossNoted = true;
    readRest.stop();
    setReadNotifierEnabled(false);
    emit deviceLost();
}

// A USB serial device that disappears, like a pseudo-terminal whose other
// side closed, leaves the line hung up; Qt then often reports a read error
// (on Windows also a permission or unknown error, whatever the driver's
// failed read said) instead of the resource error. The handle tells.
bool FcLink::lineHungUp() const
{
    if (!serial->isOpen())
        return false;
#ifdef Q_OS_WIN
    DWORD errors = 0;
    return !ClearCommError(serial->handle(), &errors, nullptr);
#else
    pollfd pfd{static_cast<int>(serial->handle()), 0, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
#endif
}

void FcLink::setReadNotifierEnabled(bool enabled)
{
    for (QSocketNotifier *notifier : serial->findChildren<QSocketNotifier *>()) {
        if (notifier->type() == QSocketNotifier::Read)
            notifier->setEnabled(enabled);
    }
}
