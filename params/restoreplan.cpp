#include "restoreplan.h"

#include "paramtype.h"

#include "pages/fcconventions.h"

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
    for (const ParamFileEntry &entry : file) {
        const auto found = fc.constFind(entry.name);
        if (found == fc.constEnd()) {
            plan.unknownNames << entry.name;
            continue;
        }
        const ParameterReport &onFc = *found;
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

QString RestorePlan::changeText(const PlannedWrite &write)
{
    return QStringLiteral("%1: %2 -> %3")
        .arg(write.name, ParamType::valueText(write.fcValue, write.type),
             ParamType::valueText(write.fileValue, write.type));
}
