#include "fc/statustexts.h"

namespace Fc {

QByteArray accelFacePrompt(const QByteArray &vehicle, const AccelFace &face)
{
    return QByteArray(kAccelPromptStart) + ' ' + vehicle + ' ' + face.placement + ' ' +
           kAccelPromptEnd + '.';
}

QByteArray preArmReport(const QByteArray &problem)
{
    return QByteArray(kPreArm) + ": " + problem;
}

} // namespace Fc
