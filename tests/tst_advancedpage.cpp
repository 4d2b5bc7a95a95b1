#include "support/gcsharness.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"
#include "pages/advancedpage.h"

#include <QLabel>
#include <QRadioButton>
#include <QSerialPort>
#include <QSpinBox>
#include <QtTest>

namespace {
struct Report
{
    QString name;
    float value;
};
using Reports = QList<Report>;

const char *const kFeelButtons[] = {"advSoftButton", "advSportButton", "advByRCButton"};
const char *const kFeelMarks[] = {"advSoftLabel", "advSportLabel", "advByRCLabel"};
} // namespace

Q_DECLARE_METATYPE(Reports)

class AdvancedPageTest : public QObject
{
    Q_OBJECT

private slots:
    void feelingClickWritesIntegers_data();
    void feelingClickWritesIntegers();
    void feelingMarksFollowReports_data();
    void feelingMarksFollowReports();
    void markFollowsTheSimulatedFcsAnswers();
    void altitudeSaveWritesCentimetres_data();
    void altitudeSaveWritesCentimetres();
    void altitudeReadRequestsOneParameter();
    void reportedAltitudeShowsWholeMetres_data();
    void reportedAltitudeShowsWholeMetres();
    void feedForwardReadAsksStreamsThenParameter();

private:
    // Name of the one checked feel button and of the one marked label, or
    // empty when there is none; fails on more than one.
    static QString checkedFeelButton(GcsHarness &gcs);
    static QString markedFeelLabel(GcsHarness &gcs);
};

QString AdvancedPageTest::checkedFeelButton(GcsHarness &gcs)
{
    QStringList checked;
    for (const char *name : kFeelButtons) {
        if (gcs.widget<QRadioButton>(name)->isChecked())
            checked << QLatin1String(name);
    }
    return checked.join(QLatin1Char(','));
}

QString AdvancedPageTest::markedFeelLabel(GcsHarness &gcs)
{
    QStringList marked;
    for (const char *name : kFeelMarks) {
        const QString text = gcs.widget<QLabel>(name)->text();
        if (!text.isEmpty())
            marked << QStringLiteral("%1:%2").arg(QLatin1String(name), text);
    }
    return marked.join(QLatin1Char(','));
}

void AdvancedPageTest::feelingClickWritesIntegers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("soft") << "advSoftButton"
                          << QStringList{"set CH8_OPT=0 (6)", "set ATC_RATE_FF_ENAB=0 (6)"};
    QTest::newRow("sport") << "advSportButton"
                           << QStringList{"set CH8_OPT=0 (6)", "set ATC_RATE_FF_ENAB=1 (6)"};
    QTest::newRow("by receiver channel") << "advByRCButton" << QStringList{"set CH8_OPT=25 (6)"};
}

// A click writes, but the mark waits for the FC's report.
void AdvancedPageTest::feelingClickWritesIntegers()
{
    QFETCH(QString, button);
    QFETCH(QStringList, expected);

    GcsHarness gcs;
    gcs.connectToFc();
    gcs.click(qPrintable(button));

    QCOMPARE(gcs.sentDescriptions(), expected);
    QCOMPARE(checkedFeelButton(gcs), button);
    QCOMPARE(markedFeelLabel(gcs), QString());
}

void AdvancedPageTest::feelingMarksFollowReports_data()
{
    QTest::addColumn<Reports>("reports");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("marked");

    QTest::newRow("soft") << Reports{{"ATC_RATE_FF_ENAB", 0}} << "advSoftButton"
                          << "advSoftLabel:Selected";
    QTest::newRow("sport") << Reports{{"ATC_RATE_FF_ENAB", 1}} << "advSportButton"
                           << "advSportLabel:Selected";
    QTest::newRow("by receiver channel after sport")
        << Reports{{"ATC_RATE_FF_ENAB", 1}, {"CH8_OPT", 25}} << "advByRCButton"
        << "advByRCLabel:Selected";
    QTest::newRow("channel option 0 keeps the mark")
        << Reports{{"ATC_RATE_FF_ENAB", 1}, {"CH8_OPT", 25}, {"CH8_OPT", 0}} << "advByRCButton"
        << "advByRCLabel:Selected";
    QTest::newRow("feed-forward report after channel option wins")
        << Reports{{"CH8_OPT", 25}, {"ATC_RATE_FF_ENAB", 0}} << "advSoftButton"
        << "advSoftLabel:Selected";
    QTest::newRow("feed-forward 2 keeps the mark")
        << Reports{{"ATC_RATE_FF_ENAB", 1}, {"ATC_RATE_FF_ENAB", 2}} << "advSportButton"
        << "advSportLabel:Selected";
    QTest::newRow("unknown values mark nothing")
        << Reports{{"ATC_RATE_FF_ENAB", 2}, {"CH8_OPT", 7}} << ""
        << "";
}

