#pragma once

#include "journalformat.h"

#include <QFile>
#include <QString>

// The user's journal of every change written to an FC, appended to one
// change set at a time. Before a set begins, the file is opened, and when it
// holds more than kMostSets sets or sets older than kMostDays days it is
// rewritten without the oldest, in one step (a temporary file renamed over
// it). A set's lines are on the disk (flushed and synced) when end() returns.
class ChangeJournal
{
public:
    static constexpr int kMostSets = 10000;
    static constexpr int kMostDays = 365;

    explicit ChangeJournal(const QString &path = defaultPath());

    // ZEFA_GCS_JOURNAL when set, else changes.journal in the user's
    // application data folder.
    static QString defaultPath();
    const QString &path() const { return filePath; }

    // Opens the journal for the next set: empty when it can be written,
    // else why not ("Cannot write the change journal PATH: reason.").
    QString prepare();
    // The set's header and snapshot, on the disk before it returns; the set
    // gets the next id and the time.
    QString begin(ChangeSet set);
    void record(const JournalChange &change);
    // Empty when every line of the set reached the disk.
    QString end();
    bool isRecording() const { return currentId > 0; }

private:
    QString readAndBound();
    QString problem(const QString &reason) const;
    void append(const QByteArray &lines);

    QString filePath;
    QFile file;
    qint64 knownSize = -1;
    qint64 lastId = 0;
    qint64 currentId = 0;
    bool lineBreakMissing = false;
    QString writeError;
};
