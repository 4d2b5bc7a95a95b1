#include "pages/tabpage.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"

void TabPage::requestParameters(std::initializer_list<const char *> names)
{
    for (const char *name : names)
        mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(name));
}
