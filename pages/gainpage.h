#pragma once

#include "pages/knownvalues.h"
#include "params/pagesaves.h"

#include <QObject>

class MavLinkBridge;
class QDoubleSpinBox;
class QPushButton;
class QTextEdit;

// The Gain tab over the form's widgets: three boxes on the 0..10 scale from
// which Save works out the FC's seven rate gains.
class GainPage : public QObject
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

    // Puts a value the FC reported on the page, if it is one of the page's.
    void showParameter(const QString &name, const QVariant &value);

signals:
    // The user saved values; what names them in the status bar.
    void saveRequested(const QString &what, const PageSaves::Values &values);

public slots:
    void pidSave();
    void pidRead();

private:
    Widgets form;
    MavLinkBridge &mavlink;
    // Save writes only when all three boxes hold a value somebody set.
    KnownValues entered;
};
