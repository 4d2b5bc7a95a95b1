#pragma once

#include "params/parameterstore.h"
#include "params/paramwriter.h"
#include "params/restoreplan.h"

#include <QAbstractTableModel>
#include <QHash>

// The FC's parameters as the store holds them, with values changed here and
// not yet written in their place, and what became of each write. Rows are
// the store's rows.
class ParamEditModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The store's columns, which it shows as the store does, and the state.
    enum Column
    {
        NameColumn = ParameterStore::NameColumn,
        ValueColumn = ParameterStore::ValueColumn,
        TypeColumn = ParameterStore::TypeColumn,
        StateColumn = ParameterStore::ColumnCount,
        ColumnCount
    };
    // The parameter's MAVLink type, for the value's editor.
    static constexpr int TypeRole = Qt::UserRole;
    // Values sort as numbers, the other columns as their text.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit ParamEditModel(ParameterStore &store, QObject *parent = nullptr);

    // Each changed value with the FC's own type, sorted by name.
    QList<PlannedWrite> pendingWrites() const;
    bool hasPendingWrites() const { return !pending.isEmpty(); }
    // The writes ended: each confirmed one is written, the others are marked.
    void markWritten(const QStringList &confirmed, const QList<UnconfirmedWrite> &unconfirmed);
    // Values from a file become changes, to be written with the others.
    void takeOver(const QList<PlannedWrite> &writes);
    QHash<QString, ParameterReport> fcParameters() const;
    // Why the last value typed was not taken; empty when it was.
    QString lastRefusal() const { return refusal; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString stateText(const QString &name) const;
    void refreshRowOf(const QString &name);
    void forwardStoreSignals();

    ParameterStore &store;
    // Typed here, not yet written.
    QHash<QString, float> pending;
    // Of the last writes: empty when confirmed, else what the FC reported.
    QHash<QString, QString> written;
    QString refusal;
};
