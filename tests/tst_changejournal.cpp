#include "support/filesizelimit.h"

#include "params/changejournal.h"

#include "mavlink/messageset.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <limits>

// The change journal's file: what is written reads back exactly, a torn or
// foreign line costs only itself, and the bound drops the oldest sets in one
// step or not at all.

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ChangeSet setOf(qint64 id, const QDateTime &time)
{
    ChangeSet set;
    set.id = id;
    set.time = time;
    set.source = QStringLiteral("Gain");
    set.systemId = 1;
    set.firmware = QStringLiteral("20");
    JournalChange change;
    change.name = QStringLiteral("RTL_ALT");
    change.type = ParamType::Real32;
    change.beforeKnown = true;
    change.before = 1500;
    change.after = 2500;
    set.changes << change;
    return set;
}

// count sets, the first of them ageDays old, the others of today.
QByteArray journalOf(int count, int firstAgeDays)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QByteArray bytes;
    for (int id = 1; id <= count; ++id)
        bytes += JournalFormat::setLines(setOf(id, id == 1 ? now.addDays(-firstAgeDays) : now));
    return bytes;
}

QString recordOneSet(const QString &path)
{
    ChangeJournal journal(path);
    ChangeSet set = setOf(0, QDateTime());
    const JournalChange change = set.changes.takeFirst();
    const QString problem = journal.begin(set);
    journal.record(change);
    return problem + journal.end();
}

} // namespace

Q_DECLARE_METATYPE(JournalChange)

class TestChangeJournal : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void everyFieldReadsBackExactly_data();
    void everyFieldReadsBackExactly();
    void unreadableLinesCostOnlyThemselves_data();
    void unreadableLinesCostOnlyThemselves();
    void aSetAfterATornLineStartsOnItsOwnLine();
    void theBoundDropsOnlyTheOldest_data();
    void theBoundDropsOnlyTheOldest();
    void aFailedRewriteKeepsTheOldFileAndRefuses();
    void aFolderThatCannotBeMadeRefusesBeforeWriting();
};

void TestChangeJournal::everyFieldReadsBackExactly_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<JournalChange>("change");
    const auto change = [](const QString &name, std::uint8_t type, float after) {
        JournalChange made;
        made.name = name;
        made.type = type;
        made.beforeKnown = true;
        made.before = 1;
        made.after = after;
        return made;
    };
    QTest::newRow("float, shortest text") << "Gain" << change("ATC_RAT_RLL_P", 9, 0.15f);
    QTest::newRow("smallest subnormal") << "Gain" << change("X", 9, 1e-45f);
    QTest::newRow("largest float") << "Gain" << change("X", 9, std::numeric_limits<float>::max());
    QTest::newRow("negative zero") << "Gain" << change("X", 9, -0.0f);
    QTest::newRow("UINT32 above 2^24") << "Gain" << change("X", 5, 4294967040.0f);
    QTest::newRow("INT8 lowest") << "Gain" << change("X", 2, -128);
    QTest::newRow("tab, break and % in the source")
        << "Restore of a\tb\nc%09.params" << change("RTL_ALT", 9, 2);
    QTest::newRow("odd name") << QString::fromUtf8("页面") << change("A%B\tC", 4, -7);
    JournalChange unknown = change("FRAME", 1, 3);
    unknown.beforeKnown = false;
    QTest::newRow("unknown before") << "Frame" << unknown;
    JournalChange refused = change("SYS_CPU_WARN", 2, 100);
    refused.outcome = JournalChange::Outcome::Refused;
    refused.reported = 90;
    QTest::newRow("refused") << "command line" << refused;
    JournalChange unconfirmed = change("RTL_ALT", 9, 2);
    unconfirmed.outcome = JournalChange::Outcome::Unconfirmed;
    QTest::newRow("unconfirmed") << "All Parameters" << unconfirmed;
}

