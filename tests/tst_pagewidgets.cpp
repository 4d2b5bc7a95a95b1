#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

namespace {

struct WidgetRow
{
    const char *name;
    const char *className;
    const char *parent;
    const char *caption;
    QRect geometry;
};

// Every widget of the seven pages: class, parent, caption, fixed geometry as
// drawn up for the form.
const WidgetRow kPageWidgets[] = {
    {"frameReadButton", "QPushButton", "tab", "Read", QRect(520, 330, 113, 32)},
    {"frameSaveButton", "QPushButton", "tab", "Save", QRect(640, 330, 113, 32)},
    {"groupBox", "QGroupBox", "tab", "Select Frame Type", QRect(219, 9, 531, 361)},
    {"x4RadioButton", "QRadioButton", "groupBox", "", QRect(10, 10, 130, 130)},
    {"plus4RadioButton", "QRadioButton", "groupBox", "", QRect(10, 120, 130, 130)},
    {"x6RadioButton", "QRadioButton", "groupBox", "", QRect(140, 10, 130, 130)},
    {"plus6RadioButton", "QRadioButton", "groupBox", "", QRect(140, 120, 130, 130)},
    {"y6bRadioButton", "QRadioButton", "groupBox", "", QRect(270, 10, 130, 130)},
    {"v8RadioButton", "QRadioButton", "groupBox", "", QRect(400, 10, 130, 130)},
    {"plus8RadioButton", "QRadioButton", "groupBox", "", QRect(400, 120, 130, 130)},
    {"y6aRadioButton", "QRadioButton", "groupBox", "", QRect(270, 120, 130, 130)},
    {"x8RadioButton", "QRadioButton", "groupBox", "", QRect(10, 230, 130, 130)},
    {"frameHelp", "QTextEdit", "tab", "", QRect(10, 10, 201, 361)},
    {"groupBox_8", "QGroupBox", "tab_2", "Receiver Type", QRect(220, 10, 221, 80)},
    {"radioRcTypePWM", "QRadioButton", "groupBox_8", "PWM", QRect(10, 20, 102, 20)},
    {"radioRcTypePPM", "QRadioButton", "groupBox_8", "PPM", QRect(10, 40, 102, 20)},
    {"radioRcTypeSBUS", "QRadioButton", "groupBox_8", "SBUS", QRect(10, 60, 102, 20)},
    {"groupBox_10", "QGroupBox", "tab_2", "Fly Mode", QRect(460, 10, 301, 80)},
    {"radioSlider4", "QSlider", "groupBox_10", "", QRect(10, 50, 271, 22)},
    {"rcModeStab", "QLabel", "groupBox_10", "Stab", QRect(10, 30, 54, 16)},
    {"rcModeFS1", "QLabel", "groupBox_10", "FS", QRect(60, 30, 54, 16)},
    {"rcModeIOC", "QLabel", "groupBox_10", "IOC", QRect(110, 30, 54, 16)},
    {"rcModeFS2", "QLabel", "groupBox_10", "FS", QRect(160, 30, 54, 16)},
    {"rcModeGPS", "QLabel", "groupBox_10", "GPS", QRect(210, 30, 54, 16)},
    {"rcdataLabel4", "QLabel", "groupBox_10", "0", QRect(250, 60, 61, 16)},
    {"groupBox_11", "QGroupBox", "tab_2", "Return To Home", QRect(220, 100, 221, 101)},
    {"radioSlider5", "QSlider", "groupBox_11", "", QRect(20, 70, 160, 22)},
    {"rcRTLoff", "QLabel", "groupBox_11", "Normal", QRect(20, 40, 61, 16)},
    {"rcRTLon", "QLabel", "groupBox_11", "Return", QRect(120, 40, 61, 16)},
    {"rcdataLabel5", "QLabel", "groupBox_11", "0", QRect(190, 70, 61, 16)},
    {"groupBox_12", "QGroupBox", "tab_2", "Fly Feeling", QRect(220, 210, 221, 101)},
    {"radioSlider6", "QSlider", "groupBox_12", "", QRect(20, 70, 160, 22)},
    {"rcSoft", "QLabel", "groupBox_12", "Soft Feeling", QRect(20, 40, 81, 16)},
    {"rcSport", "QLabel", "groupBox_12", "Sport Feeling", QRect(110, 40, 81, 16)},
    {"rcdataLabel6", "QLabel", "groupBox_12", "0", QRect(190, 70, 61, 16)},
    {"radioCalibrateButton", "QPushButton", "tab_2", "Calibrate", QRect(650, 330, 113, 32)},
    {"radioReadButton", "QPushButton", "tab_2", "Read", QRect(530, 330, 113, 32)},
    {"groupBox_9", "QGroupBox", "tab_2", "Joystick", QRect(460, 100, 301, 211)},
    {"label_14", "QLabel", "groupBox_9", "AIL", QRect(10, 30, 61, 16)},
    {"label_15", "QLabel", "groupBox_9", "ELE", QRect(10, 70, 61, 16)},
    {"label_16", "QLabel", "groupBox_9", "THR", QRect(10, 120, 61, 16)},
    {"label_17", "QLabel", "groupBox_9", "YAW", QRect(10, 170, 61, 16)},
    {"radioSlider0", "QSlider", "groupBox_9", "", QRect(80, 30, 160, 22)},
    {"radioSlider1", "QSlider", "groupBox_9", "", QRect(80, 70, 160, 22)},
    {"radioSlider2", "QSlider", "groupBox_9", "", QRect(80, 120, 160, 22)},
    {"radioSlider3", "QSlider", "groupBox_9", "", QRect(80, 170, 160, 22)},
    {"label_18", "QLabel", "groupBox_9", "Left", QRect(80, 20, 61, 16)},
    {"label_19", "QLabel", "groupBox_9", "Up", QRect(80, 50, 61, 16)},
    {"label_20", "QLabel", "groupBox_9", "Down", QRect(80, 100, 61, 16)},
    {"label_21", "QLabel", "groupBox_9", "Left", QRect(80, 150, 61, 16)},
    {"label_22", "QLabel", "groupBox_9", "Right", QRect(210, 20, 61, 16)},
    {"label_23", "QLabel", "groupBox_9", "Down", QRect(210, 50, 61, 16)},
    {"label_24", "QLabel", "groupBox_9", "Up", QRect(210, 100, 61, 16)},
    {"label_25", "QLabel", "groupBox_9", "Right", QRect(210, 150, 61, 16)},
    {"rcdataLabel0", "QLabel", "groupBox_9", "0", QRect(250, 30, 61, 16)},
    {"rcdataLabel1", "QLabel", "groupBox_9", "0", QRect(250, 70, 61, 16)},
    {"rcdataLabel2", "QLabel", "groupBox_9", "0", QRect(250, 120, 61, 16)},
    {"rcdataLabel3", "QLabel", "groupBox_9", "0", QRect(250, 170, 61, 16)},
    {"rcHelp", "QTextEdit", "tab_2", "", QRect(10, 10, 201, 361)},
    {"groupBox_5", "QGroupBox", "tab_4", "Low Voltage Fail Safe", QRect(220, 10, 531, 91)},
    {"voltageLanding", "QRadioButton", "groupBox_5", "Auto Landing", QRect(30, 30, 121, 20)},
    {"voltageWarning", "QRadioButton", "groupBox_5", "Alarm", QRect(30, 60, 102, 20)},
    {"groupBox_6", "QGroupBox", "tab_4", "Alarm Voltage", QRect(220, 120, 531, 101)},
    {"voltageReadButton", "QPushButton", "groupBox_6", "Read", QRect(290, 60, 113, 32)},
    {"voltageSaveButton", "QPushButton", "groupBox_6", "Save", QRect(410, 60, 113, 32)},
    {"label_10", "QLabel", "groupBox_6", "First  Alarm", QRect(10, 30, 81, 16)},
    {"voltageLevel1", "QDoubleSpinBox", "groupBox_6", "", QRect(130, 20, 69, 24)},
    {"voltageLevel2", "QDoubleSpinBox", "groupBox_6", "", QRect(130, 60, 69, 24)},
    {"label_11", "QLabel", "groupBox_6", "Second  Alarm", QRect(10, 70, 101, 16)},
    {"groupBox_7", "QGroupBox", "tab_4", "Voltage Calibration", QRect(220, 250, 531, 101)},
    {"voltageCalibrateButton", "QPushButton", "groupBox_7", "Calibrate", QRect(410, 60, 113, 32)},
    {"label_12", "QLabel", "groupBox_7", "Display Voltage", QRect(10, 30, 111, 16)},
    {"label_13", "QLabel", "groupBox_7", "Measure Voltage", QRect(10, 70, 111, 16)},
    {"voltageEdit0", "QDoubleSpinBox", "groupBox_7", "", QRect(130, 30, 69, 24)},
    {"voltageEdit1", "QDoubleSpinBox", "groupBox_7", "", QRect(130, 60, 69, 24)},
    {"voltageHelp", "QTextEdit", "tab_4", "", QRect(10, 10, 201, 361)},
    {"accelCalibrateButton", "QPushButton", "tab_3", "Calibrate", QRect(390, 300, 113, 32)},
    {"coutdownLabel", "QLabel", "tab_3", "", QRect(240, 10, 271, 31)},
    {"outputLabel", "QLabel", "tab_3", "", QRect(300, 210, 371, 71)},
    {"accelHelp", "QTextEdit", "tab_3", "", QRect(10, 10, 201, 361)},
    {"accelImage", "QLabel", "tab_3", "", QRect(350, 30, 241, 161)},
    {"label_7", "QLabel", "tab_5", "Roll", QRect(220, 20, 61, 16)},
    {"label_8", "QLabel", "tab_5", "Yaw", QRect(580, 20, 61, 16)},
    {"label_9", "QLabel", "tab_5", "Pitch", QRect(400, 20, 61, 16)},
    {"fcTestButton", "QPushButton", "tab_5", "Test", QRect(410, 340, 113, 32)},
    {"fcHelp", "QTextEdit", "tab_5", "", QRect(10, 10, 201, 361)},
    {"groupBox_3", "QGroupBox", "tab_5", "FC Test Result", QRect(220, 90, 511, 121)},
    {"label_4", "QLabel", "groupBox_3", "Radio Controller:", QRect(10, 20, 131, 16)},
    {"label_5", "QLabel", "groupBox_3", "Accelerometer:", QRect(10, 40, 91, 16)},
    {"label_6", "QLabel", "groupBox_3", "Baro:", QRect(10, 60, 54, 12)},
    {"label_26", "QLabel", "groupBox_3", "Compass:", QRect(10, 80, 54, 12)},
    {"label_27", "QLabel", "groupBox_3", "GPS:", QRect(10, 100, 54, 12)},
    {"fcRCResult", "QLabel", "groupBox_3", "", QRect(120, 20, 371, 16)},
    {"fcAccelResult", "QLabel", "groupBox_3", "", QRect(120, 40, 371, 16)},
    {"fcBaroResult", "QLabel", "groupBox_3", "", QRect(120, 60, 371, 16)},
    {"fcCompassResult", "QLabel", "groupBox_3", "", QRect(120, 80, 371, 16)},
    {"fcGPSResult", "QLabel", "groupBox_3", "", QRect(120, 100, 371, 16)},
    {"fcHardwareResult", "QLabel", "tab_5", "", QRect(220, 240, 511, 81)},
    {"fcRoll", "QLabel", "tab_5", "0", QRect(220, 50, 54, 12)},
    {"fcPitch", "QLabel", "tab_5", "0", QRect(400, 50, 54, 12)},
    {"fcYaw", "QLabel", "tab_5", "0", QRect(580, 50, 54, 12)},
    {"groupBox_2", "QGroupBox", "tab_6", "Stablize Gain Setting", QRect(220, 10, 521, 221)},
    {"pidRoll", "QDoubleSpinBox", "groupBox_2", "", QRect(20, 90, 69, 24)},
    {"label", "QLabel", "groupBox_2", "Roll", QRect(20, 60, 61, 16)},
    {"label_2", "QLabel", "groupBox_2", "Pitch", QRect(190, 60, 61, 16)},
    {"pidPitch", "QDoubleSpinBox", "groupBox_2", "", QRect(190, 90, 69, 24)},
    {"label_3", "QLabel", "groupBox_2", "Yaw", QRect(370, 60, 61, 16)},
    {"pidYaw", "QDoubleSpinBox", "groupBox_2", "", QRect(370, 90, 69, 24)},
    {"pidSaveButton", "QPushButton", "tab_6", "Save", QRect(640, 330, 113, 32)},
    {"pidReadButton", "QPushButton", "tab_6", "Read", QRect(520, 330, 113, 32)},
    {"pidHelp", "QTextEdit", "tab_6", "", QRect(10, 10, 201, 361)},
    {"advancedHelp", "QTextEdit", "tab_7", "", QRect(10, 10, 201, 361)},
    {"groupBox_4", "QGroupBox", "tab_7", "Fly Feeling", QRect(220, 10, 221, 111)},
    {"advSoftButton", "QRadioButton", "groupBox_4", "Soft Feeling", QRect(20, 20, 102, 20)},
    {"advSportButton", "QRadioButton", "groupBox_4", "Sport Feeling", QRect(20, 50, 102, 20)},
    {"advSoftLabel", "QLabel", "groupBox_4", "", QRect(130, 20, 61, 16)},
    {"advSportLabel", "QLabel", "groupBox_4", "", QRect(130, 50, 61, 16)},
    {"advByRCButton", "QRadioButton", "groupBox_4", "By RC CH7", QRect(20, 80, 102, 20)},
    {"advByRCLabel", "QLabel", "groupBox_4", "", QRect(130, 80, 61, 16)},
    {"groupBox_13", "QGroupBox", "tab_7", "Return To Home", QRect(480, 10, 271, 111)},
    {"label_28", "QLabel", "groupBox_13", "ALT(M)", QRect(10, 30, 61, 16)},
    {"advRTHalt", "QSpinBox", "groupBox_13", "", QRect(90, 20, 49, 24)},
    {"advRTHReadButton", "QPushButton", "groupBox_13", "Read", QRect(10, 80, 113, 32)},
    {"advRTHSaveButton", "QPushButton", "groupBox_13", "Save", QRect(130, 80, 113, 32)},
};

// Boxes grown so that their texts fit in the fonts users get: each keeps its
// place and grows only to the right and downward.
const struct
{
    const char *name;
    QSize size;
} kGrownBoxes[] = {
    {"groupBox_11", QSize(228, 101)},         // "65535" in rcdataLabel5
    {"groupBox_12", QSize(228, 101)},         // "65535" in rcdataLabel6
    {"radioCalibrateButton", QSize(118, 32)}, // "Calibrate Complete"
    {"label_6", QSize(54, 13)},               // Chinese "Baro:" at 1.375x
    {"label_26", QSize(59, 15)},              // "Compass:" and its descender
    {"fcRoll", QSize(54, 14)},                // 12 point digits
    {"fcPitch", QSize(54, 14)},
    {"fcYaw", QSize(54, 14)},
};

QSize sizeAsBuilt(const WidgetRow &row)
{
    for (const auto &grown : kGrownBoxes) {
        if (qstrcmp(grown.name, row.name) == 0)
            return grown.size;
    }
    return row.geometry.size();
}

QString captionOf(QWidget *w)
{
    if (auto *box = qobject_cast<QGroupBox *>(w))
        return box->title();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    return QString();
}

template <typename T> QList<T *> pageWidgets(MainWindow &w)
{
    QList<T *> out;
    for (const WidgetRow &row : kPageWidgets) {
        if (auto *widget = w.findChild<T *>(QString::fromLatin1(row.name)))
            out.append(widget);
    }
    return out;
}

} // namespace

