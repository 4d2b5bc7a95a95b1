#include "pagesaves.h"

PageSaves::PageSaves(MavLinkBridge &bridge, ParameterStore &store, QObject *parent)
    : QObject(parent), bridge(bridge), heartbeat(bridge, store), writer(bridge, store, heartbeat)
{
    connect(&writer, &ParamWriter::finished, this, &PageSaves::writesEnded);
}

bool PageSaves::save(const QString &what, const Values &values)
{
    if (!bridge.isPortAttached())
        return false;
    Save save{what, {}};
    for (const auto &value : values) {
        PlannedWrite write;
        write.name = value.first;
        if (!MavLinkBridge::toWireValue(value.second, write.fileValue, write.type))
            continue;
        save.writes << write;
    }
    if (save.writes.isEmpty())
        return true;
    writer.sendFirstAttempts(save.writes);
    waiting.enqueue(save);
    if (!writing)
        startNext();
    return true;
}

void PageSaves::startNext()
{
    writing = !waiting.isEmpty();
    if (writing)
        writer.start(waiting.head().writes, ParamWriter::Pace::FirstAttemptsSent);
}

void PageSaves::writesEnded()
{
    const Save done = waiting.dequeue();
    emit saveEnded(outcomeOf(done));
    startNext();
}

void PageSaves::linkClosed()
{
    if (!writing)
        return;
    writer.stop();
    const SaveOutcome outcome = outcomeOf(waiting.head());
    waiting.clear();
    writing = false;
    // Told once the close is done: the report may open a modal box, and a
    // close can run inside the receive loop.
    QMetaObject::invokeMethod(
        this, [this, outcome] { emit saveEnded(outcome); }, Qt::QueuedConnection);
}

// Writes the run never reached count as unconfirmed, without a report.
SaveOutcome PageSaves::outcomeOf(const Save &save) const
{
    SaveOutcome outcome{save.what, 0, {}};
    for (const PlannedWrite &write : save.writes) {
        if (writer.confirmedNames().contains(write.name)) {
            ++outcome.confirmed;
            continue;
        }
        UnconfirmedWrite miss{write, false, 0.0f};
        for (const UnconfirmedWrite &known : writer.unconfirmedWrites()) {
            if (known.write.name == write.name)
                miss = known;
        }
        outcome.unconfirmed << miss;
    }
    return outcome;
}
