#include "support/eventtally.h"
#include "support/gcsharness.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

namespace {

const QString kActive = QStringLiteral("background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);");
const QString kInactive =
    QStringLiteral("background-color: rgb(0, 0, 0);color: rgb(255, 255, 255);");

const char *const kReceiverButtons[] = {"radioRcTypePWM", "radioRcTypePPM", "radioRcTypeSBUS"};
const char *const kModeLabels[] = {"rcModeStab", "rcModeFS1", "rcModeIOC", "rcModeFS2",
                                   "rcModeGPS"};

QList<unsigned short> centredSticksWith(int channel, unsigned short value)
{
    QList<unsigned short> channels;
    for (int i = 0; i < 8; ++i)
        channels << 1500;
    channels[channel - 1] = value;
    return channels;
}

// Names of the given labels that carry the active style; every other one must
// carry the inactive style.
QStringList activeLabels(const GcsHarness &h, const QStringList &names)
{
    QStringList active;
    for (const QString &name : names) {
        const QString style = h.widget<QLabel>(name.toLatin1().constData())->styleSheet();
        if (style == kActive)
            active << name;
        else if (style != kInactive)
            active << name + QStringLiteral(" (unstyled: ") + style + QLatin1Char(')');
    }
    return active;
}

QStringList modeLabelNames()
{
    QStringList names;
    for (const char *name : kModeLabels)
        names << QString::fromLatin1(name);
    return names;
}

QList<QWidget *> switchLabels(const GcsHarness &h)
{
    QList<QWidget *> labels;
    for (const char *name : kModeLabels)
        labels << h.widget<QLabel>(name);
    for (const char *name : {"rcRTLoff", "rcRTLon", "rcSoft", "rcSport"})
        labels << h.widget<QLabel>(name);
    return labels;
}

QString checkedReceiverButton(const GcsHarness &h)
{
    for (const char *name : kReceiverButtons) {
        if (h.widget<QRadioButton>(name)->isChecked())
            return QString::fromLatin1(name);
    }
    return QString();
}

} // namespace

class RadioPageTest : public QObject
{
    Q_OBJECT

private slots:
    void receiverTypeFromFcChecksOnlyKnownTypes_data();
    void receiverTypeFromFcChecksOnlyKnownTypes();
    void clickingReceiverTypeWritesItEveryTime_data();
    void clickingReceiverTypeWritesItEveryTime();
    void readStartsTheStreamBeforeAskingForTheType();
    void flightModeBands_data();
    void flightModeBands();
    void twoPositionSwitchesTurnAbove1500_data();
    void twoPositionSwitchesTurnAbove1500();
    void channelsReachTheirOwnWidgets();
    void valuesBeyondTheSliderRangeShowUnclamped();
    void onlyAMovedSwitchRestylesItsLabels_data();
    void onlyAMovedSwitchRestylesItsLabels();
    void aRepeatedFramePaintsNothing();
    void aMovedStickRepaintsOnlyTheCaptionsOverItsHandle_data();
    void aMovedStickRepaintsOnlyTheCaptionsOverItsHandle();
    void aBurstOfFramesPaintsOnceWithTheLastValue();
};

void RadioPageTest::receiverTypeFromFcChecksOnlyKnownTypes_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("checked");
    QTest::newRow("0 keeps SBUS") << 0.0f << "radioRcTypeSBUS";
    QTest::newRow("1 PWM") << 1.0f << "radioRcTypePWM";
    QTest::newRow("2 PPM") << 2.0f << "radioRcTypePPM";
    QTest::newRow("3 SBUS") << 3.0f << "radioRcTypeSBUS";
    QTest::newRow("4 keeps SBUS") << 4.0f << "radioRcTypeSBUS";
    QTest::newRow("2.4 rounds to PPM") << 2.4f << "radioRcTypePPM";
    QTest::newRow("-1 keeps SBUS") << -1.0f << "radioRcTypeSBUS";
}

void RadioPageTest::receiverTypeFromFcChecksOnlyKnownTypes()
{
    QFETCH(float, value);
    QFETCH(QString, checked);
    GcsHarness h;
    h.connectToFc();
    h.deliver(paramValueFrame(QStringLiteral("RC_TYPE"), 3, ParamType::Int32));
    h.deliver(paramValueFrame(QStringLiteral("RC_TYPE"), value, ParamType::Int32));
    QCOMPARE(checkedReceiverButton(h), checked);
    QVERIFY2(h.sentDescriptions().isEmpty(), "showing the FC's type must not write it back");
}

void RadioPageTest::clickingReceiverTypeWritesItEveryTime_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("type");
    for (int i = 0; i < 3; ++i)
        QTest::newRow(kReceiverButtons[i]) << QString::fromLatin1(kReceiverButtons[i]) << i + 1;
}