class PageWidgets : public QObject
{
    Q_OBJECT

private slots:
    void everyWidgetAsLaidOut()
    {
        MainWindow w;
        for (const WidgetRow &row : kPageWidgets) {
            auto *widget = w.findChild<QWidget *>(QString::fromLatin1(row.name));
            QVERIFY2(widget, row.name);
            QCOMPARE(widget->metaObject()->className(), row.className);
            QVERIFY2(widget->parentWidget(), row.name);
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
            QCOMPARE(widget->pos(), row.geometry.topLeft());
            QCOMPARE(widget->size(), sizeAsBuilt(row));
            QCOMPARE(captionOf(widget), QString::fromUtf8(row.caption));
        }
    }

    // A grown box does not grow out of its group box or page and covers no
    // widget beside it that it did not cover at its drawn-up size.
    void grownBoxesTakeNoOnesPlace()
    {
        MainWindow w;
        w.show();
        // Only the current page is given the tab widget's page area; the
        // others get the same when shown.
        const auto *tabs = w.findChild<QTabWidget *>();
        const auto boundsOf = [tabs](QWidget *parent) {
            return tabs->indexOf(parent) >= 0 ? tabs->currentWidget()->rect() : parent->rect();
        };
        for (const WidgetRow &row : kPageWidgets) {
            auto *widget = w.findChild<QWidget *>(QString::fromLatin1(row.name));
            if (widget->geometry() == row.geometry)
                continue;
            QVERIFY2(widget->width() >= row.geometry.width(), row.name);
            QVERIFY2(widget->height() >= row.geometry.height(), row.name);
            const QRect bounds = boundsOf(widget->parentWidget());
            const QRect box = widget->geometry();
            QVERIFY2(box.width() == row.geometry.width() || box.right() <= bounds.right(),
                     row.name);
            QVERIFY2(box.height() == row.geometry.height() || box.bottom() <= bounds.bottom(),
                     row.name);
            for (const WidgetRow &other : kPageWidgets) {
                auto *neighbour = w.findChild<QWidget *>(QString::fromLatin1(other.name));
                if (neighbour == widget || neighbour->parentWidget() != widget->parentWidget())
                    continue;
                const bool coveredBefore = row.geometry.intersects(neighbour->geometry());
                QVERIFY2(coveredBefore || !widget->geometry().intersects(neighbour->geometry()),
                         qPrintable(QStringLiteral("%1 covers %2").arg(row.name, other.name)));
            }
        }
    }

