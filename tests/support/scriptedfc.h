#pragma once

#include "support/ptypair.h"

#include "mavlink/mavlinkparser.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

// What the line loses: indexes missing from the list, indexes never
// answered at all, and how many list requests go unheard.
struct Losses
{
    QSet<int> fromList;
    QSet<int> always;
    int listRequests = 0;
};

// A hand-made FC on the master side of a pseudo-terminal with three
// parameters (ZEFAVERSION 20, BRAVO, ALPHA): it answers the firmware
// version asked by name, the list and reads by index, less what the case
// loses. It may claim a count it cannot fill, and add to the list a report
// of ALPHA with another value (1.25) at an index of its choice.
class ScriptedFc : public QObject
{
public:
    static constexpr int kParameters = 3;

    explicit ScriptedFc(PtyPair &pty, const Losses &losses = {}, int claimedCount = kParameters,
                        int strayIndex = -1);

    // Every frame heard, described as in wire.h.
    QStringList heard;

private:
    void readLine();
    void answer(int msgid, int index, bool byName);
    void send(int index);
    void sendReport(int parameter, int index, float change = 0);

    PtyPair &line;
    Losses lost;
    std::uint16_t count;
    int stray;
    MavLinkParser parser;
    std::uint8_t sequence = 0;
    QTimer poll;
};
