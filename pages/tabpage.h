#pragma once

#include "params/pagesaves.h"

#include <QObject>
#include <QStringList>

#include <initializer_list>

class MavLinkBridge;

// A tab's behaviour over the form's widgets: it reads through the bridge,
// shows what the FC reports and asks the window for its Saves.
class TabPage : public QObject
{
    Q_OBJECT

public:
    TabPage(MavLinkBridge &bridge, QObject *parent) : QObject(parent), mavlink(bridge) {}

    // The parameters the page shows: the window hands it every value of
    // them that the FC reports.
    virtual QStringList shownParameters() const { return {}; }
    // Puts a value of one of shownParameters() on the page.
    virtual void showParameter(const QString &, const QVariant &) {}

signals:
    // The user picked values to write; what names them in the status bar.
    void saveRequested(const QString &what, const PageSaves::Values &values);

protected:
    // Asks the FC for each parameter, in this order.
    void requestParameters(std::initializer_list<const char *> names);

    MavLinkBridge &mavlink;
};
