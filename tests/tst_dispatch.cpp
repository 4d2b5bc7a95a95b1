#include "support/gcsharness.h"

#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const char *const kRecognisedNames[] = {"FRAME",           "SHAPE",           "ZEFAVERSION",
                                        "RC_TYPE",         "BATT_VOLT_MULT",  "FS_BATT_ENABLE",
                                        "FS_BATT_WARNING", "FS_BATT_VOLTAGE", "RATE_RLL_D",
                                        "RATE_PIT_D",      "RATE_YAW_P",      "ATC_RATE_FF_ENAB",
                                        "CH8_OPT",         "RTL_ALT"};

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kMaxFloat = std::numeric_limits<float>::max();
constexpr float kDenormal = std::numeric_limits<float>::denorm_min();
// Rounds into int's range only by wrapping: 2^32 wraps to 0.
constexpr float kTwoToThe32 = 4294967296.0f;

const QStringList kStopStreams = {"stream 1 rate 65535 start 1", "stream 10 rate 65535 start 1",
                                  "stream 11 rate 65535 start 1", "stream 6 rate 65535 start 1"};

// A value for every recognised name that sets something visible, so a later
// change of any of them shows.
QByteArray everyParameterSet()
{
    const std::pair<const char *, float> values[] = {{"SHAPE", 4},
                                                     {"FRAME", 10},
                                                     {"ZEFAVERSION", 20},
                                                     {"RC_TYPE", 2},
                                                     {"BATT_VOLT_MULT", 10.1f},
                                                     {"FS_BATT_ENABLE", 1},
                                                     {"FS_BATT_WARNING", 10.5f},
                                                     {"FS_BATT_VOLTAGE", 9.9f},
                                                     {"RATE_RLL_D", 0.006f},
                                                     {"RATE_PIT_D", 0.012f},
                                                     {"RATE_YAW_P", 0.18f},
                                                     {"ATC_RATE_FF_ENAB", 1},
                                                     {"CH8_OPT", 25},
                                                     {"RTL_ALT", 1550}};
    QByteArray frames;
    for (const auto &[name, value] : values)
        frames += paramValueFrame(QString::fromLatin1(name), value);
    return frames;
}

// Everything the dispatcher can touch, as text.
QStringList windowState(GcsHarness &h)
{
    QStringList state;
    for (const QRadioButton *button : h.window().findChildren<QRadioButton *>()) {
        state << QStringLiteral("%1 checked %2 hidden %3")
                     .arg(button->objectName())
                     .arg(button->isChecked())
                     .arg(button->isHidden());
    }
    for (const QAbstractSpinBox *box : h.window().findChildren<QAbstractSpinBox *>())
        state << box->objectName() + QLatin1Char('=') + box->text();
    for (const QLabel *label : h.window().findChildren<QLabel *>())
        state << label->objectName() + QLatin1Char('=') + label->text();
    state << QStringLiteral("port open %1").arg(h.port()->isOpen());
    return state;
}

QString shown(GcsHarness &h, const QString &objectName)
{
    QObject *object = h.window().findChild<QObject *>(objectName);
    if (auto *button = qobject_cast<QRadioButton *>(object))
        return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *box = qobject_cast<QAbstractSpinBox *>(object))
        return box->text();
    return QStringLiteral("no widget ") + objectName;
}

void expectLogLine(const QString &name)
{
    QTest::ignoreMessage(
        QtDebugMsg, QRegularExpression(QStringLiteral("^\"%1\" :: QVariant\\(float, ").arg(name)));
}

} // namespace

class DispatchTest : public QObject
{
    Q_OBJECT

private slots:
    void firmwareVersionDecidesTheLink_data();
    void firmwareVersionDecidesTheLink();
    void framesAfterAVersionThatClosesAreNotApplied();
    void ignoredValuesChangeNothingButAreLogged_data();
    void ignoredValuesChangeNothingButAreLogged();
    void valuesEndInTheirWidgets_data();
    void valuesEndInTheirWidgets();
    void frameValuesSaturateInsteadOfWrapping_data();
    void frameValuesSaturateInsteadOfWrapping();
    void floodOfExtremeValuesKeepsEveryWidgetInRange();
    void hiddenTabsShowTheLatestValuesWhenShown_data();
    void hiddenTabsShowTheLatestValuesWhenShown();
    void aTabThatCaughtUpShowsTheNextValueAtOnce();
};

