#include "pagesaves.h"

#include <optional>

PageSaves::PageSaves(MavLinkBridge &bridge, WriteTurns &turns, QObject *parent)
    : QObject(parent), bridge(bridge), turns(turns), writer(turns.writer())
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
    const QString problem = writer.journalProblem();
    if (!problem.isEmpty())
        emit saveNotJournalled(what, problem);
    waiting.enqueue(save);
    if (turns.holds(this))
        writer.sendFirstAttempts(save.writes);
    else
        turns.request(this, [this] { turnGiven(); });
    return true;
}

// Every Save made while another feature wrote goes out now.
void PageSaves::turnGiven()
{
    for (const Save &save : qAsConst(waiting))
        writer.sendFirstAttempts(save.writes);
    startNext();
}

void PageSaves::startNext()
{
    if (waiting.isEmpty())
        turns.release(this);
    else
        writer.start(waiting.head().writes, waiting.head().what,
                     ParamWriter::Pace::FirstAttemptsSent);
}

void PageSaves::writesEnded()
{
    if (!turns.holds(this))
        return;
    const Save done = waiting.dequeue();
    emit saveEnded(outcomeOf(done));
    startNext();
}

void PageSaves::linkClosed()
{
    std::optional<SaveOutcome> cut;
    if (turns.holds(this)) {
        // First: the write in flight is kept with what the FC last said.
        writer.stop();
        cut = outcomeOf(waiting.head());
    }
    waiting.clear();
    turns.release(this);
    if (!cut)
        return;
    // Told once the close is done: the report may open a modal box, and a
    // close can run inside the receive loop.
    QMetaObject::invokeMethod(
        this, [this, outcome = *cut] { emit saveEnded(outcome); }, Qt::QueuedConnection);
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
