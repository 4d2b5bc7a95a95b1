#include "app/parameditmodel.h"

#include "fc/fcconventions.h"
#include "params/parameterstore.h"
#include "params/paramtype.h"

#include <algorithm>

ParamEditModel::ParamEditModel(ParameterStore &store, QObject *parent)
    : QAbstractTableModel(parent), store(store)
{
    forwardStoreSignals();
}

// The store only ever inserts rows, changes them or starts afresh.
void ParamEditModel::forwardStoreSignals()
{
    connect(&store, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &, int first, int last) {
                beginInsertRows(QModelIndex(), first, last);
            });
    connect(&store, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
    connect(&store, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&store, &QAbstractItemModel::modelReset, this, [this] {
        pending.clear();
        written.clear();
        endResetModel();
    });
    connect(&store, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                emit dataChanged(index(topLeft.row(), 0),
                                 index(bottomRight.row(), ColumnCount - 1));
            });
}

QList<PlannedWrite> ParamEditModel::pendingWrites() const
{
    QList<PlannedWrite> writes;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        const StoredParameter *stored = store.find(it.key());
        if (stored)
            writes.append({it.key(), stored->value, it.value(), stored->type});
    }
    std::sort(writes.begin(), writes.end(),
              [](const PlannedWrite &a, const PlannedWrite &b) { return a.name < b.name; });
    return writes;
}

void ParamEditModel::markWritten(const QStringList &confirmed,
                                 const QList<UnconfirmedWrite> &unconfirmed)
{
    for (const QString &name : confirmed) {
        pending.remove(name);
        written.insert(name, QString());
        refreshRowOf(name);
    }
    for (const UnconfirmedWrite &miss : unconfirmed) {
        pending.remove(miss.write.name);
        written.insert(miss.write.name,
                       miss.reported
                           ? tr("not confirmed: the FC reports %1")
                                 .arg(ParamType::valueText(miss.reportedValue, miss.write.type))
                           : tr("not confirmed: no answer"));
        refreshRowOf(miss.write.name);
    }
}

void ParamEditModel::takeOver(const QList<PlannedWrite> &writes)
{
    for (const PlannedWrite &write : writes) {
        pending.insert(write.name, write.fileValue);
        written.remove(write.name);
        refreshRowOf(write.name);
    }
}

QHash<QString, ParameterReport> ParamEditModel::fcParameters() const
{
    QHash<QString, ParameterReport> onFc;
    for (int row = 0; row < rowCount(); ++row) {
        const StoredParameter &stored = store.at(row);
        ParameterReport report;
        report.name = stored.name;
        report.value = stored.value;
        report.type = stored.type;
        onFc.insert(stored.name, report);
    }
    return onFc;
}

void ParamEditModel::refreshRowOf(const QString &name)
{
    const int row = store.rowOf(name);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ParamEditModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : store.rowCount();
}

int ParamEditModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ParamEditModel::stateText(const QString &name) const
{
    if (pending.contains(name))
        return tr("changed, not written");
    const auto result = written.constFind(name);
    if (result == written.constEnd())
        return QString();
    return result->isEmpty() ? tr("written, confirmed") : *result;
}

QVariant ParamEditModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const StoredParameter &row = store.at(index.row());
    if (role == TypeRole)
        return int(row.type);
    if (role == SortRole && index.column() == ValueColumn)
        return double(pending.value(row.name, row.value));
    if (role == SortRole)
        role = Qt::DisplayRole;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case ValueColumn:
        return ParamType::valueText(pending.value(row.name, row.value), row.type);
    case StateColumn:
        return stateText(row.name);
    default:
        return store.index(index.row(), index.column()).data(role);
    }
}

bool ParamEditModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const StoredParameter &row = store.at(index.row());
    ParamFileEntry entry;
    entry.type = row.type;
    refusal = readNameAndValue(row.name.toLatin1(), value.toString().trimmed().toUtf8(), entry);
    if (!refusal.isEmpty())
        return false;
    if (ParamType::sameStoredValue(row.type, row.value, entry.value))
        pending.remove(row.name);
    else
        pending.insert(row.name, entry.value);
    written.remove(row.name);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    return true;
}

Qt::ItemFlags ParamEditModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags itemFlags = QAbstractTableModel::flags(index);
    if (index.column() == ValueColumn &&
        store.at(index.row()).name != QLatin1String(Fc::kFirmwareVersionParam))
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}

QVariant ParamEditModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == StateColumn && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tr("State");
    return store.headerData(section, orientation, role);
}
