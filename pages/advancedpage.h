#pragma once

#include "params/pagesaves.h"

#include <QObject>

class MavLinkBridge;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The Advanced tab over the form's widgets: the fly feeling, written as
// soon as it is picked, and the return-to-home altitude. The marks beside
// the feeling buttons follow only the FC's reports.
class AdvancedPage : public QObject
{
    Q_OBJECT

public:
    struct Widgets
    {
        QRadioButton *softButton;
        QLabel *softMark;
        QRadioButton *sportButton;
        QLabel *sportMark;
        QRadioButton *byRcButton;
        QLabel *byRcMark;
        QSpinBox *homeAltitude;
        QPushButton *homeAltitudeRead;
        QPushButton *homeAltitudeSave;
    };

    AdvancedPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    // Puts a value the FC reported on the page, if it is one of the page's.
    void showParameter(const QString &name, const QVariant &value);

signals:
    // The user picked values to write; what names them in the status bar.
    void saveRequested(const QString &what, const PageSaves::Values &values);

public slots:
    void advFFRead();
    void advSoftSelected();
    void advSportSelected();
    void advByRCSelected();
    void advRTHRead();
    void advRTHSave();

private:
    void writeFlyFeeling(int feedForward);
    void showFlyFeeling(QRadioButton *button, QLabel *mark);

    Widgets form;
    MavLinkBridge &mavlink;
};
