#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

// Takes only what the parameter's type holds: whole numbers within an
// integer type's range, numbers a 32-bit float can carry.
class ParamValueValidator : public QValidator
{
    Q_OBJECT

public:
    ParamValueValidator(int type, QObject *parent);
    State validate(QString &input, int &pos) const override;

private:
    int type;
};

// Edits a value with a line that accepts only what its type holds, starting
// from the value's shortest exact text.
class ParamValueDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};
