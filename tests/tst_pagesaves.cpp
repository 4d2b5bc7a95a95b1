#include "support/modalboxcloser.h"
#include "support/simulatedfc.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QLabel>
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

QStringList labelTexts(GcsHarness &gcs, const QList<const char *> &names)
{
    QStringList texts;
    for (const char *name : names)
        texts << gcs.widget<QLabel>(name)->text();
    return texts;
}

} // namespace

// Each page's Save against the simulated FC: with every echo the frames a
// Save has always sent, confirmed through lost answers, a clamped value
// named and shown.
class PageSavesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyValueIsConfirmed_data();
    void everyValueIsConfirmed();
    void clampedValueIsNamedAndShown_data();
    void clampedValueIsNamedAndShown();
    void disconnectingEndsTheSaveUnderWay();
    void reconnectingSendsNothingOfTheSaveCutOff();
    void aSaveMadeMeanwhileFollowsTheOneUnderWay();
    void pagesStayLiveWhileTheNotConfirmedBoxIsOpen();
};

void PageSavesTest::everyValueIsConfirmed_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("status");
    const char *const pages[][3] = {
        {"frame", "set SHAPE=1 (6)|set FRAME=1 (6)", "Frame saved: 2 values"},
        {"gain",
         "set RATE_RLL_P=0.150000006 (9)|set RATE_RLL_I=0.150000006 (9)|set "
         "RATE_RLL_D=0.0120000001 (9)|set RATE_PIT_P=0.150000006 (9)|set "
         "RATE_PIT_I=0.150000006 (9)|set RATE_PIT_D=0.0120000001 (9)|set "
         "RATE_YAW_P=0.300000012 (9)",
         "Gain saved: 7 values"},
        {"alarm voltage", "set FS_BATT_VOLTAGE=10 (9)|set FS_BATT_WARNING=11.5 (9)",
         "Alarm voltage saved: 2 values"},
        {"fail safe", "set FS_BATT_ENABLE=1 (6)", "Low voltage fail safe saved:"},
        {"receiver type", "set RC_TYPE=3 (6)", "Receiver type saved:"},
        {"fly feeling", "set CH8_OPT=0 (6)|set ATC_RATE_FF_ENAB=1 (6)",
         "Fly feeling saved: 2 values"},
        {"return to home", "set RTL_ALT=1500 (9)", "Return to home altitude saved:"},
    };
    for (const auto &row : pages) {
        const QString status = QString::fromLatin1(row[2]) + " confirmed by the FC";
        QTest::addRow("%s, every echo", row[0]) << row[0] << row[1] << status;
        QTest::addRow("%s, answers lost", row[0]) << row[0] << row[1] << status;
    }
}

// Retries and reads are the only frames answers lost add.
void PageSavesTest::everyValueIsConfirmed()
{
    QFETCH(QString, page);
    QFETCH(QString, frames);
    QFETCH(QString, status);
    SimulatedFc fc;
    ModalBoxCloser boxes;
    const bool lost = QByteArray(QTest::currentDataTag()).endsWith("lost");
    fc.sim.setParamDropRate(lost ? 0.3 : 0.0, kDropSeed);

    save(fc.gcs, page);
    QTRY_COMPARE_WITH_TIMEOUT(statusText(fc.gcs), status, kSaveTimeoutMs);
    QVERIFY(boxes.boxes().isEmpty());
    QStringList heard = fc.sentToFc();
    if (lost) {
        heard = heard.filter(QRegularExpression("^set "));
        heard.removeDuplicates();
    }
    QCOMPARE(heard, frames.split('|'));
}