void DispatchTest::firmwareVersionDecidesTheLink_data()
{
    QTest::addColumn<float>("version");
    QTest::addColumn<bool>("keeps");
    QTest::newRow("20") << 20.0f << true;
    QTest::newRow("20.4 rounds to 20") << 20.4f << true;
    QTest::newRow("21") << 21.0f << false;
    QTest::newRow("0") << 0.0f << false;
    QTest::newRow("1e30") << 1e30f << false;
}

void DispatchTest::firmwareVersionDecidesTheLink()
{
    QFETCH(float, version);
    QFETCH(bool, keeps);
    GcsHarness h;
    h.connectToFc();
    const char *const eightRotors[] = {"plus8RadioButton", "v8RadioButton", "x8RadioButton"};
    for (const char *name : eightRotors)
        h.widget<QRadioButton>(name)->hide();

    h.deliver(paramValueFrame(QStringLiteral("ZEFAVERSION"), version, ParamType::Int32));

    QCOMPARE(h.port()->isOpen(), keeps);
    QCOMPARE(h.action("actionDisconnect")->isEnabled(), keeps);
    QCOMPARE(h.action("actionConnect")->isEnabled(), !keeps);
    for (const char *name : eightRotors)
        QCOMPARE(h.widget<QRadioButton>(name)->isHidden(), !keeps);
    if (keeps) {
        QCOMPARE(h.sentDescriptions(), QStringList());
    } else {
        QCOMPARE(h.sentDescriptions(), kStopStreams);
        QCOMPARE(h.widget<QStatusBar>("statusBar")->currentMessage(),
                 QStringLiteral("Disconnected"));
    }
}

void DispatchTest::framesAfterAVersionThatClosesAreNotApplied()
{
    GcsHarness h;
    h.connectToFc();
    h.deliver(paramValueFrame(QStringLiteral("ZEFAVERSION"), 21, ParamType::Int32) +
              paramValueFrame(QStringLiteral("RC_TYPE"), 2, ParamType::Int32));
    QVERIFY(!h.port()->isOpen());
    QVERIFY(!h.widget<QRadioButton>("radioRcTypePPM")->isChecked());
    QCOMPARE(h.sentDescriptions(), kStopStreams);
}

void DispatchTest::ignoredValuesChangeNothingButAreLogged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<float>>("values");
    const QList<float> nonFinite = {kNaN, kInfinity, -kInfinity};
    for (const char *name : kRecognisedNames)
        QTest::addRow("%s non-finite", name) << QString::fromLatin1(name) << nonFinite;
    const char *const others[] = {"RATE_RLL_P", "RC1_MIN",    "frame",
                                  "FRAMEX",     "ZEFAVERSIO", "RTL_ALT_"};
    for (const char *name : others)
        QTest::addRow("%s", name) << QString::fromLatin1(name) << QList<float>{0, 21, 1e30f};
}

void DispatchTest::ignoredValuesChangeNothingButAreLogged()
{
    QFETCH(QString, name);
    QFETCH(QList<float>, values);
    GcsHarness h;
    h.connectToFc();
    h.deliver(everyParameterSet());
    const QStringList before = windowState(h);

    for (float value : values) {
        expectLogLine(name);
        h.deliver(paramValueFrame(name, value));
        QCOMPARE(windowState(h), before);
    }
    QCOMPARE(h.sentDescriptions(), QStringList());
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), QStringList({"set SHAPE=4 (6)", "set FRAME=10 (6)"}));
}

