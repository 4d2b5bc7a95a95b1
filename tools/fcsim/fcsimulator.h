#pragma once

#include "linenoise.h"
#include "parametertable.h"
#include "streamtimer.h"

#include "mavlink/mavlinkmessage.h"
#include "mavlink/mavlinkparser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <random>

// A simulated R7 flight controller, as far as the assistant can tell: no
// transport of its own. Bytes from the assistant go in through
// receiveBytes(); everything the FC sends leaves through bytesOut(). Join it
// to a line with SimulatorPtyLink, or drive it directly.
//
//   PtyPair pty;                                // the assistant opens the slave
//   FcSimulator sim;
//   SimulatorPtyLink link(pty.masterFd(), sim); // FC on the master
//   ... the assistant connects, reads, writes ...
//   sim.parameter("RC1_MIN");                   // what the assistant wrote
//   parseFrames(sim.receivedBytes());           // everything it sent
//   link.stop(); pty.closeMaster();             // unplug the FC
//
// Everything runs on the calling thread: answers go out when its event loop
// runs (QTRY_* in tests). With a link on the master, what the assistant sent
// is read from the simulator, not from the pty.
//
// What it does:
// - parameters: a table of about 400 (ParameterTable). PARAM_REQUEST_LIST
//   sends all of them in index order, paced as a 115200 baud line carries
//   them (about 1.4 s), while everything else goes on; a new request starts
//   again at index 0. PARAM_REQUEST_READ is answered by name, or by index
//   when the index is not -1; PARAM_SET stores the value as the parameter's
//   own type holds it and answers with that. "ZEFAVERSION" is read-only.
//   Unknown names and indexes get no answer, as on the real FC. Every
//   parameter answer is sent as PARAM_VALUE with the FC's own type, and
//   setParamDropRate() loses a share of them. clampParameter() narrows what
//   a write may store.
// - streams: REQUEST_DATA_STREAM sends a stream at the requested rate in
//   hertz, capped at 50 Hz (65535 too); rate 0 or start 0 stops it. Stream
//   3 sends RC_CHANNELS_RAW, 2 SYS_STATUS, 10 ATTITUDE. The other streams
//   (1, 6, 11, 12) carry nothing the assistant shows: they are kept as
//   asked for but send nothing. 0 (all) sets every one of these streams at
//   once. setStreamRate() runs every started stream at one rate instead.
//   HEARTBEAT goes out at 1 Hz always.
// - radio: sticks (channels 1-4) sweep 1100..1900 us, resting a moment at
//   each end, switches (5-8) step through 1100/1500/1900 once a second,
//   until setRadio() fixes the values. They move with the clock, whatever
//   the rate the assistant watches them at.
// - battery: SYS_STATUS reports the voltage at the FC's sense pin (1.2 V,
//   setBatteryPinVoltage()) times BATT_VOLT_MULT, so a voltage calibration
//   moves the reported voltage.
// - accelerometer: COMMAND_LONG 241 with param5 = 1 starts six severity-5
//   prompts ("Place FC ... and press any key."), each COMMAND_ACK
//   moves to the next face, after the sixth "Calibration successful" (or
//   "Calibration FAILED" after setAccelCalibrationFails(true)).
// - self-test: COMMAND_LONG 241 with param6 = 2 sends severity-3 "PreArm: "
//   texts for what is not done yet: "RC not calibrated" until an RCn_MIN or
//   RCn_MAX was written, "INS not calibrated" until an accelerometer
//   calibration succeeded; "PreArm: checks passed" when nothing is left.
class FcSimulator : public QObject
{
    Q_OBJECT

public:
    explicit FcSimulator(QObject *parent = nullptr);

    // Value of "ZEFAVERSION"; 20 keeps the assistant connected.
    void setFirmwareVersion(int version);
    // Garble this fraction of the bytes sent and slip in 0xFE frames.
    void setFaultRate(double rate, std::uint32_t seed = 1);
    // Leave out this fraction of the parameter answers: list, reads, write
    // echoes.
    void setParamDropRate(double rate, std::uint32_t seed = 1);
    // Keep written values of name within lowest..highest, as an FC with
    // tighter limits does; the echo then reports the clamped value.
    void clampParameter(const QString &name, float lowest, float highest);

    // The parameter table. parameter() is NaN for a name the FC lacks;
    // setParameter() changes a value without telling the assistant.
    bool hasParameter(const QString &name) const;
    float parameter(const QString &name) const;
    void setParameter(const QString &name, float value);
    const ParameterTable &parameterTable() const { return params; }
    bool isSendingParameterList() const { return listTimer.isActive(); }

