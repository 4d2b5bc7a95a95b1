#pragma once

#include "mavlink/mavlinkparser.h"
#include "serial/outboundqueue.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

class MavLinkBridge;

// The serial link to the FC that the window, the command line and the fuzz
// target share: finding and opening the port, the receive loop with the one
// parser (joined to the port here, so whoever builds a link reads from it),
// the signs of a lost device, the paced queue of frames to send, and the
// close sequence. Every frame in and out passes frameReceived and frameSent.
// Shows nothing; what to tell the user is the front end's business.
class FcLink : public QObject
{
    Q_OBJECT

public:
    explicit FcLink(MavLinkBridge &bridge, QObject *parent = nullptr);

    QSerialPort *port() const { return serial; }
    MavLinkBridge &bridge() const { return mavlink; }
    // While the bridge handles a frame: that frame.
    const MavLinkMessage &lastReceived() const { return rxParser.message(); }
    // While frameReceived() and the bridge's signals of a frame are handled.
    // No event loop may start then: the port tells of new bytes only once
    // the slot that read the last ones has returned.
    bool isHandlingFrame() const { return handlingFrame; }

    // Opens the port the command line or ZEFA_GCS_PORT names, or else the
    // FC's manufacturer search finds, with the fixed line settings, and
    // attaches the bridge. False when it cannot be opened.
    bool open();
    void requestFirmwareVersion();
    // Drops the frames still waiting to be sent, stops the streams while the
    // bridge can still send, detaches it, drops what is left on the line and
    // closes the port.
    void close();

    // Runs bytes through the receive path exactly as readAvailable() does
    // with bytes read from the port.
    void receiveBytes(const QByteArray &bytes);

    // Frames the parser dropped for a bad checksum since the program started.
    std::uint32_t rejectedFrames() const { return rxParser.failedFrames(); }

    // True while frames wait for their turn on the line.
    bool isSending() const { return !outbound.isEmpty(); }

signals:
    // The port is open and the bridge attached; portName as it was resolved.
    void opened(const QString &portName);
    void frameSent(const QByteArray &frame);
    // A checksum-valid frame, before the bridge decodes it.
    void frameReceived(const MavLinkMessage &frame);
    // The port is closed; the close sequence's frames have passed frameSent.
    void closed();
    // Once per opened link, at the first port error that means the device
    // has gone; reading has stopped then, because a hung-up line keeps
    // raising errors. The port is still open: closing is the user's call.
    void deviceLost();

private slots:
    // Drains what the port holds now into the parser.
    void readAvailable();
    void readRestEnded();
    void portErrorOccurred(QSerialPort::SerialPortError error);

private:
    bool parsed(const char *bytes, qint64 count);
    qint64 readLineDirectly();
    void receiveByte(char byte);
    bool lineHungUp() const;
    void restFromReading();
    void setReadNotifierEnabled(bool enabled);

    MavLinkBridge &mavlink;
    QSerialPort *serial;
    // Never reset, so a frame cut by a disconnect simply fails its checksum.
    MavLinkParser rxParser;
    OutboundQueue outbound;
    QTimer readRest;
    bool lossNoted = false;
    bool handlingFrame = false;
};
