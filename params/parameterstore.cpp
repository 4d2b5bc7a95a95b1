#include "parameterstore.h"

#include "paramtype.h"

#include <algorithm>
#include <cmath>

namespace {
bool nameBefore(const StoredParameter &stored, const QString &name)
{
    return stored.name < name;
}

} // namespace

ParameterStore::ParameterStore(MavLinkBridge &bridge, QObject *parent) : QAbstractTableModel(parent)
{
    connect(&bridge, &MavLinkBridge::parameterReported, this, &ParameterStore::record);
}

int ParameterStore::rowOf(const QString &name) const
{
    const auto it = std::lower_bound(rows.cbegin(), rows.cend(), name, nameBefore);
    return it != rows.cend() && it->name == name ? int(it - rows.cbegin()) : -1;
}

const StoredParameter *ParameterStore::find(const QString &name) const
{
    const int row = rowOf(name);
    return row < 0 ? nullptr : &rows.at(row);
}

void ParameterStore::clear()
{
    beginResetModel();
    rows.clear();
    lastCount = 0;
    endResetModel();
}

void ParameterStore::record(const ParameterReport &report)
{
    if (!std::isfinite(report.value)) {
        emit parameterReceived(report);
        return;
    }
    const StoredParameter stored{report.name,  report.value, report.type,
                                 report.index, report.count, QDateTime::currentDateTimeUtc()};
    lastCount = report.count;
    const int row =
        int(std::lower_bound(rows.cbegin(), rows.cend(), report.name, nameBefore) - rows.cbegin());
    if (row < rows.size() && rows.at(row).name == report.name) {
        rows[row] = stored;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    } else {
        beginInsertRows(QModelIndex(), row, row);
        rows.insert(row, stored);
        endInsertRows();
    }
    emit parameterReceived(report);
}

int ParameterStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int ParameterStore::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ParameterStore::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows.size())
        return QVariant();
    const StoredParameter &stored = rows.at(index.row());
    switch (index.column()) {
    case NameColumn:
        return stored.name;
    case ValueColumn:
        return ParamType::valueText(stored.value, stored.type);
    case TypeColumn:
        return ParamType::typeName(stored.type);
    default:
        return QVariant();
    }
}

QVariant ParameterStore::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    switch (section) {
    case NameColumn:
        return tr("Name");
    case ValueColumn:
        return tr("Value");
    case TypeColumn:
        return tr("Type");
    default:
        return QVariant();
    }
}
