#include "app/historycommand.h"

#include "cli/argumentreader.h"
#include "params/changejournal.h"
#include "params/paramtype.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void printError(const QString &message)
{
    std::fprintf(stderr, "zefa-gcs: %s\n", message.toLocal8Bit().constData());
}

// The journal as far as it reads; false when it cannot be read at all.
bool readUserJournal(JournalContents &contents)
{
    const QString path = ChangeJournal::defaultPath();
    QString error;
    contents = readJournal(path, error);
    if (!error.isEmpty()) {
        printError(
            QCoreApplication::translate("HistoryCommand", "Cannot read the change journal %1: %2.")
                .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    if (!contents.skippedLines.isEmpty())
        printError(contents.skippedNote(path));
    return true;
}

QString setText(const ChangeSet &set)
{
    QStringList lines{
        QStringLiteral("%1\t%2\t%3\t%4")
            .arg(set.id)
            .arg(set.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), set.source)
            .arg(set.changes.size())};
    for (const JournalChange &change : set.changes) {
        QString line = QStringLiteral("  %1 %2 -> %3")
                           .arg(change.name, set.beforeText(change),
                                ParamType::valueText(change.after, change.type));
        const QString outcome = ChangeSet::outcomeText(change);
        if (!outcome.isEmpty())
            line += QStringLiteral(" (%1)").arg(outcome);
        lines << line;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

int printHistory(int count)
{
    JournalContents contents;
    if (!readUserJournal(contents))
        return 1;
    if (contents.sets.isEmpty())
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate("HistoryCommand",
                                                 "The change journal %1 holds no change set.")
                         .arg(QDir::toNativeSeparators(ChangeJournal::defaultPath()))
                         .toLocal8Bit()
                         .constData());
    QByteArray text;
    for (int i = int(contents.sets.size()) - 1; i >= 0 && count > 0; --i, --count)
        text += setText(contents.sets.at(i)).toLocal8Bit();
    const bool written =
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}

int findChangeSet(qint64 id, ChangeSet &set)
{
    JournalContents contents;
    if (!readUserJournal(contents))
        return 1;
    const ChangeSet *found = contents.find(id);
    if (!found) {
        printError(QCoreApplication::translate("HistoryCommand",
                                               "No change set %1 in the change journal %2.")
                       .arg(id)
                       .arg(QDir::toNativeSeparators(ChangeJournal::defaultPath())));
        return kUsageErrorStatus;
    }
    set = *found;
    return 0;
}
