#pragma once

#include "serial/portlist.h"

#include <QList>
#include <QTemporaryDir>

// A port whose manufacturer string the search recognises.
SerialPortDescription fcPort(const QString &portName);

// Stands in for the system's port list while it lives, counting its reads;
// the test changes `ports` as devices come and go.
class ListedPorts
{
public:
    explicit ListedPorts(QList<SerialPortDescription> listed = {});
    ~ListedPorts();
    ListedPorts(const ListedPorts &) = delete;
    ListedPorts &operator=(const ListedPorts &) = delete;

    // Runs the event loop until the list has been read count more times.
    bool waitForReads(int count);

    QList<SerialPortDescription> ports;
    int reads = 0;
};

// The user's settings in a fresh folder while it lives: a window built
// meanwhile starts from the defaults.
class SettingsFolder
{
public:
    SettingsFolder();

private:
    QTemporaryDir folder;
};
