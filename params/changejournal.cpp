#include "changejournal.h"

#include "filesync.h"
#include "paramfileio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const char kPathVariable[] = "ZEFA_GCS_JOURNAL";

QString tr(const char *text)
{
    return QCoreApplication::translate("ChangeJournal", text);
}

// The newest sets within the bound, oldest first.
QList<ChangeSet> setsWithinBound(const QList<ChangeSet> &sets)
{
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addDays(-ChangeJournal::kMostDays);
    QList<ChangeSet> kept;
    for (const ChangeSet &set : sets) {
        if (set.time >= oldest)
            kept << set;
    }
    return kept.mid(std::max(0, int(kept.size()) - ChangeJournal::kMostSets));
}
} // namespace

ChangeJournal::ChangeJournal(const QString &path) : filePath(path) {}

QString ChangeJournal::defaultPath()
{
    const QString chosen = qEnvironmentVariable(kPathVariable);
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/changes.journal");
}

QString ChangeJournal::problem(const QString &reason) const
{
    return tr("Cannot write the change journal %1: %2.")
        .arg(QDir::toNativeSeparators(filePath), reason);
}

// Another program may have appended meanwhile: the file is read again
// whenever its size is not the one this one left.
QString ChangeJournal::prepare()
{
    if (file.isOpen())
        return QString();
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return problem(tr("its folder cannot be created"));
    if (info.exists() ? info.size() != knownSize : knownSize != 0) {
        const QString failed = readAndBound();
        if (!failed.isEmpty())
            return failed;
    }
    file.setFileName(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return problem(file.errorString());
    return QString();
}

QString ChangeJournal::readAndBound()
{
    QString error;
    const JournalContents contents = readJournal(filePath, error);
    if (!error.isEmpty())
        return problem(error);
    lastId = contents.lastId;
    const QList<ChangeSet> kept = setsWithinBound(contents.sets);
    QByteArray bytes;
    if (kept.size() < contents.sets.size()) {
        for (const ChangeSet &set : kept)
            bytes += JournalFormat::setLines(set);
        if (!saveParamFile(filePath, bytes, error))
            return problem(error);
    } else {
        QFile existing(filePath);
        if (existing.open(QIODevice::ReadOnly) && existing.size() > 0) {
            existing.seek(existing.size() - 1);
            bytes = existing.read(1);
        }
    }
    lineBreakMissing = !bytes.isEmpty() && !bytes.endsWith('\n');
    knownSize = QFileInfo(filePath).size();
    return QString();
}

QString ChangeJournal::begin(ChangeSet set)
{
    const QString failed = prepare();
    if (!failed.isEmpty())
        return failed;
    writeError.clear();
    set.id = ++lastId;
    set.time = QDateTime::currentDateTimeUtc();
    currentId = set.id;
    // A line torn by a crash must not swallow the first of this set.
    append((lineBreakMissing ? QByteArray("\n") : QByteArray()) + JournalFormat::setLines(set));
    lineBreakMissing = false;
    if (writeError.isEmpty() && !syncToDisk(file))
        writeError = file.errorString();
    return writeError.isEmpty() ? QString() : problem(writeError);
}

void ChangeJournal::record(const JournalChange &change)
{
    if (isRecording())
        append(JournalFormat::changeLine(currentId, change));
}

QString ChangeJournal::end()
{
    if (!isRecording())
        return QString();
    currentId = 0;
    if (writeError.isEmpty() && !syncToDisk(file))
        writeError = file.errorString();
    knownSize = file.size();
    file.close();
    return writeError.isEmpty() ? QString() : problem(writeError);
}

void ChangeJournal::append(const QByteArray &lines)
{
    if (writeError.isEmpty() && (writeFully(file, lines) != lines.size() || !file.flush()))
        writeError = file.errorString();
}