void DispatchTest::valuesEndInTheirWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("before");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("expected");
    const struct
    {
        const char *row;
        const char *name;
        float before;
        float value;
        const char *widget;
        const char *expected;
    } rows[] = {
        {"RTL_ALT 1599 cm", "RTL_ALT", 0, 1599, "advRTHalt", "15"},
        {"RTL_ALT 99 cm", "RTL_ALT", 1550, 99, "advRTHalt", "0"},
        {"RTL_ALT beyond int metres", "RTL_ALT", 1550, 2.5e11f, "advRTHalt", "99"},
        {"RTL_ALT 1e30", "RTL_ALT", 1550, 1e30f, "advRTHalt", "99"},
        {"RTL_ALT -1e30", "RTL_ALT", 1550, -1e30f, "advRTHalt", "0"},
        {"RTL_ALT denormal", "RTL_ALT", 1550, kDenormal, "advRTHalt", "0"},
        {"RATE_RLL_D 0.006", "RATE_RLL_D", 0, 0.006f, "pidRoll", "2.50"},
        {"RATE_RLL_D max", "RATE_RLL_D", 0.006f, kMaxFloat, "pidRoll", "10.00"},
        {"RATE_PIT_D -1e30", "RATE_PIT_D", 0.006f, -1e30f, "pidPitch", "0.00"},
        {"RATE_YAW_P 0.18", "RATE_YAW_P", 0, 0.18f, "pidYaw", "3.00"},
        {"RATE_YAW_P -max", "RATE_YAW_P", 0.18f, -kMaxFloat, "pidYaw", "0.00"},
        {"FS_BATT_WARNING max", "FS_BATT_WARNING", 10, kMaxFloat, "voltageLevel1", "99.99"},
        {"FS_BATT_VOLTAGE denormal", "FS_BATT_VOLTAGE", 10, kDenormal, "voltageLevel2", "0.00"},
        {"FS_BATT_ENABLE 2", "FS_BATT_ENABLE", 0, 2, "voltageLanding", "checked"},
        {"FS_BATT_ENABLE 2^32", "FS_BATT_ENABLE", 0, kTwoToThe32, "voltageLanding", "checked"},
        {"FS_BATT_ENABLE -1e30", "FS_BATT_ENABLE", 0, -1e30f, "voltageLanding", "checked"},
        {"FS_BATT_ENABLE denormal", "FS_BATT_ENABLE", 1, kDenormal, "voltageWarning", "checked"},
        {"ATC_RATE_FF_ENAB 2^32", "ATC_RATE_FF_ENAB", 1, kTwoToThe32, "advSportButton", "checked"},
        {"CH8_OPT 1e30", "CH8_OPT", 25, 1e30f, "advByRCButton", "checked"},
        {"RC_TYPE -1e30", "RC_TYPE", 2, -1e30f, "radioRcTypePPM", "checked"},
    };
    for (const auto &r : rows) {
        QTest::newRow(r.row) << QString::fromLatin1(r.name) << r.before << r.value
                             << QString::fromLatin1(r.widget) << QString::fromLatin1(r.expected);
    }
}

void DispatchTest::valuesEndInTheirWidgets()
{
    QFETCH(QString, name);
    QFETCH(float, before);
    QFETCH(float, value);
    QFETCH(QString, widget);
    QFETCH(QString, expected);
    GcsHarness h;
    h.connectToFc();
    h.deliver(paramValueFrame(name, before) + paramValueFrame(name, value));
    QCOMPARE(shown(h, widget), expected);
}

void DispatchTest::frameValuesSaturateInsteadOfWrapping_data()
{
    QTest::addColumn<float>("frame");
    QTest::addColumn<QString>("written");
    QTest::newRow("1e30") << 1e30f << "set FRAME=2.14748365e+09 (6)";
    QTest::newRow("2^32") << kTwoToThe32 << "set FRAME=2.14748365e+09 (6)";
    QTest::newRow("-1e30") << -1e30f << "set FRAME=-2.14748365e+09 (6)";
    QTest::newRow("denormal") << kDenormal << "set FRAME=0 (6)";
    QTest::newRow("1.6 rounds") << 1.6f << "set FRAME=2 (6)";
}

void DispatchTest::frameValuesSaturateInsteadOfWrapping()
{
    QFETCH(float, frame);
    QFETCH(QString, written);
    GcsHarness h;
    h.connectToFc();
    h.deliver(paramValueFrame(QStringLiteral("SHAPE"), 3) +
              paramValueFrame(QStringLiteral("FRAME"), frame));
    h.click("frameSaveButton");
    QCOMPARE(h.sentDescriptions(), QStringList({"set SHAPE=3 (6)", written}));
}

