// History... over a journal of 10,000 change sets, the most it keeps: the
// dialog opened (the journal read, the list filled and painted). Runs in
// zefa-bench's offscreen application.
#include "app/historydialog.h"
#include "mavlink/messageset.h"
#include "params/changejournal.h"
#include "session/fcsession.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A page's Save of seven values each, as a Gain Save is.
QByteArray fullJournal()
{
    QByteArray bytes;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int id = 1; id <= ChangeJournal::kMostSets; ++id) {
        ChangeSet set;
        set.id = id;
        set.time = now.addSecs(id - ChangeJournal::kMostSets);
        set.source = QStringLiteral("Gain");
        set.systemId = 1;
        set.firmware = QStringLiteral("20");
        for (int i = 0; i < 7; ++i) {
            JournalChange change;
            change.name = QStringLiteral("RATE_RLL_P%1").arg(i);
            change.type = ParamType::Real32;
            change.beforeKnown = true;
            change.before = 0.15f;
            change.after = 0.18f + float(id) / 1e5f;
            set.changes << change;
        }
        bytes += JournalFormat::setLines(set);
    }
    return bytes;
}

void openHistoryOfTenThousandSets(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("changes.journal"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(fullJournal()) < 0)
        state.SkipWithError("cannot write the journal");
    file.close();
    qputenv("ZEFA_GCS_JOURNAL", path.toLocal8Bit());
    FcSession session;
    for (auto _ : state) {
        HistoryDialog dialog(session, nullptr);
        dialog.show();
        dialog.repaint();
    }
}
BENCHMARK(openHistoryOfTenThousandSets)->Unit(benchmark::kMillisecond);

} // namespace
