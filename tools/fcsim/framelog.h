#pragma once

#include <QElapsedTimer>
#include <QObject>

class FcSimulator;
class QIODevice;
struct MavLinkMessage;

// Writes every frame the simulator sends or receives as one text line:
//
//   <ms since start> <sender> <message id> <frame in hex>
//
// with sender FC (sent by the simulator, before any line noise) or GCS
// (received from the assistant), e.g.
//   1503 GCS 20 eb14000001...
//   1504 FC 22 eb1900010116...
class FrameLog : public QObject
{
    Q_OBJECT

public:
    FrameLog(FcSimulator &simulator, QIODevice &out, QObject *parent = nullptr);

private:
    void write(const char *sender, const MavLinkMessage &msg);

    QIODevice &device;
    QElapsedTimer clock;
};
