#pragma once

#include "mavlinkmessage.h"
#include "messagetypes.h"

#include <QObject>
#include <QString>
#include <QVariant>

class QSerialPort;

// The one object that talks MAVLink to the flight controller: builds and
// writes the frames the assistant sends, and turns received frames into
// signals.
class MavLinkBridge : public QObject
{
    Q_OBJECT

public:
    explicit MavLinkBridge(QObject *parent = nullptr);

    void setSerialPort(QSerialPort *port);
    void detachSerialPort();
    bool isPortAttached() const { return portAttached; }

    void requestAllStreams(int start);
    void requestRawSensorsStream(int rate);
    void requestExtendedStatusStream(int rate);
    void requestRcChannelsStream(int rate);
    void requestPositionStream(int rate);
    void requestExtra1Stream(int rate);
    void requestExtra2Stream(int rate);
    void requestExtra3Stream(int rate);

    void sendCommandLong(std::uint16_t command, std::uint8_t confirmation, float param1,
                         float param2, float param3, float param4, float param5, float param6,
                         float param7, std::uint8_t targetComponent);
    void sendCommandAck(std::uint16_t command, bool result);
    void requestParameter(std::uint8_t component, const QString &name);
    void setParameter(std::uint8_t component, const QString &name, const QVariant &value);

    int finalizeMessage(MavLinkMessage &msg, std::uint8_t sysid, std::uint8_t compid,
                        std::uint8_t length, std::uint8_t extra);

    void handleMessage(const MavLinkMessage *msg);

signals:
    void armedUpdate(bool);
    void setATT(double, double, double);
    void setBatt(float vlottage);
    void setRadioInput(unsigned short *rcinput);
    void setParam(QString &, QVariant);
    void textMessageReceived(int uasid, int componentid, int severity, QString text);
    void rawImuMessageUpdate(mavlink_raw_imu_t);
    void sensorOffsetsMessageUpdate(mavlink_sensor_offsets_t);
    void modeChanged(int sysId, uint8_t state);

private:
    void requestDataStream(std::uint8_t streamId, std::uint16_t rate, bool start);
    void requestStreamAtRate(std::uint8_t streamId, int rate);
    void sendFrame(MavLinkMessage &msg, std::uint8_t sysid, std::uint8_t compid,
                   std::uint8_t length, std::uint8_t extra);

    void decodeHeartbeat(const MavLinkMessage &msg);
    void decodeSysStatus(const MavLinkMessage &msg);
    void decodeParamValue(const MavLinkMessage &msg);
    void decodeRawImu(const MavLinkMessage &msg);
    void decodeAttitude(const MavLinkMessage &msg);
    void decodeRcChannelsRaw(const MavLinkMessage &msg);
    void decodeSensorOffsets(const MavLinkMessage &msg);
    void decodeStatusText(const MavLinkMessage &msg);

    QSerialPort *serialPort = nullptr;
    bool portAttached = false;
    std::uint8_t txSequence = 0;
};