    void nothingSelectedOrMovedAtStart()
    {
        MainWindow w;
        for (QRadioButton *radio : pageWidgets<QRadioButton>(w))
            QVERIFY2(!radio->isChecked(), qPrintable(radio->objectName()));
        const QList<QSlider *> sliders = pageWidgets<QSlider>(w);
        QCOMPARE(sliders.size(), 7);
        for (QSlider *slider : sliders) {
            QCOMPARE(slider->orientation(), Qt::Horizontal);
            QCOMPARE(slider->minimum(), 800);
            QCOMPARE(slider->maximum(), 2200);
            QCOMPARE(slider->value(), 800);
        }
        for (int i = 0; i <= 6; ++i)
            QCOMPARE(w.findChild<QLabel *>(QString("rcdataLabel%1").arg(i))->text(), QString("0"));
    }

    void onlyTheFrameHelpIsReadOnly()
    {
        MainWindow w;
        const QList<QTextEdit *> help = pageWidgets<QTextEdit>(w);
        QCOMPARE(help.size(), 7);
        for (QTextEdit *edit : help) {
            QCOMPARE(edit->isReadOnly(), edit->objectName() == "frameHelp");
            QCOMPARE(edit->geometry(), QRect(10, 10, 201, 361));
        }
    }

    void spinBoxRanges()
    {
        MainWindow w;
        for (const char *name : {"pidRoll", "pidPitch", "pidYaw"}) {
            auto *box = w.findChild<QDoubleSpinBox *>(name);
            QCOMPARE(box->minimum(), 0.0);
            QCOMPARE(box->maximum(), 10.0);
            QCOMPARE(box->singleStep(), 0.1);
            QCOMPARE(box->decimals(), 2);
            QCOMPARE(box->value(), 0.0);
        }
        for (const char *name :
             {"voltageLevel1", "voltageLevel2", "voltageEdit0", "voltageEdit1"}) {
            auto *box = w.findChild<QDoubleSpinBox *>(name);
            QCOMPARE(box->maximum(), 99.99);
            QCOMPARE(box->decimals(), 2);
            QCOMPARE(box->singleStep(), 1.0);
        }
        auto *altitude = w.findChild<QSpinBox *>("advRTHalt");
        QCOMPARE(altitude->minimum(), 0);
        QCOMPARE(altitude->maximum(), 99);
    }

    void frameButtonsShowTheirDiagrams()
    {
        MainWindow w;
        const QStringList frames = {"x4",  "plus4", "x6", "plus6", "y6a",
                                    "y6b", "plus8", "v8", "x8"};
        for (const QString &frame : frames) {
            auto *button = w.findChild<QRadioButton *>(frame + "RadioButton");
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->iconSize(), QSize(100, 100));
            QVERIFY(button->text().isEmpty());
        }
        for (const char *name : {"fcRoll", "fcPitch", "fcYaw"})
            QCOMPARE(w.findChild<QLabel *>(name)->font().pointSize(), 12);
    }

    // The help box sits below the frame group, the buttons above both.
    void stackingOnTheFramePage()
    {
        MainWindow w;
        const QObjectList order = w.findChild<QWidget *>("tab")->children();
        const auto position = [&](const char *name) {
            return order.indexOf(w.findChild<QWidget *>(name));
        };
        QVERIFY(position("groupBox") < position("frameHelp"));
        QVERIFY(position("frameHelp") < position("frameReadButton"));
        QVERIFY(position("frameReadButton") < position("frameSaveButton"));
    }
};

QTEST_MAIN(PageWidgets)
#include "tst_pagewidgets.moc"
