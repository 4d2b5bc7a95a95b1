#include "paramtables.h"

#include "fcsim/parametertable.h"
#include "params/paramfile.h"
#include "params/paramtype.h"

#include <QFile>

#include <cstring>

namespace {

QString row(const QString &name, float value, int type)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return QStringLiteral("%1 %2 %3").arg(name).arg(bits, 8, 16, QLatin1Char('0')).arg(type);
}

} // namespace

QStringList tableRows(const ParameterTable &table, const ValueChanges &changes)
{
    QStringList rows;
    for (int i = 0; i < table.count(); ++i) {
        const FcParameter &p = table.at(i);
        rows << row(p.name, changes.value(p.name, p.value), p.type);
    }
    rows.sort();
    return rows;
}

QStringList fileRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const ParamFile parsed = parseParamFile(file.readAll());
    QStringList rows;
    for (const ParamFileEntry &e : parsed.entries)
        rows << row(e.name, e.value, e.type);
    return rows;
}

QByteArray backupOf(const ParameterTable &table, const ValueChanges &changes,
                    const QByteArray &extraLines)
{
    QList<ParameterReport> params;
    for (int i = 0; i < table.count(); ++i) {
        ParameterReport p;
        p.name = table.at(i).name;
        p.value = changes.value(p.name, table.at(i).value);
        p.type = table.at(i).type;
        p.systemId = p.componentId = 1;
        params << p;
    }
    const BackupHeader header{QStringLiteral("test"), QStringLiteral("20"), QDateTime()};
    return formatParamFile(header, params) + extraLines;
}

// Whole numbers stay in every integer type's range; floats change bits.
ValueChanges someChanges(const ParameterTable &table, int perType)
{
    ValueChanges changes;
    QMap<int, int> taken;
    for (int i = 1; i < table.count(); ++i) {
        const FcParameter &p = table.at(i);
        if (taken[p.type]++ >= perType)
            continue;
        const bool isFloat = p.type == ParamType::Real32;
        changes.insert(p.name, isFloat ? p.value * 1.5f + 0.1f : p.value > 0 ? 0 : 1);
    }
    return changes;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}