void TestChangeJournal::everyFieldReadsBackExactly()
{
    QFETCH(QString, source);
    QFETCH(JournalChange, change);
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    ChangeJournal journal(path);
    ChangeSet set;
    set.source = source;
    set.systemId = 7;
    set.firmware = QStringLiteral("20");
    set.snapshot = {{change.name, change.type, change.before}, {"Z", 9, 0.1f}};
    QCOMPARE(journal.begin(set), QString());
    journal.record(change);
    QCOMPARE(journal.end(), QString());

    QString error;
    const JournalContents read = readJournal(path, error);
    QCOMPARE(error, QString());
    QCOMPARE(read.skippedLines, QList<int>());
    QCOMPARE(read.sets.size(), 1);
    const ChangeSet &back = read.sets.constFirst();
    QCOMPARE(back.id, qint64(1));
    QCOMPARE(back.source, source);
    QCOMPARE(back.systemId, 7);
    QCOMPARE(back.firmware, QStringLiteral("20"));
    QVERIFY(qAbs(back.time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    QCOMPARE(back.snapshot.size(), 2);
    QVERIFY(sameBits(back.snapshot.at(1).value, 0.1f));
    QCOMPARE(back.changes.size(), 1);
    const JournalChange &got = back.changes.constFirst();
    QCOMPARE(got.name, change.name);
    QCOMPARE(got.type, change.type);
    QCOMPARE(got.beforeKnown, change.beforeKnown);
    QVERIFY(!got.beforeKnown || sameBits(got.before, change.before));
    QVERIFY2(sameBits(got.after, change.after), qPrintable(QString::number(got.after)));
    QCOMPARE(got.outcome, change.outcome);
    QVERIFY(sameBits(got.heldAfter(), change.heldAfter()));
}

void TestChangeJournal::unreadableLinesCostOnlyThemselves_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<qint64>>("ids");
    QTest::addColumn<QList<int>>("skipped");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QByteArray one = JournalFormat::setLines(setOf(1, now));
    const QByteArray two = JournalFormat::setLines(setOf(2, now));
    QTest::newRow("torn last line")
        << one + two.left(two.size() - 3) << QList<qint64>{1, 2} << QList<int>{4};
    QTest::newRow("torn last value, still a number")
        << one + JournalFormat::setLine(setOf(2, now)) +
               JournalFormat::snapshotLine(2, {"RTL_ALT", ParamType::Real32, 1500}).chopped(3)
        << QList<qint64>{1, 2} << QList<int>{4};
    QTest::newRow("junk in the middle") << one + QByteArray("\x01\xff\x00junk\t\t\n", 10) + two
                                        << QList<qint64>{1, 2} << QList<int>{3};
    QTest::newRow("binary junk only") << QByteArray("\x7f"
                                                    "ELF\x02\x01\x01\x00\n\xff\xfe\n\n",
                                                    13)
                                      << QList<qint64>{} << QList<int>{1, 2, 3};
    QByteArray change = two.mid(two.indexOf("CHANGE"));
    QTest::newRow("change of a set never begun")
        << one + change << QList<qint64>{1} << QList<int>{3};
    QTest::newRow("bad escape") << one + QByteArray(two).replace("Gain", "G%4") << QList<qint64>{1}
                                << QList<int>{3, 4};
    QTest::newRow("unknown type") << one + QByteArray(two).replace("REAL32", "REAL64")
                                  << QList<qint64>{1, 2} << QList<int>{4};
    QTest::newRow("a set's id twice") << one + one << QList<qint64>{1} << QList<int>{3};
}

void TestChangeJournal::unreadableLinesCostOnlyThemselves()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qint64>, ids);
    QFETCH(QList<int>, skipped);
    const JournalContents read = parseJournal(bytes);
    QList<qint64> readIds;
    for (const ChangeSet &set : read.sets)
        readIds << set.id;
    QCOMPARE(readIds, ids);
    QCOMPARE(read.skippedLines, skipped);
}

void TestChangeJournal::aSetAfterATornLineStartsOnItsOwnLine()
{
    const QString path = dir.filePath("torn.journal");
    const QByteArray whole = journalOf(1, 0);
    writeFile(path, whole + "CHANGE\t1\tRTL_A");
    QCOMPARE(recordOneSet(path), QString());
    QString error;
    const JournalContents read = readJournal(path, error);
    QCOMPARE(read.skippedLines, QList<int>{3});
    QCOMPARE(read.sets.size(), 2);
    QCOMPARE(read.sets.at(1).id, 2);
    QCOMPARE(read.sets.at(1).changes.size(), 1);
    QVERIFY(contentOf(path).startsWith(whole));
}

void TestChangeJournal::theBoundDropsOnlyTheOldest_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("firstAgeDays");
    QTest::addColumn<qint64>("firstIdKept");
    QTest::newRow("10,000 sets: all kept") << ChangeJournal::kMostSets << 0 << qint64(1);
    QTest::newRow("10,001 sets: the oldest goes") << ChangeJournal::kMostSets + 1 << 0 << qint64(2);
    QTest::newRow("364 days old: kept") << 3 << ChangeJournal::kMostDays - 1 << qint64(1);
    QTest::newRow("366 days old: goes") << 3 << ChangeJournal::kMostDays + 1 << qint64(2);
}

// The bound applies before the next set is written; the new one follows.
void TestChangeJournal::theBoundDropsOnlyTheOldest()
{
    QFETCH(int, count);
    QFETCH(int, firstAgeDays);
    QFETCH(qint64, firstIdKept);
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    writeFile(path, journalOf(count, firstAgeDays));
    QCOMPARE(recordOneSet(path), QString());
    QString error;
    const JournalContents read = readJournal(path, error);
    QCOMPARE(read.skippedLines, QList<int>());
    QCOMPARE(read.sets.constFirst().id, firstIdKept);
    QCOMPARE(read.sets.size(), count + 2 - int(firstIdKept));
    QCOMPARE(read.sets.constLast().id, qint64(count + 1));
}

// A full disk during the rewrite: the set is refused, the file untouched.
void TestChangeJournal::aFailedRewriteKeepsTheOldFileAndRefuses()
{
    const QString path = dir.filePath("full.journal");
    const QByteArray old = journalOf(ChangeJournal::kMostSets + 1, 0);
    writeFile(path, old);
    QString problem;
    {
        const FileSizeLimit full(4096);
        problem = ChangeJournal(path).prepare();
    }
    QCOMPARE(problem, "Cannot write the change journal " + path + ": File too large.");
    QVERIFY(contentOf(path) == old);
    QCOMPARE(QDir(dir.path()).entryList({"full.journal*"}, QDir::Files | QDir::Hidden),
             QStringList{"full.journal"});
}

void TestChangeJournal::aFolderThatCannotBeMadeRefusesBeforeWriting()
{
    const QString notAFolder = dir.filePath("plain-file");
    writeFile(notAFolder, "x");
    const QString path = notAFolder + "/changes.journal";
    ChangeJournal journal(path);
    QCOMPARE(journal.prepare(),
             "Cannot write the change journal " + path + ": its folder cannot be created.");
    QVERIFY(!journal.begin(setOf(0, QDateTime())).isEmpty());
    QVERIFY(!journal.isRecording());
}

QTEST_GUILESS_MAIN(TestChangeJournal)

#include "tst_changejournal.moc"
