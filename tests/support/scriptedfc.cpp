#include "scriptedfc.h"

#include "support/wire.h"

#include "fc/fcconventions.h"
#include "fcsim/fcmessages.h"

namespace {
struct FcParam
{
    const char *name;
    float value;
    std::uint8_t type;
};

const FcParam kParams[ScriptedFc::kParameters] = {
    {Fc::kFirmwareVersionParam, Fc::kSupportedFirmware, ParamType::Int32},
    {"BRAVO", -3, ParamType::Int8},
    {"ALPHA", 0.25f, ParamType::Real32}};
} // namespace

ScriptedFc::ScriptedFc(PtyPair &pty, const Losses &losses, int claimedCount, int strayIndex)
    : line(pty), lost(losses), count(std::uint16_t(claimedCount)), stray(strayIndex)
{
    connect(&poll, &QTimer::timeout, this, &ScriptedFc::readLine);
    poll.start(2);
}

void ScriptedFc::readLine()
{
    for (char byte : line.readUntilQuiet(0)) {
        parser.parseByte(std::uint8_t(byte), [this](const MavLinkMessage &msg) {
            WireFrame frame;
            frame.msg = msg;
            heard << describe(frame);
            const bool isRead = frame.msgid() == MavMsg::ParamRequestRead;
            answer(frame.msgid(), isRead ? frame.paramIndex() : -1,
                   isRead && !frame.paramName().isEmpty());
        });
    }
}

void ScriptedFc::answer(int msgid, int index, bool byName)
{
    if (msgid == MavMsg::ParamRequestList && lost.listRequests-- <= 0) {
        for (int listed = 0; listed < kParameters; ++listed) {
            if (!lost.fromList.contains(listed))
                send(listed);
        }
        if (stray >= 0)
            sendReport(kParameters - 1, stray, 1);
    } else if (msgid == MavMsg::ParamRequestRead && byName) {
        sendReport(0, 0); // the firmware version, the only name asked
    } else if (msgid == MavMsg::ParamRequestRead && index < kParameters) {
        send(index);
    }
}

void ScriptedFc::send(int index)
{
    if (!lost.always.contains(index))
        sendReport(index, index);
}

void ScriptedFc::sendReport(int parameter, int index, float change)
{
    const FcParam &p = kParams[parameter];
    MavLinkMessage msg = FcMessages::paramValue(QString::fromLatin1(p.name), p.value + change,
                                                p.type, count, std::uint16_t(index));
    line.write(FcMessages::toWire(msg, sequence++));
}
