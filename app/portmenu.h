#pragma once

#include <QActionGroup>
#include <QObject>

struct SerialPortDescription;
class QAction;
class QMenu;
class QWidget;

// How a port is named to the user: "NAME - DESCRIPTION", or the name alone.
QString portLabel(const SerialPortDescription &port);

// Action > Port: Automatic (the search), one entry per port the system
// lists, the port the user named even when it is not listed, and Other
// Port... for a name the system does not list. One choice, remembered
// across runs; the list is made afresh each time the menu opens.
class PortMenu : public QObject
{
    Q_OBJECT

public:
    PortMenu(QMenu &menu, QAction &automatic, QAction &other, QWidget &window);

signals:
    void choiceChanged();

private slots:
    void rebuild();
    void entryChosen(QAction *entry);
    void askForOtherPort();

private:
    void addPortEntry(const QString &portName, const QString &label, bool chosen);

    QMenu &menu;
    QAction &automatic;
    QAction &other;
    QWidget &window;
    QActionGroup entries;
};
