#pragma once

#include "mavlinkmessage.h"
#include "messagetypes.h"

#include <QObject>
#include <QString>
#include <QVariant>

// One PARAM_VALUE as the FC sent it: the value with its MAVLink type, where
// it sits in the FC's list, and the ids in the frame's header.
struct ParameterReport
{
    QString name;
    float value = 0.0f;
    std::uint8_t type = 0;
    std::uint16_t index = 0;
    std::uint16_t count = 0;
    std::uint8_t systemId = 0;
    std::uint8_t componentId = 0;
};
Q_DECLARE_METATYPE(ParameterReport)

// The one object that talks MAVLink to the flight controller: builds the
// frames the assistant sends, hands them on while a port is attached
// (frameReady; the link writes them), and turns received frames into
// signals.
class MavLinkBridge : public QObject
{
    Q_OBJECT

public:
    explicit MavLinkBridge(QObject *parent = nullptr);

    void attachSerialPort();
    void detachSerialPort();
    bool isPortAttached() const { return portAttached; }
    // The system the FC on this link speaks as; -1 until it is known.
    int knownFcSystemId() const { return fcSystemId; }

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
    // The whole list (PARAM_REQUEST_LIST), one parameter by its index, and a
    // write with the MAVLink type the FC gave the parameter.
    void requestParameterList(std::uint8_t component);
    void requestParameterByIndex(std::uint8_t component, std::int16_t index);
    void writeParameter(std::uint8_t component, const QString &name, float value,
                        std::uint8_t type);
    // The number and MAVLink type setParameter sends for a value; false, with
    // a critical message, for a type it refuses.
    static bool toWireValue(const QVariant &value, float &number, std::uint8_t &type);

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
    void parameterReported(ParameterReport report);
    // The FC's own heartbeat, from base_mode's safety-armed flag alone (0x80).
    void heartbeatReceived(bool armed);
    // A whole frame to write, emitted only while a port is attached.
    void frameReady(const QByteArray &frame);
    // A frame of frameReady has left on the line: the link that writes them
    // passes its queue's frameSent on, so that requests can be paced by it.
    void frameSent(const QByteArray &frame);

private:
    void requestDataStream(std::uint8_t streamId, std::uint16_t rate, bool start);
    void requestStreamAtRate(std::uint8_t streamId, int rate);
    void sendParamRequestRead(std::uint8_t component, std::int16_t index, const QString &name);
    void sendParamSet(std::uint8_t component, const QString &name, float value, std::uint8_t type);
    void sendFrame(MavLinkMessage &msg, std::uint8_t sysid, std::uint8_t compid,
                   std::uint8_t length, std::uint8_t extra);

    void forgetFc();
    bool isFcHeartbeat(const MavLinkMessage &msg);
    void decodeHeartbeat(const MavLinkMessage &msg);
    void decodeSysStatus(const MavLinkMessage &msg);
    void decodeParamValue(const MavLinkMessage &msg);
    void decodeRawImu(const MavLinkMessage &msg);
    void decodeAttitude(const MavLinkMessage &msg);
    void decodeRcChannelsRaw(const MavLinkMessage &msg);
    void decodeSensorOffsets(const MavLinkMessage &msg);
    void decodeStatusText(const MavLinkMessage &msg);

    bool portAttached = false;
    std::uint8_t txSequence = 0;
    // The system the FC on this link speaks as; -1 until it is known.
    int fcSystemId = -1;
    int othersHeartbeats = 0;
};
