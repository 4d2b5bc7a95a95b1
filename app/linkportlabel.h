#pragma once

#include <QLabel>

class FcLink;

// The status bar's permanent corner: the port the link is open on, empty
// while it is closed.
class LinkPortLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkPortLabel(FcLink &link);
};
