#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <cmath>

namespace {
constexpr int kSaveTimeoutMs = 30000;
constexpr std::uint32_t kDropSeed = 7;

void typeInto(GcsHarness &gcs, const char *box, const QString &text)
{
    auto *spin = gcs.widget<QAbstractSpinBox>(box);
    spin->selectAll();
    QTest::keyClicks(spin, text);
}

// What the user does on each page before its values go to the FC.
void save(GcsHarness &gcs, const QString &page)
{
    if (page == QLatin1String("frame")) {
        gcs.click("x4RadioButton");
        gcs.click("frameSaveButton");
    } else if (page == QLatin1String("gain")) {
        for (const char *box : {"pidRoll", "pidPitch", "pidYaw"})
            typeInto(gcs, box, QStringLiteral("5.00"));
        gcs.click("pidSaveButton");
    } else if (page == QLatin1String("alarm voltage")) {
        typeInto(gcs, "voltageLevel1", QStringLiteral("11.50"));
        typeInto(gcs, "voltageLevel2", QStringLiteral("10.00"));
        gcs.click("voltageSaveButton");
    } else if (page == QLatin1String("fail safe")) {
        gcs.click("voltageLanding");
    } else if (page == QLatin1String("receiver type")) {
        gcs.click("radioRcTypeSBUS");
    } else if (page == QLatin1String("fly feeling")) {
        gcs.click("advSportButton");
    } else if (page == QLatin1String("return to home")) {
        gcs.widget<QSpinBox>("advRTHalt")->setValue(15);
        gcs.click("advRTHSaveButton");
    } else {
        qFatal("no page %s", qPrintable(page));
    }
}

// "name=checked" for a button, "name=TEXT" for a spin box.
QString shown(GcsHarness &gcs, const QString &widget)
{
    const QByteArray name = widget.toLatin1();
    if (auto *button = gcs.window().findChild<QAbstractButton *>(widget))
        return widget + (button->isChecked() ? "=checked" : "=unchecked");
    return widget + "=" + gcs.widget<QAbstractSpinBox>(name.constData())->text();
}

QString statusText(GcsHarness &gcs)
{
    return gcs.widget<QStatusBar>("statusBar")->currentMessage();
}
} // namespace

// Each page's Save against the simulated FC: confirmed through lost answers,
// a clamped value named and shown, and with every echo arriving the same
// frames as a Save has always sent.
class PageSavesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyValueIsConfirmed_data();
    void everyValueIsConfirmed();
    void clampedValueIsNamedAndShown_data();
    void clampedValueIsNamedAndShown();
    void disconnectingEndsTheSaveUnderWay();
};

void PageSavesTest::everyValueIsConfirmed_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("status");
    const struct
    {
        const char *page;
        QStringList frames;
        const char *status;
    } pages[] = {
        {"frame",
         {"set SHAPE=1 (6)", "set FRAME=1 (6)"},
         "Frame saved: 2 values confirmed by the FC"},
        {"gain",
         {"set RATE_RLL_P=0.150000006 (9)", "set RATE_RLL_I=0.150000006 (9)",
          "set RATE_RLL_D=0.0120000001 (9)", "set RATE_PIT_P=0.150000006 (9)",
          "set RATE_PIT_I=0.150000006 (9)", "set RATE_PIT_D=0.0120000001 (9)",
          "set RATE_YAW_P=0.300000012 (9)"},
         "Gain saved: 7 values confirmed by the FC"},
        {"alarm voltage",
         {"set FS_BATT_VOLTAGE=10 (9)", "set FS_BATT_WARNING=11.5 (9)"},
         "Alarm voltage saved: 2 values confirmed by the FC"},
        {"fail safe",
         {"set FS_BATT_ENABLE=1 (6)"},
         "Low voltage fail safe saved: confirmed by the FC"},
        {"receiver type", {"set RC_TYPE=3 (6)"}, "Receiver type saved: confirmed by the FC"},
        {"fly feeling",
         {"set CH8_OPT=0 (6)", "set ATC_RATE_FF_ENAB=1 (6)"},
         "Fly feeling saved: 2 values confirmed by the FC"},
        {"return to home",
         {"set RTL_ALT=1500 (9)"},
         "Return to home altitude saved: confirmed by the FC"},
    };
    for (const auto &row : pages) {
        QTest::addRow("%s, every echo", row.page) << row.page << row.frames << row.status;
        QTest::addRow("%s, answers lost", row.page) << row.page << QStringList() << row.status;
    }
}