// Meant for the sanitizer build, where any undefined conversion aborts.
// The firmware version comes last: any of these closes the link.
void DispatchTest::floodOfExtremeValuesKeepsEveryWidgetInRange()
{
    GcsHarness h;
    h.connectToFc();
    const float extremes[] = {kNaN,         kInfinity,     -kInfinity,    1e30f,      -1e30f,
                              kMaxFloat,    -kMaxFloat,    kDenormal,     -kDenormal, kTwoToThe32,
                              -kTwoToThe32, 2147483520.0f, -2147483648.0f};
    const QString version = QStringLiteral("ZEFAVERSION");
    QByteArray flood;
    for (const char *recognised : kRecognisedNames) {
        for (float value : extremes) {
            if (QLatin1String(recognised) != version)
                flood += paramValueFrame(QString::fromLatin1(recognised), value);
        }
    }
    h.deliver(flood + paramValueFrame(version, 1e30f));
    for (const QDoubleSpinBox *box : h.window().findChildren<QDoubleSpinBox *>()) {
        QVERIFY2(std::isfinite(box->value()), qPrintable(box->objectName()));
        QVERIFY2(box->value() >= box->minimum() && box->value() <= box->maximum(),
                 qPrintable(box->objectName()));
    }
    QVERIFY(!h.port()->isOpen());
}

void DispatchTest::hiddenTabsShowTheLatestValuesWhenShown_data()
{
    QTest::addColumn<QByteArray>("frames");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("expected");
    const QByteArray sticks = rcChannelsFrame({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}) +
                              rcChannelsFrame({1234, 1000, 1000, 1000, 1900, 1000, 1900, 1000});
    QTest::newRow("stick number") << sticks << "rcdataLabel0"
                                  << "text"
                                  << "1234";
    QTest::newRow("stick slider") << sticks << "radioSlider0"
                                  << "value"
                                  << "1234";
    QTest::newRow("mode switch") << sticks << "rcModeGPS"
                                 << "styleSheet"
                                 << "background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);";
    QTest::newRow("return switch") << sticks << "rcRTLoff"
                                   << "styleSheet"
                                   << "background-color: rgb(0, 0, 0);color: rgb(255, 255, 255);";
    QTest::newRow("attitude") << attitudeFrame(0.1f, 0.2f, 0.3f) + attitudeFrame(1.0f, 0, 0)
                              << "fcRoll"
                              << "text"
                              << "57.3";
    QTest::newRow("battery") << sysStatusFrame(12000) + sysStatusFrame(11100) << "voltageEdit0"
                             << "text"
                             << "11.10";
}

void DispatchTest::hiddenTabsShowTheLatestValuesWhenShown()
{
    QFETCH(QByteArray, frames);
    QFETCH(QString, widget);
    QFETCH(QString, property);
    QFETCH(QString, expected);
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("frameReadButton");
    h.deliver(frames);
    QCoreApplication::processEvents();
    const QByteArray name = widget.toLatin1();
    h.showTabOf(name.constData());
    QCOMPARE(h.widget<QWidget>(name.constData())->property(property.toLatin1()).toString(),
             expected);
}

// Once caught up the tab is no longer behind: a value that arrives while it
// is shown is shown at once, not at its next Show.
void DispatchTest::aTabThatCaughtUpShowsTheNextValueAtOnce()
{
    GcsHarness h;
    h.connectToFc();
    h.showTabOf("frameReadButton");
    h.deliver(sysStatusFrame(12000));
    QCoreApplication::processEvents();
    h.showTabOf("voltageEdit0");
    h.deliver(sysStatusFrame(11100));
    QCoreApplication::processEvents();
    QCOMPARE(h.widget<QWidget>("voltageEdit0")->property("text").toString(),
             QStringLiteral("11.10"));
}

QTEST_MAIN(DispatchTest)
#include "tst_dispatch.moc"
