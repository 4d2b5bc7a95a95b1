#include "restoreplan.h"

#include "paramtype.h"

#include "fc/fcconventions.h"

#include <algorithm>

namespace {

bool isReadOnly(const QString &name)
{
    return name == QLatin1String(Fc::kFirmwareVersionParam);
}

} // namespace

ParamFileError planRestore(const QList<ParamFileEntry> &file,
                           const QHash<QString, ParameterReport> &fc, RestorePlan &plan)
{
    plan = RestorePlan();
    QHash<QString, const ParamFileEntry *> firstOfName;
    for (const ParamFileEntry &entry : file) {
        const auto found = fc.constFind(entry.name);
        const ParamFileEntry *first = firstOfName.value(entry.name);
        if (first && found != fc.constEnd() &&
            !ParamType::sameStoredValue(found->type, first->value, entry.value))
            return {entry.line, RestorePlan::tr("%1 was given another value on line %2")
                                    .arg(entry.name)
                                    .arg(first->line)};
        if (first)
            continue;
        firstOfName.insert(entry.name, &entry);
        if (found == fc.constEnd()) {
            plan.unknownNames << entry.name;
            continue;
        }
        const ParameterReport &onFc = *found;
        plan.fcSystemId = onFc.systemId;
        if (entry.systemId >= 0 && entry.systemId != onFc.systemId && !plan.isForAnotherVehicle())
            plan.otherSystemId = entry.systemId;
        const QString problem = ParamType::integerProblem(onFc.type, entry.number);
        if (!problem.isEmpty())
            return {entry.line, problem};
        if (ParamType::sameStoredValue(onFc.type, onFc.value, entry.value))
            ++plan.alreadyEqual;
        else if (isReadOnly(entry.name))
            plan.readOnlyNames << entry.name;
        else
            plan.writes.append({entry.name, onFc.value, entry.value, onFc.type});
    }
    std::sort(plan.writes.begin(), plan.writes.end(),
              [](const PlannedWrite &a, const PlannedWrite &b) { return a.name < b.name; });
    return {};
}

QString RestorePlan::summary() const
{
    QString text = tr("To write: %1; already equal: %2.").arg(writes.size()).arg(alreadyEqual);
    if (!unknownNames.isEmpty())
        text += QLatin1Char(' ') + tr("Not on the FC, skipped: %1.").arg(unknownNames.join(", "));
    if (!readOnlyNames.isEmpty())
        text += QLatin1Char(' ') + tr("Never written: %1.").arg(readOnlyNames.join(", "));
    return text;
}

QString RestorePlan::otherVehicleText() const
{
    return tr("The file was saved from system id %1; this FC is system id %2.")
        .arg(otherSystemId)
        .arg(fcSystemId);
}

QString RestorePlan::changeText(const PlannedWrite &write)
{
    return QStringLiteral("%1: %2 -> %3")
        .arg(write.name, ParamType::valueText(write.fcValue, write.type),
             ParamType::valueText(write.fileValue, write.type));
}