void RadioPageTest::clickingReceiverTypeWritesItEveryTime()
{
    QFETCH(QString, button);
    QFETCH(int, type);
    GcsHarness h;
    h.connectToFc();
    const QString write = QStringLiteral("set RC_TYPE=%1 (6)").arg(type);
    h.click(button.toLatin1().constData());
    QCOMPARE(h.sentDescriptions(), QStringList{write});
    h.click(button.toLatin1().constData());
    QCOMPARE(h.sentDescriptions(), QStringList{write});
}

void RadioPageTest::readStartsTheStreamBeforeAskingForTheType()
{
    GcsHarness h;
    h.connectToFc();
    h.click("radioReadButton");
    QCOMPARE(h.sentDescriptions(), QStringList({"stream 3 rate 2 start 1", "get RC_TYPE"}));
}

void RadioPageTest::flightModeBands_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("active");
    const struct
    {
        int value;
        const char *label;
    } rows[] = {{0, "rcModeStab"},   {1200, "rcModeStab"}, {1201, "rcModeFS1"}, {1400, "rcModeFS1"},
                {1401, "rcModeIOC"}, {1600, "rcModeIOC"},  {1601, "rcModeFS2"}, {1800, "rcModeFS2"},
                {1801, "rcModeGPS"}, {65535, "rcModeGPS"}};
    for (const auto &row : rows)
        QTest::addRow("%d", row.value) << row.value << QString::fromLatin1(row.label);
}

void RadioPageTest::flightModeBands()
{
    QFETCH(int, value);
    QFETCH(QString, active);
    GcsHarness h;
    h.connectToFc();
    // From the opposite end first, so a label left over from an earlier
    // message cannot pass for the right one.
    h.deliver(rcChannelsFrame(centredSticksWith(5, value > 1500 ? 1000 : 2000)));
    h.deliver(rcChannelsFrame(centredSticksWith(5, value)));
    QCOMPARE(activeLabels(h, modeLabelNames()), QStringList{active});
}

void RadioPageTest::twoPositionSwitchesTurnAbove1500_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("inactive");
    QTest::newRow("ch7 1500") << 7 << 1500 << "rcRTLoff"
                              << "rcRTLon";
    QTest::newRow("ch7 1501") << 7 << 1501 << "rcRTLon"
                              << "rcRTLoff";
    QTest::newRow("ch8 1500") << 8 << 1500 << "rcSoft"
                              << "rcSport";
    QTest::newRow("ch8 1501") << 8 << 1501 << "rcSport"
                              << "rcSoft";
}

void RadioPageTest::twoPositionSwitchesTurnAbove1500()
{
    QFETCH(int, channel);
    QFETCH(int, value);
    QFETCH(QString, active);
    QFETCH(QString, inactive);
    GcsHarness h;
    h.connectToFc();
    h.deliver(rcChannelsFrame(centredSticksWith(channel, value > 1500 ? 1000 : 2000)));
    h.deliver(rcChannelsFrame(centredSticksWith(channel, value)));
    QCOMPARE(activeLabels(h, {active, inactive}), QStringList{active});
}

void RadioPageTest::channelsReachTheirOwnWidgets()
{
    GcsHarness h;
    h.connectToFc();
    h.deliver(rcChannelsFrame({1001, 1102, 1203, 1304, 1405, 1506, 1607, 1708}));
    const struct
    {
        const char *slider;
        const char *label;
        int value;
    } shown[] = {{"radioSlider0", "rcdataLabel0", 1001}, {"radioSlider1", "rcdataLabel1", 1102},
                 {"radioSlider2", "rcdataLabel2", 1203}, {"radioSlider3", "rcdataLabel3", 1304},
                 {"radioSlider4", "rcdataLabel4", 1405}, {"radioSlider5", "rcdataLabel5", 1607},
                 {"radioSlider6", "rcdataLabel6", 1708}};
    for (const auto &channel : shown) {
        QCOMPARE(h.widget<QSlider>(channel.slider)->value(), channel.value);
        QCOMPARE(h.widget<QLabel>(channel.label)->text(), QString::number(channel.value));
    }
}

