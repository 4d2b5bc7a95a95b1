#include "journalformat.h"

#include "paramfileio.h"
#include "paramtype.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

const char kSet[] = "SET";
const char kSnapshot[] = "SNAPSHOT";
const char kChange[] = "CHANGE";
const char kUnknown[] = "unknown";
// A journal is read whole; one far beyond any bound is not a journal.
constexpr qint64 kMostJournalBytes = qint64(1) << 29;

const char *outcomeName(JournalChange::Outcome outcome)
{
    switch (outcome) {
    case JournalChange::Outcome::Confirmed:
        return "confirmed";
    case JournalChange::Outcome::Refused:
        return "refused";
    case JournalChange::Outcome::Unconfirmed:
        break;
    }
    return "unconfirmed";
}

QByteArray escaped(const QString &field)
{
    QByteArray text = field.toUtf8();
    text.replace('%', "%25").replace('\t', "%09").replace('\n', "%0A").replace('\r', "%0D");
    return text;
}

bool unescaped(const QByteArray &field, QString &text)
{
    if (!field.contains('%')) {
        text = QString::fromUtf8(field);
        return true;
    }
    QByteArray bytes;
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) != '%') {
            bytes += field.at(i);
            continue;
        }
        bool ok = false;
        const int code = field.mid(i + 1, 2).toInt(&ok, 16);
        if (!ok || i + 2 >= field.size())
            return false;
        bytes += char(code);
        i += 2;
    }
    text = QString::fromUtf8(bytes);
    return true;
}

QByteArray record(const char *kind, qint64 id, const QStringList &fields)
{
    QByteArray line = QByteArray(kind) + '\t' + QByteArray::number(id);
    for (const QString &field : fields)
        line += '\t' + escaped(field);
    return line + '\n';
}

// One line's fields after its kind and id.
class LineReader
{
public:
    explicit LineReader(const QByteArray &line) : raw(line.split('\t')) {}

    QByteArray kind() const { return raw.value(0); }
    qint64 id() const { return raw.value(1).toLongLong(); }
    int size() const { return raw.size(); }
    bool text(int at, QString &field) const { return unescaped(raw.value(at), field); }
    bool type(int at, std::uint8_t &type) const
    {
        QString name;
        type = std::uint8_t(text(at, name) ? ParamType::typeNamed(name) : 0);
        return type != 0;
    }
    bool value(int at, float &number) const { return ParamType::parseFloat(raw.value(at), number); }

private:
    QList<QByteArray> raw;
};

bool readSet(const LineReader &line, ChangeSet &set)
{
    QString time;
    QString systemId;
    bool ok = false;
    if (line.size() != 6 || !line.text(2, time) || !line.text(3, systemId) ||
        !line.text(4, set.firmware) || !line.text(5, set.source))
        return false;
    set.id = line.id();
    set.time = QDateTime::fromString(time, Qt::ISODateWithMs);
    set.systemId = systemId.toInt(&ok);
    return ok && set.id > 0 && set.time.isValid();
}

bool readSnapshot(const LineReader &line, JournalValue &value)
{
    return line.size() == 5 && line.text(2, value.name) && line.type(3, value.type) &&
           line.value(4, value.value);
}

bool readOutcome(const LineReader &line, JournalChange &change)
{
    QString outcome;
    if (!line.text(6, outcome))
        return false;
    for (auto candidate : {JournalChange::Outcome::Confirmed, JournalChange::Outcome::Refused,
                           JournalChange::Outcome::Unconfirmed}) {
        if (outcome != QLatin1String(outcomeName(candidate)))
            continue;
        change.outcome = candidate;
        if (candidate == JournalChange::Outcome::Refused)
            return line.size() == 8 && line.value(7, change.reported);
        return line.size() == 7;
    }
    return false;
}

bool readChange(const LineReader &line, JournalChange &change)
{
    QString before;
    if (line.size() < 7 || !line.text(2, change.name) || !line.type(3, change.type) ||
        !line.text(4, before) || !line.value(5, change.after))
        return false;
    change.beforeKnown = before != QLatin1String(kUnknown);
    if (change.beforeKnown && !line.value(4, change.before))
        return false;
    return readOutcome(line, change);
}

class JournalParser
{
public:
    bool read(const QByteArray &raw)
    {
        const LineReader line(raw);
        if (line.kind() == kSet)
            return readSetLine(line);
        ChangeSet *set = setOf(line.id());
        if (!set)
            return false;
        if (line.kind() == kSnapshot) {
            JournalValue value;
            if (!readSnapshot(line, value))
                return false;
            set->snapshot << value;
            return true;
        }
        JournalChange change;
        if (line.kind() != kChange || !readChange(line, change))
            return false;
        set->changes << change;
        return true;
    }

