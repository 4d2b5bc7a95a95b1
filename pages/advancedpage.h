#pragma once

#include "pages/tabpage.h"

class MavLinkBridge;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The Advanced tab over the form's widgets: the fly feeling, written as
// soon as it is picked, and the return-to-home altitude. The marks beside
// the feeling buttons follow only the FC's reports.
class AdvancedPage : public TabPage
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

    QStringList shownParameters() const override;
    void showParameter(const QString &name, const QVariant &value) override;

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
};
