#pragma once

#include "params/pagesaves.h"

#include <QObject>

#include <initializer_list>

class MavLinkBridge;

// A tab's behaviour over the form's widgets: it reads through the bridge,
// shows what the FC reports and asks the window for its Saves.
class TabPage : public QObject
{
    Q_OBJECT

public:
    TabPage(MavLinkBridge &bridge, QObject *parent) : QObject(parent), mavlink(bridge) {}

    // Puts a value the FC reported on the page, if it is one of the page's.
    virtual void showParameter(const QString &name, const QVariant &value) = 0;

signals:
    // The user picked values to write; what names them in the status bar.
    void saveRequested(const QString &what, const PageSaves::Values &values);

protected:
    // Asks the FC for each parameter, in this order.
    void requestParameters(std::initializer_list<const char *> names);

    MavLinkBridge &mavlink;
};