// With answers lost the writer sends again or reads back, so only the
// values the FC ends with are compared, not the frames.
void PageSavesTest::everyValueIsConfirmed()
{
    QFETCH(QString, page);
    QFETCH(QStringList, frames);
    QFETCH(QString, status);
    SimulatedFc fc;
    ModalBoxCloser boxes;
    if (frames.isEmpty())
        fc.sim.setParamDropRate(0.3, kDropSeed);

    save(fc.gcs, page);
    QTRY_COMPARE_WITH_TIMEOUT(statusText(fc.gcs), status, kSaveTimeoutMs);
    QVERIFY(boxes.boxes().isEmpty());
    if (!frames.isEmpty())
        QCOMPARE(fc.sentToFc(), frames);
}

void PageSavesTest::clampedValueIsNamedAndShown_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("highest");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("widget");
    QTest::newRow("frame") << "frame"
                           << "FRAME" << 0.0f << "FRAME: sent 1, the FC reports 0"
                           << "plus4RadioButton=checked";
    QTest::newRow("gain") << "gain"
                          << "RATE_YAW_P" << 0.2f << "RATE_YAW_P: sent 0.3, the FC reports 0.2"
                          << "pidYaw=3.33";
    QTest::newRow("alarm voltage")
        << "alarm voltage"
        << "FS_BATT_VOLTAGE" << 9.5f << "FS_BATT_VOLTAGE: sent 10, the FC reports 9.5"
        << "voltageLevel2=9.50";
    QTest::newRow("fail safe") << "fail safe"
                               << "FS_BATT_ENABLE" << 0.0f
                               << "FS_BATT_ENABLE: sent 1, the FC reports 0"
                               << "voltageWarning=checked";
    QTest::newRow("receiver type") << "receiver type"
                                   << "RC_TYPE" << 2.0f << "RC_TYPE: sent 3, the FC reports 2"
                                   << "radioRcTypePPM=checked";
    QTest::newRow("fly feeling") << "fly feeling"
                                 << "ATC_RATE_FF_ENAB" << 0.0f
                                 << "ATC_RATE_FF_ENAB: sent 1, the FC reports 0"
                                 << "advSoftButton=checked";
    QTest::newRow("return to home")
        << "return to home"
        << "RTL_ALT" << 1000.0f << "RTL_ALT: sent 1500, the FC reports 1000"
        << "advRTHalt=10";
}

void PageSavesTest::clampedValueIsNamedAndShown()
{
    QFETCH(QString, page);
    QFETCH(QString, name);
    QFETCH(float, highest);
    QFETCH(QString, line);
    QFETCH(QString, widget);
    SimulatedFc fc;
    fc.sim.clampParameter(name, -INFINITY, highest);
    ModalBoxCloser boxes;

    save(fc.gcs, page);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.titles(), QStringList{"Save"}, kSaveTimeoutMs);
    const QStringList text = boxes.boxes().at(0).text.split('\n');
    QCOMPARE(text.mid(1), (QStringList{QString(), line}));
    QVERIFY2(statusText(fc.gcs).endsWith(" not saved: the FC did not confirm every value"),
             qPrintable(statusText(fc.gcs)));
    QCOMPARE(shown(fc.gcs, widget.section('=', 0, 0)), widget);
}

// Nothing the FC did not answer is reported as saved; the box comes once
// the link is closed.
void PageSavesTest::disconnectingEndsTheSaveUnderWay()
{
    SimulatedFc fc;
    fc.sim.setParamDropRate(1.0);
    ModalBoxCloser boxes;
    save(fc.gcs, QStringLiteral("fly feeling"));
    fc.gcs.action("actionDisconnect")->trigger();
    QVERIFY(boxes.boxes().isEmpty());
    QTRY_COMPARE(boxes.titles(), QStringList{"Save"});
    QCOMPARE(boxes.boxes().at(0).text,
             QStringLiteral("The FC did not confirm these values of Fly feeling:\n\n"
                            "CH8_OPT: sent 0, no answer from the FC\n"
                            "ATC_RATE_FF_ENAB: sent 1, no answer from the FC"));
    QCOMPARE(statusText(fc.gcs),
             QStringLiteral("Fly feeling not saved: the FC did not confirm every value"));
}

QTEST_MAIN(PageSavesTest)
#include "tst_pagesaves.moc"
