#pragma once

#include <QSet>

#include <initializer_list>

class QDoubleSpinBox;

// Which spin boxes hold a value somebody set: reported by the FC, or changed
// after start-up by the user. The form's start-up zeros are nobody's values,
// and a Save must never write them to the FC.
class KnownValues
{
public:
    // From now on typing into the box, stepping it or any other change of
    // its value makes it known.
    void watch(QDoubleSpinBox *box);
    void markKnown(const QDoubleSpinBox *box) { known.insert(box); }
    // A reported value counts as known even when it equals what the box
    // already shows.
    void showReported(QDoubleSpinBox *box, double value);
    bool allKnown(std::initializer_list<const QDoubleSpinBox *> boxes) const;

private:
    QSet<const QDoubleSpinBox *> known;
};
