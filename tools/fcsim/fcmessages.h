#pragma once

#include "mavlink/mavlinkmessage.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Messages as the flight controller sends them. Each builder fills msgid,
// len and the payload in MAVLink 1.0 wire order; toWire() adds header,
// sequence and checksum.
namespace FcMessages {

// What the FC puts into the header of every frame.
constexpr std::uint8_t kSystemId = 1;
constexpr std::uint8_t kComponentId = 1;

MavLinkMessage heartbeat(std::uint8_t baseMode);
MavLinkMessage sysStatus(std::uint16_t batteryMillivolts);
MavLinkMessage paramValue(const QString &name, float value, std::uint8_t type,
                          std::uint16_t count = 1, std::uint16_t index = 0);
// At most kMavStatusTextLength bytes of text; a shorter text is zero-padded.
MavLinkMessage statusText(std::uint8_t severity, const QByteArray &text);
// Missing channels are sent as 0.
MavLinkMessage rcChannelsRaw(const QVector<std::uint16_t> &channels, std::uint32_t timeBootMs = 0);
// Angles in radians.
MavLinkMessage attitude(float roll, float pitch, float yaw, std::uint32_t timeBootMs = 0);

// The frame's bytes as they go on the line.
QByteArray toWire(MavLinkMessage &msg, std::uint8_t seq);

} // namespace FcMessages
