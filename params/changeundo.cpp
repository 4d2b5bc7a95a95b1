#include "changeundo.h"

#include "parameterstore.h"
#include "paramtype.h"
#include "writeturns.h"

#include "fc/fcconventions.h"
#include "fc/firmware.h"

#include <cmath>

namespace {
// As the writer's reads back: an answer comes at once or not at all.
constexpr int kReadAttempts = 6;
constexpr int kReadTimeoutMs = 500;
} // namespace

ChangeUndo::ChangeUndo(MavLinkBridge &bridge, ParameterStore &store, HeartbeatWatch &heartbeat,
                       WriteTurns &turns, QObject *parent)
    : QObject(parent), bridge(bridge), heartbeat(heartbeat), turns(turns), writer(turns.writer())
{
    qRegisterMetaType<UndoReport>();
    readWait.setSingleShot(true);
    connect(&readWait, &QTimer::timeout, this, &ChangeUndo::readNext);
    connect(&store, &ParameterStore::parameterReceived, this, &ChangeUndo::parameterReported);
    connect(&writer, &ParamWriter::finished, this, &ChangeUndo::writesEnded);
}

ChangeUndo::~ChangeUndo()
{
    turns.release(this);
}

void ChangeUndo::start(const ChangeSet &set)
{
    setId = set.id;
    running = true;
    writing = false;
    for (QList<Candidate> *list : {&candidates, &toWrite, &changedSince})
        list->clear();
    unknownBefore.clear();
    leftAlone.clear();
    now.clear();
    readNames.clear();
    for (const JournalChange &change : set.changes) {
        Candidate candidate{change, 0.0f};
        if (set.beforeOf(change, candidate.before)) {
            candidates << candidate;
            readNames << change.name;
        } else {
            unknownBefore << change.name;
        }
    }
    // The firmware version goes into the undo's own record.
    readNames << QString::fromLatin1(Fc::kFirmwareVersionParam);
    const QString journalProblem = writer.journalProblem();
    if (heartbeat.armed())
        fail(tr("The FC is armed. Disarm it before undoing changes."));
    else if (candidates.isEmpty())
        fail(tr("Nothing of change set %1 can be undone.").arg(setId));
    else if (!journalProblem.isEmpty())
        fail(journalProblem);
    else
        turns.request(this, [this] {
            reading = 0;
            readAttempts = 0;
            readNext();
        });
}

void ChangeUndo::readNext()
{
    if (!running)
        return;
    if (reading == readNames.size()) {
        classify();
        return;
    }
    if (readAttempts == kReadAttempts) {
        fail(tr("The FC did not report %1.").arg(readNames.at(reading)));
        return;
    }
    ++readAttempts;
    bridge.requestParameter(Fc::kComponent, readNames.at(reading));
    readWait.start(kReadTimeoutMs);
}

// A value that is no number tells nothing: the read goes on.
void ChangeUndo::parameterReported(const ParameterReport &report)
{
    if (!running || writing || reading >= readNames.size() ||
        report.name != readNames.at(reading) || !std::isfinite(report.value))
        return;
    now.insert(report.name, report);
    ++reading;
    readAttempts = 0;
    readWait.start(0);
}

// Already back where it was: nothing to write.
void ChangeUndo::classify()
{
    for (const Candidate &candidate : qAsConst(candidates)) {
        const ParameterReport &held = now[candidate.change.name];
        if (ParamType::sameStoredValue(held.type, held.value, candidate.before))
            continue;
        if (ParamType::sameStoredValue(held.type, held.value, candidate.change.heldAfter()))
            toWrite << candidate;
        else
            changedSince << candidate;
    }
    if (changedSince.isEmpty()) {
        writeBack(toWrite);
        return;
    }
    QStringList lines;
    for (const Candidate &candidate : qAsConst(changedSince))
        lines << changedSinceText(candidate);
    QMetaObject::invokeMethod(
        this, [this, lines] { emit changedSinceFound(lines); }, Qt::QueuedConnection);
}

QString ChangeUndo::changedSinceText(const Candidate &candidate) const
{
    const JournalChange &change = candidate.change;
    const ParameterReport &held = now[change.name];
    return tr("%1: set to %2, the FC now holds %3, before it was %4")
        .arg(change.name, ParamType::valueText(change.heldAfter(), held.type),
             ParamType::valueText(held.value, held.type),
             ParamType::valueText(candidate.before, held.type));
}

void ChangeUndo::proceed(bool withChangedSince)
{
    if (!running || writing)
        return;
    QList<Candidate> chosen = toWrite;
    for (const Candidate &candidate : qAsConst(changedSince)) {
        if (withChangedSince)
            chosen << candidate;
        else
            leftAlone << candidate.change.name;
    }
    writeBack(chosen);
}

// With the FC's own type, as it reported it just now.
void ChangeUndo::writeBack(const QList<Candidate> &chosen)
{
    if (chosen.isEmpty()) {
        end(leftAlone.isEmpty() && unknownBefore.isEmpty(),
            tr("Nothing was written: the FC holds the values before already."));
        return;
    }
    QList<PlannedWrite> writes;
    for (const Candidate &candidate : chosen) {
        const ParameterReport &held = now[candidate.change.name];
        writes << PlannedWrite{held.name, held.value, candidate.before, held.type};
    }
    writing = true;
    writer.start(writes, tr("Undo of %1").arg(setId));
}

void ChangeUndo::writesEnded(ParamWriter::Ending ending)
{
    if (!running || !turns.holds(this))
        return;
    switch (ending) {
    case ParamWriter::Ending::Done:
    case ParamWriter::Ending::Cancelled:
        end(writer.unconfirmedNames().isEmpty() && leftAlone.isEmpty() && unknownBefore.isEmpty(),
            writer.summary());
        break;
    case ParamWriter::Ending::Armed:
        fail(tr("The FC was armed; the undo stopped."));
        break;
    case ParamWriter::Ending::NoHeartbeat:
        fail(tr("No heartbeat from the FC; the undo stopped."));
        break;
    }
}

void ChangeUndo::linkClosed()
{
    if (running)
        fail(tr("The link to the FC was closed."));
}

QString ChangeUndo::notUndoneText() const
{
    QString text;
    if (!leftAlone.isEmpty())
        text += QLatin1Char(' ') +
                tr("Changed since, left alone: %1.").arg(leftAlone.join(QStringLiteral(", ")));
    if (!unknownBefore.isEmpty())
        text += QLatin1Char(' ') + tr("The value before is unknown, not undone: %1.")
                                       .arg(unknownBefore.join(QStringLiteral(", ")));
    return text;
}

void ChangeUndo::fail(const QString &message)
{
    end(false, writing ? message + QLatin1Char(' ') + writer.summary()
                       : message + QLatin1Char(' ') + tr("Nothing was written."));
}

void ChangeUndo::end(bool succeeded, const QString &message)
{
    running = false;
    readWait.stop();
    turns.release(this);
    const UndoReport report{succeeded, message + notUndoneText()};
    QMetaObject::invokeMethod(
        this, [this, report] { emit finished(report); }, Qt::QueuedConnection);
}
