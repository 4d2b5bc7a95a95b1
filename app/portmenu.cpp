#include "app/portmenu.h"

#include "app/otherportdialog.h"
#include "serial/portchoice.h"
#include "serial/portlist.h"

#include <QAction>
#include <QMenu>

QString portLabel(const SerialPortDescription &port)
{
    if (port.description.isEmpty())
        return port.portName;
    return QStringLiteral("%1 - %2").arg(port.portName, port.description);
}

PortMenu::PortMenu(QMenu &menu, QAction &automatic, QAction &other, QWidget &window)
    : QObject(&window), menu(menu), automatic(automatic), other(other), window(window),
      entries(this)
{
    entries.addAction(&automatic);
    connect(&menu, &QMenu::aboutToShow, this, &PortMenu::rebuild);
    connect(&entries, &QActionGroup::triggered, this, &PortMenu::entryChosen);
    connect(&other, &QAction::triggered, this, &PortMenu::askForOtherPort);
    rebuild();
}

// The port entries are the menu's children; clearing the menu deletes them.
void PortMenu::rebuild()
{
    const QString chosen = PortChoice::namedPort();
    menu.clear();
    menu.addAction(&automatic);
    automatic.setChecked(chosen.isEmpty());
    bool chosenListed = false;
    for (const SerialPortDescription &port : availableSerialPorts()) {
        const bool isChosen =
            !chosen.isEmpty() && (port.portName == chosen || port.systemLocation == chosen);
        chosenListed = chosenListed || isChosen;
        addPortEntry(port.portName, portLabel(port), isChosen);
    }
    // Unplugged, or never listed: still the user's choice, shown as such.
    if (!chosen.isEmpty() && !chosenListed)
        addPortEntry(chosen, chosen, true);
    menu.addSeparator();
    menu.addAction(&other);
}

void PortMenu::addPortEntry(const QString &portName, const QString &label, bool chosen)
{
    QAction *entry = menu.addAction(label);
    entry->setCheckable(true);
    entry->setChecked(chosen);
    entry->setData(portName);
    entries.addAction(entry);
}

void PortMenu::entryChosen(QAction *entry)
{
    PortChoice::setNamedPort(entry == &automatic ? QString() : entry->data().toString());
    emit choiceChanged();
}

void PortMenu::askForOtherPort()
{
    const QString portName = askForPortName(&window, PortChoice::namedPort());
    if (portName.isEmpty())
        return;
    PortChoice::setNamedPort(portName);
    rebuild();
    emit choiceChanged();
}
