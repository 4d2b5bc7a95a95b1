#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

struct FcParameter
{
    QString name;
    float value;
    std::uint8_t type; // MAV_PARAM_TYPE the FC reports
};

// The FC's parameters in its own fixed order, which gives each its index.
class ParameterTable
{
public:
    // Every parameter the assistant reads or writes, at the FC's defaults.
    ParameterTable();

    int count() const { return params.size(); }
    // -1 for a name the FC does not know.
    int indexOf(const QString &name) const;
    const FcParameter &at(int index) const { return params.at(index); }
    void setValue(int index, float value) { params[index].value = value; }

private:
    void add(const QString &name, float value, std::uint8_t type);

    QVector<FcParameter> params;
};
