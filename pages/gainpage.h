#pragma once

#include "pages/knownvalues.h"
#include "pages/tabpage.h"

class MavLinkBridge;
class QDoubleSpinBox;
class QPushButton;
class QTextEdit;

// The Gain tab over the form's widgets: three boxes on the 0..10 scale from
// which Save works out the FC's seven rate gains.
class GainPage : public TabPage
{
    Q_OBJECT

public:
    struct Widgets
    {
        QDoubleSpinBox *roll;
        QDoubleSpinBox *pitch;
        QDoubleSpinBox *yaw;
        QPushButton *read;
        QPushButton *save;
        QTextEdit *help;
    };

    GainPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    QStringList shownParameters() const override;
    void showParameter(const QString &name, const QVariant &value) override;

public slots:
    void pidSave();
    void pidRead();

private:
    Widgets form;
    // Save writes only when all three boxes hold a value somebody set.
    KnownValues entered;
};
