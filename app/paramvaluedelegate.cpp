#include "app/paramvaluedelegate.h"

#include "app/parameditmodel.h"
#include "params/paramfile.h"

#include <QLineEdit>

ParamValueValidator::ParamValueValidator(int type, QObject *parent) : QValidator(parent), type(type)
{
}

// Half-typed numbers ("-", "1e") stay Intermediate so that typing can go on.
QValidator::State ParamValueValidator::validate(QString &input, int &) const
{
    ParamFileEntry entry;
    entry.type = type;
    const bool fits = readValue(input.trimmed().toUtf8(), entry).isEmpty();
    return fits ? Acceptable : Intermediate;
}

QWidget *ParamValueDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                          const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("parameterValueEditor"));
    editor->setValidator(
        new ParamValueValidator(index.data(ParamEditModel::TypeRole).toInt(), editor));
    return editor;
}
