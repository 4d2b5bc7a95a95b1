#pragma once

#include "pages/tabpage.h"

class MavLinkBridge;
class QPushButton;
class QRadioButton;
class QTextEdit;

// The Frame tab over the form's widgets: one diagram per frame, its pair of
// SHAPE and FRAME values, written by Save.
class FramePage : public TabPage
{
    Q_OBJECT

public:
    struct Widgets
    {
        QRadioButton *x4;
        QRadioButton *plus4;
        QRadioButton *x6;
        QRadioButton *plus6;
        QRadioButton *y6a;
        QRadioButton *y6b;
        QRadioButton *plus8;
        QRadioButton *v8;
        QRadioButton *x8;
        QPushButton *read;
        QPushButton *save;
        QTextEdit *help;
    };

    FramePage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    QStringList shownParameters() const override;
    void showParameter(const QString &name, const QVariant &value) override;

public slots:
    void frameReadButtonClicked();
    void frameSaveButtonClicked();
    void x4FrameSelected();
    void plus4FrameSelected();
    void x6FrameSelected();
    void plus6FrameSelected();
    void y6aFrameSelected();
    void y6bFrameSelected();
    void plus8FrameSelected();
    void v8FrameSelected();
    void x8FrameSelected();

private:
    void showEightRotorFrames();
    void showFrameSelection();
    void selectFrame(int shape, int frame);

    Widgets form;
    // Unknown until the FC reports them or the user picks a frame.
    int frameValue = 0;
    int shapeValue = 0;
    bool frameValueKnown = false;
    bool shapeValueKnown = false;
};
