#include "app/linkportlabel.h"

#include "serial/fclink.h"

LinkPortLabel::LinkPortLabel(FcLink &link)
{
    setObjectName(QStringLiteral("linkPortLabel"));
    connect(&link, &FcLink::opened, this, &QLabel::setText);
    connect(&link, &FcLink::closed, this, &QLabel::clear);
}
