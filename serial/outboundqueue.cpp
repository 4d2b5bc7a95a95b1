#include "outboundqueue.h"

#include <QSerialPort>
#include <QThread>

namespace {
constexpr qint64 kFrameSpacingMs = 20;
}

OutboundQueue::OutboundQueue(QSerialPort &port, QObject *parent) : QObject(parent), port(port)
{
    spacing.setSingleShot(true);
    connect(&spacing, &QTimer::timeout, this, &OutboundQueue::writeNext);
}

void OutboundQueue::send(const QByteArray &frame)
{
    pending.enqueue(frame);
    if (!spacing.isActive())
        writeNext();
}

void OutboundQueue::writeNext()
{
    const qint64 wait = msUntilLineFree();
    if (wait > 0) {
        spacing.start(int(wait));
        return;
    }
    write(pending.dequeue());
    if (!pending.isEmpty())
        spacing.start(int(kFrameSpacingMs));
}

void OutboundQueue::flush()
{
    spacing.stop();
    while (!pending.isEmpty()) {
        waitUntilLineFree();
        write(pending.dequeue());
    }
    waitUntilLineFree();
}

void OutboundQueue::discardPending()
{
    spacing.stop();
    pending.clear();
}

void OutboundQueue::waitUntilLineFree() const
{
    QThread::msleep(static_cast<unsigned long>(qMax<qint64>(0, msUntilLineFree())));
}

qint64 OutboundQueue::msUntilLineFree() const
{
    if (!sinceLastWrite.isValid())
        return 0;
    return kFrameSpacingMs - sinceLastWrite.elapsed();
}

// QSerialPort only buffers the bytes; pushed out now, the spacing is the
// line's, and a close right after cannot discard them.
void OutboundQueue::write(const QByteArray &frame)
{
    port.write(frame);
    port.flush();
    sinceLastWrite.start();
    emit frameSent(frame);
}