    // What the assistant sent: every checksum-valid frame, and the raw
    // bytes as they arrived (parseFrames() of the test support reads them).
    const QList<MavLinkMessage> &receivedFrames() const { return received; }
    const QByteArray &receivedBytes() const { return receivedRaw; }
    void clearReceived();

    // Live values. setRadio() fixes the eight channels in microseconds; an
    // empty list returns to sweeping. setAttitude() fixes the angles in
    // radians.
    void setRadio(const QVector<std::uint16_t> &channels);
    void setAttitude(float roll, float pitch, float yaw);
    void setBatteryPinVoltage(float volts) { pinVoltage = volts; }

    // Streams by MAVLink stream id. startStream() acts as a request from
    // the assistant would; streamRate() is the rate a stream runs at, 0 when
    // stopped. setStreamRate() forces every started stream to hz, above the
    // cap too (for demonstrations and load tests); 0 honours the requests.
    void startStream(int streamId, int hz);
    void setStreamRate(double hz);
    double streamRate(int streamId) const;
    bool isStreaming(int streamId) const { return streamRate(streamId) > 0; }

    // The heartbeat's safety-armed flag; a silenced FC sends no heartbeat.
    void setArmed(bool isArmed) { armed = isArmed; }
    void setHeartbeatSilenced(bool silenced);

    void setAccelCalibrationFails(bool fails) { accelFails = fails; }
    bool accelCalibrated() const { return accelDone; }
    bool rcCalibrated() const { return rcLimitsWritten; }

    // Send at once, outside any dialogue; sendParameter() is never dropped.
    void sendStatusText(int severity, const QString &text);
    void sendParameter(const QString &name);

public slots:
    void receiveBytes(const QByteArray &bytes);

signals:
    // Bytes for the line, noise included.
    void bytesOut(const QByteArray &bytes);
    // For logs: each frame as sent (before noise) and as received.
    void frameSent(const MavLinkMessage &msg);
    void frameReceived(const MavLinkMessage &msg);

private:
    struct Attitude
    {
        float roll, pitch, yaw;
    };

    void handleFrame(const MavLinkMessage &msg);
    void handleParamRequestList();
    void handleParamRequestRead(const MavLinkMessage &msg);
    void handleParamSet(const MavLinkMessage &msg);
    void handleRequestDataStream(const MavLinkMessage &msg);
    void handleCommandLong(const MavLinkMessage &msg);
    void handleCommandAck();

    void updateStreamTimers();
    void sendParameterAt(int index);
    void answerParameter(int index);
    bool dropsParamAnswer();
    void sendParameterListBurst();
    void sendPreArmReport();
    void startAccelCalibration();
    void sendAccelPrompt();
    void finishAccelCalibration();

    void sendHeartbeat();
    void sendRadio();
    void sendAttitude();
    void sendSysStatus();
    QVector<std::uint16_t> sweptRadio(std::uint32_t ms) const;
    Attitude movingAttitude(std::uint32_t ms) const;
    std::uint32_t timeBootMs() const;
    void send(MavLinkMessage msg);

    ParameterTable params;
    MavLinkParser parser;
    LineNoise noise;
    std::uint8_t txSequence = 0;
    QList<MavLinkMessage> received;
    QByteArray receivedRaw;

    QElapsedTimer bootClock;
    QTimer heartbeatTimer;
    StreamTimer radioTimer;
    StreamTimer attitudeTimer;
    StreamTimer statusTimer;
    QHash<int, int> requestedRates; // stream id to hertz as asked, 0 stopped
    double forcedRate = 0;

    QTimer listTimer;
    QElapsedTimer listClock;
    int listNext = 0;
    double paramDropRate = 0.0;
    struct Limits
    {
        float lowest, highest;
    };
    QHash<QString, Limits> clamps;
    std::mt19937 dropRandom;
    std::uniform_real_distribution<double> dropChance{0.0, 1.0};

    QVector<std::uint16_t> fixedRadio;
    bool attitudeFixed = false;
    Attitude fixedAttitude = {0, 0, 0};
    float pinVoltage = 1.2f;

    int accelFace = -1; // -1: no calibration running
    bool accelFails = false;
    bool accelDone = false;
    bool rcLimitsWritten = false;
    bool armed = false;
};
