#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// One value the FC holds, with its MAVLink type.
struct JournalValue
{
    QString name;
    std::uint8_t type = 0;
    float value = 0.0f;
};

// One write of a change set: the value before (unknown when the FC had not
// reported it), the value written, and what the FC made of it.
struct JournalChange
{
    enum class Outcome
    {
        Confirmed,
        Refused, // the FC reports another value: reported
        Unconfirmed,
    };

    QString name;
    std::uint8_t type = 0;
    bool beforeKnown = false;
    float before = 0.0f;
    float after = 0.0f;
    Outcome outcome = Outcome::Confirmed;
    float reported = 0.0f;

    // What the FC holds after the write, as far as it said.
    float heldAfter() const { return outcome == Outcome::Refused ? reported : after; }
};

// The writes of one user action: a page's Save, a restore, an All
// Parameters write, a --set run, an undo.
struct ChangeSet
{
    qint64 id = 0;
    QDateTime time;
    QString source;
    int systemId = -1;
    QString firmware;
    QList<JournalChange> changes;
    // The FC's whole list as read before a restore or an All Parameters
    // write: the value before of every parameter.
    QList<JournalValue> snapshot;

    int notConfirmedCount() const;
    // The value before as text; "unknown" where neither the write nor the
    // snapshot had one.
    QString beforeText(const JournalChange &change) const;
    // Empty for a confirmed write, else what became of it.
    static QString outcomeText(const JournalChange &change);
    // The value before, from the snapshot where the write had none.
    bool beforeOf(const JournalChange &change, float &value) const;
};

// The journal is text, one record per line, tab-separated, the kind first:
//   SET <id> <time, UTC> <system id> <firmware> <source>
//   SNAPSHOT <id> <name> <type> <value>
//   CHANGE <id> <name> <type> <before|unknown> <after> <outcome> [<reported>]
// Tabs, line breaks and % in a field are written %09, %0A, %0D and %25.
namespace JournalFormat {

QByteArray setLine(const ChangeSet &set);
QByteArray snapshotLine(qint64 id, const JournalValue &value);
QByteArray changeLine(qint64 id, const JournalChange &change);
// The whole set: its header, snapshot and changes.
QByteArray setLines(const ChangeSet &set);

} // namespace JournalFormat

// What could be read: the sets in the file's order, and the number of each
// line that could not (a torn last line, junk), for a note.
struct JournalContents
{
    QList<ChangeSet> sets;
    QList<int> skippedLines;
    qint64 lastId = 0;

    const ChangeSet *find(qint64 id) const;
    QString skippedNote(const QString &path) const;
};

JournalContents parseJournal(const QByteArray &bytes);
// A missing file is an empty journal.
JournalContents readJournal(const QString &path, QString &error);