void RadioPageTest::valuesBeyondTheSliderRangeShowUnclamped()
{
    GcsHarness h;
    h.connectToFc();
    h.deliver(rcChannelsFrame(centredSticksWith(1, 1500)));
    h.deliver(rcChannelsFrame({700, 2300, 0, 65535, 1500, 1500, 1500, 1500}));
    QCOMPARE(h.widget<QLabel>("rcdataLabel0")->text(), QStringLiteral("700"));
    QCOMPARE(h.widget<QSlider>("radioSlider0")->value(), 800);
    QCOMPARE(h.widget<QLabel>("rcdataLabel1")->text(), QStringLiteral("2300"));
    QCOMPARE(h.widget<QSlider>("radioSlider1")->value(), 2200);
    QCOMPARE(h.widget<QLabel>("rcdataLabel2")->text(), QStringLiteral("0"));
    QCOMPARE(h.widget<QSlider>("radioSlider2")->value(), 800);
    QCOMPARE(h.widget<QLabel>("rcdataLabel3")->text(), QStringLiteral("65535"));
    QCOMPARE(h.widget<QSlider>("radioSlider3")->value(), 2200);
}

void RadioPageTest::onlyAMovedSwitchRestylesItsLabels_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("restyled");
    QTest::newRow("stick") << 1 << 1000 << 2000 << QStringList();
    QTest::newRow("mode switch within Stab") << 5 << 1000 << 1200 << QStringList();
    QTest::newRow("mode switch Stab to FS")
        << 5 << 1200 << 1201 << QStringList{"rcModeStab", "rcModeFS1"};
    QTest::newRow("mode switch within GPS") << 5 << 1801 << 65535 << QStringList();
    QTest::newRow("return switch up to 1500") << 7 << 1000 << 1500 << QStringList();
    QTest::newRow("return switch above 1500")
        << 7 << 1500 << 1501 << QStringList{"rcRTLoff", "rcRTLon"};
    QTest::newRow("feel switch down to 1500")
        << 8 << 1501 << 1500 << QStringList{"rcSoft", "rcSport"};
}

void RadioPageTest::onlyAMovedSwitchRestylesItsLabels()
{
    QFETCH(int, channel);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, restyled);
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("rcModeStab");
    h.deliver(rcChannelsFrame(centredSticksWith(channel, from)));
    EventTally styleChanges(QEvent::StyleChange, switchLabels(h));
    h.deliver(rcChannelsFrame(centredSticksWith(channel, to)));
    QCOMPARE(styleChanges.names, restyled);
}

void RadioPageTest::aRepeatedFramePaintsNothing()
{
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("rcModeStab");
    const QByteArray frame = rcChannelsFrame({1001, 1102, 1203, 1304, 1405, 1506, 1607, 1708});
    h.deliver(frame);
    QCoreApplication::processEvents();
    EventTally paints(QEvent::Paint, h.widget<QWidget>("tab_2")->findChildren<QWidget *>());
    h.deliver(frame);
    QCoreApplication::processEvents();
    QCOMPARE(paints.names, QStringList());
}

// The first stick's captions, "Left" and "Right", overlap the top of its
// slider; a handle that moves under neither leaves them alone.
void RadioPageTest::aMovedStickRepaintsOnlyTheCaptionsOverItsHandle_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("painted");
    const QStringList stick = {"radioSlider0", "rcdataLabel0"};
    QTest::newRow("in the middle") << 1500 << 1520 << stick;
    QTest::newRow("under the left caption") << 900 << 920 << stick + QStringList{"label_18"};
    QTest::newRow("under the right caption") << 2150 << 2130 << stick + QStringList{"label_22"};
    QTest::newRow("from one caption to the other")
        << 900 << 2150 << stick + QStringList{"label_18", "label_22"};
}

void RadioPageTest::aMovedStickRepaintsOnlyTheCaptionsOverItsHandle()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, painted);
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("radioSlider0");
    h.deliver(rcChannelsFrame(centredSticksWith(1, from)));
    QCoreApplication::processEvents();
    EventTally paints(QEvent::Paint, h.widget<QWidget>("tab_2")->findChildren<QWidget *>());
    h.deliver(rcChannelsFrame(centredSticksWith(1, to)));
    QCoreApplication::processEvents();
    paints.names.sort();
    painted.sort();
    QCOMPARE(paints.names, painted);
}

// All frames of one read are handled before the window paints again.
void RadioPageTest::aBurstOfFramesPaintsOnceWithTheLastValue()
{
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("radioSlider0");
    EventTally paints(QEvent::Paint, {h.widget<QSlider>("radioSlider0")});
    QByteArray burst;
    for (unsigned short value = 1000; value <= 2000; value += 100)
        burst += rcChannelsFrame(centredSticksWith(1, value));
    h.deliver(burst);
    QCoreApplication::processEvents();
    QCOMPARE(paints.sliderValues, QList<int>{2000});
    QCOMPARE(h.widget<QLabel>("rcdataLabel0")->text(), QStringLiteral("2000"));
}

QTEST_MAIN(RadioPageTest)
#include "tst_radiopage.moc"