    JournalContents contents;

private:
    bool readSetLine(const LineReader &line)
    {
        ChangeSet set;
        if (!readSet(line, set) || indexOf.contains(set.id))
            return false;
        indexOf.insert(set.id, contents.sets.size());
        contents.sets << set;
        contents.lastId = std::max(contents.lastId, set.id);
        return true;
    }

    ChangeSet *setOf(qint64 id)
    {
        const auto found = indexOf.constFind(id);
        return found == indexOf.constEnd() ? nullptr : &contents.sets[*found];
    }

    QHash<qint64, int> indexOf;
};

} // namespace

int ChangeSet::notConfirmedCount() const
{
    return int(std::count_if(changes.begin(), changes.end(), [](const JournalChange &change) {
        return change.outcome != JournalChange::Outcome::Confirmed;
    }));
}

bool ChangeSet::beforeOf(const JournalChange &change, float &value) const
{
    if (change.beforeKnown) {
        value = change.before;
        return true;
    }
    for (const JournalValue &held : snapshot) {
        if (held.name == change.name) {
            value = held.value;
            return true;
        }
    }
    return false;
}

QString ChangeSet::beforeText(const JournalChange &change) const
{
    float value = 0.0f;
    return beforeOf(change, value) ? ParamType::valueText(value, change.type)
                                   : QCoreApplication::translate("ChangeJournal", "unknown");
}

QString ChangeSet::outcomeText(const JournalChange &change)
{
    switch (change.outcome) {
    case JournalChange::Outcome::Confirmed:
        break;
    case JournalChange::Outcome::Refused:
        return QCoreApplication::translate("ChangeJournal", "refused, the FC holds %1")
            .arg(ParamType::valueText(change.reported, change.type));
    case JournalChange::Outcome::Unconfirmed:
        return QCoreApplication::translate("ChangeJournal", "not confirmed");
    }
    return QString();
}

QByteArray JournalFormat::setLine(const ChangeSet &set)
{
    return record(kSet, set.id,
                  {set.time.toUTC().toString(Qt::ISODateWithMs), QString::number(set.systemId),
                   set.firmware, set.source});
}

QByteArray JournalFormat::snapshotLine(qint64 id, const JournalValue &value)
{
    return record(kSnapshot, id,
                  {value.name, ParamType::typeName(value.type),
                   ParamType::valueText(value.value, value.type)});
}

QByteArray JournalFormat::changeLine(qint64 id, const JournalChange &change)
{
    QStringList fields{change.name, ParamType::typeName(change.type),
                       change.beforeKnown ? ParamType::valueText(change.before, change.type)
                                          : QString::fromLatin1(kUnknown),
                       ParamType::valueText(change.after, change.type),
                       QString::fromLatin1(outcomeName(change.outcome))};
    if (change.outcome == JournalChange::Outcome::Refused)
        fields << ParamType::valueText(change.reported, change.type);
    return record(kChange, id, fields);
}

QByteArray JournalFormat::setLines(const ChangeSet &set)
{
    QByteArray lines = setLine(set);
    for (const JournalValue &value : set.snapshot)
        lines += snapshotLine(set.id, value);
    for (const JournalChange &change : set.changes)
        lines += changeLine(set.id, change);
    return lines;
}

const ChangeSet *JournalContents::find(qint64 id) const
{
    for (const ChangeSet &set : sets) {
        if (set.id == id)
            return &set;
    }
    return nullptr;
}

QString JournalContents::skippedNote(const QString &path) const
{
    if (skippedLines.isEmpty())
        return QString();
    QStringList numbers;
    for (int line : skippedLines)
        numbers << QString::number(line);
    return QCoreApplication::translate("ChangeJournal",
                                       "Lines of %1 skipped, as they cannot be read: %2.")
        .arg(QDir::toNativeSeparators(path), numbers.join(QStringLiteral(", ")));
}

// A last line without its line break was torn by a crash: skipped, even
// where it reads as a shorter value.
JournalContents parseJournal(const QByteArray &bytes)
{
    JournalParser parser;
    const QList<QByteArray> lines = bytes.split('\n');
    const int whole = lines.size() - 1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (i == whole && line.isEmpty())
            break;
        if (i == whole || !parser.read(line))
            parser.contents.skippedLines << i + 1;
    }
    return parser.contents;
}

JournalContents readJournal(const QString &path, QString &error)
{
    QByteArray bytes;
    if (QFileInfo::exists(path) && !readRegularFile(path, kMostJournalBytes, bytes, error))
        return {};
    return parseJournal(bytes);
}