void AdvancedPageTest::feelingMarksFollowReports()
{
    QFETCH(Reports, reports);
    QFETCH(QString, checked);
    QFETCH(QString, marked);

    GcsHarness gcs;
    gcs.connectToFc();
    for (const Report &report : reports)
        gcs.deliver(paramValueFrame(report.name, report.value));

    QCOMPARE(checkedFeelButton(gcs), checked);
    QCOMPARE(markedFeelLabel(gcs), marked);
    // Showing a report never writes it back.
    QVERIFY(gcs.sent().isEmpty());
}

// The simulated FC stores each write and answers with the stored value; the
// mark moves with those answers, never with the click itself.
void AdvancedPageTest::markFollowsTheSimulatedFcsAnswers()
{
    GcsHarness gcs;
    FcSimulator sim;
    SimulatorPtyLink link(gcs.line().masterFd(), sim);
    gcs.action("actionConnect")->trigger();
    QTRY_VERIFY(link.isListening());
    QVERIFY(gcs.port()->isOpen());

    gcs.click("advSportButton");
    QCOMPARE(markedFeelLabel(gcs), QString());
    QTRY_COMPARE(markedFeelLabel(gcs), QStringLiteral("advSportLabel:Selected"));
    QCOMPARE(sim.parameter(QStringLiteral("ATC_RATE_FF_ENAB")), 1.0f);

    gcs.click("advByRCButton");
    QCOMPARE(markedFeelLabel(gcs), QStringLiteral("advSportLabel:Selected"));
    QTRY_COMPARE(markedFeelLabel(gcs), QStringLiteral("advByRCLabel:Selected"));
    QCOMPARE(sim.parameter(QStringLiteral("CH8_OPT")), 25.0f);

    gcs.click("advSoftButton");
    QTRY_COMPARE(markedFeelLabel(gcs), QStringLiteral("advSoftLabel:Selected"));
    QCOMPARE(sim.parameter(QStringLiteral("CH8_OPT")), 0.0f);
    QCOMPARE(sim.parameter(QStringLiteral("ATC_RATE_FF_ENAB")), 0.0f);

    // Changed on the FC without a click: the page still follows.
    sim.setParameter(QStringLiteral("ATC_RATE_FF_ENAB"), 1.0f);
    sim.sendParameter(QStringLiteral("ATC_RATE_FF_ENAB"));
    QTRY_COMPARE(markedFeelLabel(gcs), QStringLiteral("advSportLabel:Selected"));
    QCOMPARE(checkedFeelButton(gcs), QStringLiteral("advSportButton"));
}

void AdvancedPageTest::altitudeSaveWritesCentimetres_data()
{
    QTest::addColumn<int>("metres");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("15 m") << 15 << QStringList{"set RTL_ALT=1500 (9)"};
    QTest::newRow("lowest") << 1 << QStringList{"set RTL_ALT=100 (9)"};
    QTest::newRow("highest") << 99 << QStringList{"set RTL_ALT=9900 (9)"};
    QTest::newRow("0 is never written") << 0 << QStringList{};
}

void AdvancedPageTest::altitudeSaveWritesCentimetres()
{
    QFETCH(int, metres);
    QFETCH(QStringList, expected);

    GcsHarness gcs;
    gcs.connectToFc();
    gcs.widget<QSpinBox>("advRTHalt")->setValue(metres);
    gcs.click("advRTHSaveButton");

    QCOMPARE(gcs.sentDescriptions(), expected);
}

void AdvancedPageTest::altitudeReadRequestsOneParameter()
{
    GcsHarness gcs;
    gcs.connectToFc();
    gcs.click("advRTHReadButton");

    QCOMPARE(gcs.sentDescriptions(), QStringList{"get RTL_ALT"});
}

void AdvancedPageTest::reportedAltitudeShowsWholeMetres_data()
{
    QTest::addColumn<float>("centimetres");
    QTest::addColumn<int>("metres");

    QTest::newRow("exact") << 1500.0f << 15;
    QTest::newRow("truncated") << 1550.0f << 15;
    QTest::newRow("truncated, not rounded") << 1599.0f << 15;
    QTest::newRow("below a metre") << 99.0f << 0;
    QTest::newRow("above the range") << 15000.0f << 99;
}

void AdvancedPageTest::reportedAltitudeShowsWholeMetres()
{
    QFETCH(float, centimetres);
    QFETCH(int, metres);

    GcsHarness gcs;
    gcs.connectToFc();
    gcs.widget<QSpinBox>("advRTHalt")->setValue(42);
    gcs.deliver(paramValueFrame(QStringLiteral("RTL_ALT"), centimetres));

    QCOMPARE(gcs.widget<QSpinBox>("advRTHalt")->value(), metres);
}

// No widget triggers it; it is reachable by name only.
void AdvancedPageTest::feedForwardReadAsksStreamsThenParameter()
{
    GcsHarness gcs;
    gcs.connectToFc();
    auto *page = gcs.window().findChild<AdvancedPage *>();
    QVERIFY(page);
    page->advFFRead();

    const QStringList expected = {"stream 0 rate 0 start 1", "stream 3 rate 1 start 1",
                                  "get ATC_RATE_FF_ENAB"};
    QCOMPARE(gcs.sentDescriptions(), expected);
}

QTEST_MAIN(AdvancedPageTest)
#include "tst_advancedpage.moc"