// Page, parameter and the most the FC stores, then the value the FC reports
// and the widget showing it.
void PageSavesTest::clampedValueIsNamedAndShown_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("highest");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("widget");
    const struct
    {
        const char *page, *name;
        float highest;
        const char *sent, *reported, *widget;
    } rows[] = {
        {"frame", "FRAME", 0, "1", "0", "plus4RadioButton=checked"},
        {"gain", "RATE_YAW_P", 0.2f, "0.3", "0.2", "pidYaw=3.33"},
        {"alarm voltage", "FS_BATT_VOLTAGE", 9.5f, "10", "9.5", "voltageLevel2=9.50"},
        {"fail safe", "FS_BATT_ENABLE", 0, "1", "0", "voltageWarning=checked"},
        {"receiver type", "RC_TYPE", 2, "3", "2", "radioRcTypePPM=checked"},
        {"fly feeling", "ATC_RATE_FF_ENAB", 0, "1", "0", "advSoftButton=checked"},
        {"return to home", "RTL_ALT", 1000, "1500", "1000", "advRTHalt=10"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.page) << row.page << row.name << row.highest
                                << QStringLiteral("%1: sent %2, the FC reports %3")
                                       .arg(row.name, row.sent, row.reported)
                                << row.widget;
    }
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

// The writer stops with the link: none of the Save's retries and reads
// reaches the FC on the next one.
void PageSavesTest::reconnectingSendsNothingOfTheSaveCutOff()
{
    SimulatedFc fc;
    fc.sim.setParamDropRate(1.0);
    ModalBoxCloser boxes;
    save(fc.gcs, QStringLiteral("return to home"));
    QCOMPARE(fc.sentToFc(), QStringList{"set RTL_ALT=1500 (9)"});
    fc.reconnectForASecond();
    QCOMPARE(fc.sentToFc(), QStringList{"get ZEFAVERSION"});
}

void PageSavesTest::aSaveMadeMeanwhileFollowsTheOneUnderWay()
{
    SimulatedFc fc;
    ModalBoxCloser boxes;
    QStringList messages;
    connect(fc.gcs.widget<QStatusBar>("statusBar"), &QStatusBar::messageChanged,
            [&](const QString &message) { messages << message; });
    save(fc.gcs, QStringLiteral("frame"));
    save(fc.gcs, QStringLiteral("receiver type"));
    QTRY_COMPARE_WITH_TIMEOUT(messages,
                              (QStringList{"Frame saved: 2 values confirmed by the FC",
                                           "Receiver type saved: confirmed by the FC"}),
                              kSaveTimeoutMs);
    QVERIFY(boxes.boxes().isEmpty());
}

// The echo that ends the Save is still being handled when the box is asked
// for; it opens after, and the pages go on showing what the FC sends.
void PageSavesTest::pagesStayLiveWhileTheNotConfirmedBoxIsOpen()
{
    SimulatedFc fc;
    fc.sim.clampParameter(QStringLiteral("RTL_ALT"), -INFINITY, 1000);
    const QList<const char *> labels = {"fcRoll", "fcPitch", "fcYaw", "fcRCResult"};
    const QStringList live = {"5.7", "-11.5", "17.2", "need Calibrate", "voltageLevel2=9.50"};
    QStringList shownWhileOpen;
    ModalBoxCloser boxes([&](int) {
        fc.gcs.deliver(attitudeFrame(0.1f, -0.2f, 0.3f) +
                       statusTextFrame(MavSeverity::Error, "PreArm: RC not calibrated") +
                       paramValueFrame(QStringLiteral("FS_BATT_VOLTAGE"), 9.5f));
        const auto nowShown = [&] {
            QStringList texts = labelTexts(fc.gcs, labels);
            return texts << shown(fc.gcs, QStringLiteral("voltageLevel2"));
        };
        static_cast<void>(QTest::qWaitFor([&] { return nowShown() == live; })); // judged below
        shownWhileOpen = nowShown();
    });
    save(fc.gcs, QStringLiteral("return to home"));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.titles(), QStringList{"Save"}, kSaveTimeoutMs);
    QCOMPARE(boxes.boxes().at(0).text,
             QStringLiteral("The FC did not confirm these values of Return to home altitude:\n\n"
                            "RTL_ALT: sent 1500, the FC reports 1000"));
    QCOMPARE(shownWhileOpen, live);
}

QTEST_MAIN(PageSavesTest)
#include "tst_pagesaves.moc"
