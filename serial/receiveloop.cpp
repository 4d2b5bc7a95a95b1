#include "app/mainwindow.h"

#include "mavlink/mavlinkbridge.h"

// Drains what the port holds now, byte by byte; later bytes wait for the next
// readyRead(). A slot run from here may close the port, so a failed read ends
// the loop instead of feeding the parser (a closed port is not even asked, to
// spare the warning of reading it).
void MainWindow::readData()
{
    const qint64 available = serial->bytesAvailable();
    for (qint64 i = 0; i < available; ++i) {
        char byte;
        if (!serial->isOpen() || !serial->getChar(&byte))
            return;
        if (rxParser.parseByte(static_cast<std::uint8_t>(byte))) {
            const MavLinkMessage received = rxParser.message();
            bridge->handleMessage(&received);
        }
    }
}
