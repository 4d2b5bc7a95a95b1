#include "knownvalues.h"

#include <QDoubleSpinBox>
#include <QLineEdit>

// The box signals only changes of its value, so typing the value it already
// shows is caught on its editor.
void KnownValues::watch(QDoubleSpinBox *box)
{
    const auto known = [this, box] { markKnown(box); };
    QObject::connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), box, known);
    QObject::connect(box->findChild<QLineEdit *>(), &QLineEdit::textEdited, box, known);
}

void KnownValues::showReported(QDoubleSpinBox *box, double value)
{
    box->setValue(value);
    markKnown(box);
}

bool KnownValues::allKnown(std::initializer_list<const QDoubleSpinBox *> boxes) const
{
    for (const QDoubleSpinBox *box : boxes) {
        if (!known.contains(box))
            return false;
    }
    return true;
}
