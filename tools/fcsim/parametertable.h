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
// Values are kept as their type holds them: integers whole and in range.
class ParameterTable
{
public:
    // A quad X at the FC's defaults, with every parameter the assistant
    // reads or writes among them.
    ParameterTable();

    int count() const { return params.size(); }
    // -1 for a name the FC does not know.
    int indexOf(const QString &name) const;
    const FcParameter &at(int index) const { return params.at(index); }
    // Integer types round to the nearest whole number within their range.
    void setValue(int index, float value);

private:
    QVector<FcParameter> params;
};
