#pragma once

#include "mavlink/mavlinkbridge.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QVector>

// One parameter as the FC last reported it.
struct StoredParameter
{
    QString name;
    float value = 0.0f;
    std::uint8_t type = 0;
    std::uint16_t index = 0;
    std::uint16_t count = 0;
    QDateTime seen;
};

// Every parameter the FC has reported on the current link, whatever asked
// for it, sorted by name. A table model, so a view can list them: name,
// value and type columns. The one source of reports for whoever waits on
// the FC's answers: each is passed on once recorded, so find() already
// holds it. A value that is not a number (NaN, infinity) is never kept, so
// no page or table shows one; it is passed on all the same, for a backup to
// name and a write to count as not confirmed.
class ParameterStore : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        ValueColumn,
        TypeColumn,
        ColumnCount
    };

    explicit ParameterStore(MavLinkBridge &bridge, QObject *parent = nullptr);

    // Null when the FC has not reported the name.
    const StoredParameter *find(const QString &name) const;
    // The row of the name, -1 when the FC has not reported it.
    int rowOf(const QString &name) const;
    const StoredParameter &at(int row) const { return rows.at(row); }
    // The FC's own count of its parameters, from its latest report.
    int fcCount() const { return lastCount; }
    // For a new link: another FC may hold other parameters.
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void parameterReceived(const ParameterReport &report);

private slots:
    void record(const ParameterReport &report);

private:
    QVector<StoredParameter> rows;
    int lastCount = 0;
};
