#include "app/mainwindow.h"
#include "app/settingsdialog.h"
#include "app/translation.h"
#include "pages/accelpage.h"
#include "serial/portlist.h"
#include "support/modalboxcloser.h"
#include "support/wire.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <functional>

// The interface as a user in each locale sees it: main() installs the
// catalogue chosen for the system locale before the window is built.

namespace {

// Installs the catalogue main() would choose for a locale, for one test.
class LocaleCatalogue
{
public:
    explicit LocaleCatalogue(const QString &locale)
    {
        loadCatalogueForLocale(translator, locale);
        QCoreApplication::installTranslator(&translator);
    }
    ~LocaleCatalogue() { QCoreApplication::removeTranslator(&translator); }

private:
    QTranslator translator;
};

// One fully described port instead of the machine's: what the settings dialog
// shows then does not depend on where the tests run.
class OneKnownPort
{
public:
    OneKnownPort()
    {
        SerialPortDescription port;
        port.portName = "ttyACM0";
        port.description = "R7 flight controller";
        port.manufacturer = "ZEFA Robotics";
        port.serialNumber = "0001";
        port.systemLocation = "/dev/ttyACM0";
        port.vendorIdentifier = 0x1a2b;
        port.productIdentifier = 0x3c4d;
        setSerialPortLister([port] { return QList<SerialPortDescription>{port}; });
    }
    ~OneKnownPort() { setSerialPortLister({}); }
};

bool hasHan(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Han; });
}

// English that is left once the terms Chinese drone users read in Latin
// letters are taken out.
bool hasEnglish(QString text)
{
    for (const char *term : {"PWM", "PPM", "SBUS", "GPS", "IOC", "RTS/CTS", "XON/XOFF"})
        text.remove(QLatin1String(term));
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Latin && c.isLetter(); });
}

struct ShownText
{
    QString where;
    QString text;
};

// Every text a widget below `root` shows; port names are the system's.
QList<ShownText> shownTexts(QWidget &root)
{
    QList<ShownText> shown{{root.objectName(), root.windowTitle()}};
    for (QAction *a : root.findChildren<QAction *>()) {
        // Action > Port's entries, the menu's own children, name the ports.
        if (a->parent()->objectName() == "menuPort")
            continue;
        shown << ShownText{a->objectName(), a->text()} << ShownText{a->objectName(), a->toolTip()};
    }
    for (QTabWidget *tabs : root.findChildren<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i)
            shown << ShownText{tabs->widget(i)->objectName(), tabs->tabText(i)};
    }
    for (QLabel *l : root.findChildren<QLabel *>())
        shown << ShownText{l->objectName(), l->text()};
    for (QAbstractButton *b : root.findChildren<QAbstractButton *>())
        shown << ShownText{b->objectName(), b->text()};
    for (QGroupBox *g : root.findChildren<QGroupBox *>())
        shown << ShownText{g->objectName(), g->title()};
    for (QTextEdit *e : root.findChildren<QTextEdit *>())
        shown << ShownText{e->objectName(), e->toPlainText()};
    for (QComboBox *c : root.findChildren<QComboBox *>()) {
        for (int i = 0; c->objectName() != "serialPortInfoListBox" && i < c->count(); ++i)
            shown << ShownText{c->objectName(), c->itemText(i)};
    }
    return shown;
}

QStringList helpTexts(MainWindow &w)
{
    QStringList texts;
    for (const char *name :
         {"frameHelp", "rcHelp", "voltageHelp", "accelHelp", "fcHelp", "pidHelp", "advancedHelp"})
        texts << w.findChild<QTextEdit *>(name)->toPlainText();
    return texts;
}

template <typename T> T *child(QWidget &w, const char *name)
{
    T *found = w.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

void addLocales()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("zh_CN") << "zh_CN" << true;
    QTest::newRow("zh_TW") << "zh_TW" << true;
    QTest::newRow("zh_HK") << "zh_HK" << false;
    QTest::newRow("en_US") << "en_US" << false;
}

} // namespace

using Happening = std::function<void(MainWindow &)>;
Q_DECLARE_METATYPE(Happening)

class ChineseInterface : public QObject
{
    Q_OBJECT

private slots:
    void everyTextFollowsTheLocale_data() { addLocales(); }

    // In Chinese no English word may be left over; elsewhere no Chinese.
    void everyTextFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(bool, chinese);
        LocaleCatalogue catalogue(locale);
        OneKnownPort port;
        MainWindow window;
        SettingsDialog dialog;
        QStringList wrong;
        for (const ShownText &s : shownTexts(window) + shownTexts(dialog)) {
            const bool ok = chinese ? hasHan(s.text) || !hasEnglish(s.text) : !hasHan(s.text);
            if (!ok)
                wrong << s.where + QLatin1String(": ") + s.text;
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }

    void frameAndCaptionsInTheLocalesLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QString>("firstAlarm");
        QTest::addColumn<QString>("frameHelpStart");
        const QString chineseTitle("ZEFA R7 系列飞控调参助手");
        const QStringList chineseTabs = {"机架",     "遥控器", "电压", "加速度计",
                                         "飞控检测", "感度",   "高级"};
        const QString englishTitle("ZEFA R7 series of flight controller assistant software");
        const QStringList englishTabs = {
            "Frame", "Radio Controller", "Voltage", "Accelerometer", "FC Test", "Gain", "Advanced"};
        QTest::newRow("zh_CN") << "zh_CN" << chineseTitle << chineseTabs << "一级报警"
                               << "1. ZEFA R7 系列飞控支持";
        QTest::newRow("zh_TW") << "zh_TW" << chineseTitle << chineseTabs << "一级报警"
                               << "1. ZEFA R7 系列飞控支持";
        QTest::newRow("zh_HK") << "zh_HK" << englishTitle << englishTabs << "First  Alarm"
                               << "1. ZEFA R7 series of flight controllers support";
        QTest::newRow("en_US") << "en_US" << englishTitle << englishTabs << "First  Alarm"
                               << "1. ZEFA R7 series of flight controllers support";
    }

    void frameAndCaptionsInTheLocalesLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, title);
        QFETCH(QStringList, tabs);
        QFETCH(QString, firstAlarm);
        QFETCH(QString, frameHelpStart);
        LocaleCatalogue catalogue(locale);
        MainWindow window;
        QCOMPARE(window.windowTitle(), title);
        auto *tabWidget = child<QTabWidget>(window, "tabWidget");
        QCOMPARE(tabWidget->count(), tabs.size());
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(tabWidget->tabText(i), tabs[i]);
        QCOMPARE(child<QLabel>(window, "label_10")->text(), firstAlarm);
        QVERIFY2(helpTexts(window)[0].startsWith(frameHelpStart), qPrintable(helpTexts(window)[0]));
    }

    void shortcutsAndMnemonicsStayUsable_data() { addLocales(); }

    void shortcutsAndMnemonicsStayUsable()
    {
        QFETCH(QString, locale);
        LocaleCatalogue catalogue(locale);
        MainWindow window;
        const struct
        {
            const char *action;
            QKeySequence shortcut;
            QKeySequence mnemonic;
        } expected[] = {
            {"actionConnect", QKeySequence(Qt::CTRL + Qt::Key_O),
             QKeySequence(Qt::ALT + Qt::Key_O)},
            {"actionDisconnect", QKeySequence(Qt::CTRL + Qt::Key_D),
             QKeySequence(Qt::ALT + Qt::Key_D)},
            {"actionQuit", QKeySequence(Qt::CTRL + Qt::Key_Q), QKeySequence(Qt::ALT + Qt::Key_Q)},
            {"actionAbout", QKeySequence(Qt::ALT + Qt::Key_A), QKeySequence(Qt::ALT + Qt::Key_A)},
        };
        for (const auto &e : expected) {
            QAction *a = child<QAction>(window, e.action);
            QCOMPARE(a->shortcut(), e.shortcut);
            QCOMPARE(QKeySequence::mnemonic(a->text()), e.mnemonic);
        }
    }

    // Paragraph breaks are the only layout the help boxes have.
    void helpTextsKeepTheirParagraphs()
    {
        QStringList english;
        {
            MainWindow window;
            english = helpTexts(window);
        }
        LocaleCatalogue catalogue("zh_CN");
        MainWindow window;
        const QStringList chinese = helpTexts(window);
        for (int i = 0; i < english.size(); ++i) {
            QCOMPARE(chinese[i].count('\n'), english[i].count('\n'));
            QCOMPARE(chinese[i].isEmpty(), english[i].isEmpty());
        }
        // Only the advanced page has no help text.
        QCOMPARE(english.count(QString()), 1);
    }

    // Texts the pages and the link put on screen while the program runs.
    void runtimeTextsAreChinese_data()
    {
        QTest::addColumn<Happening>("happen");
        QTest::addColumn<QStringList>("widgets");
        const auto text = [](int severity, const char *fcText) {
            return [=](MainWindow &w) { w.TextMessageReceived(1, 1, severity, fcText); };
        };
        QTest::newRow("face prompt")
            << Happening(text(5, "Place vehicle on its LEFT side and press any key."))
            << QStringList{"outputLabel", "accelCalibrateButton"};
        QTest::newRow("calibration end") << Happening(text(5, "Calibration successful"))
                                         << QStringList{"outputLabel", "accelCalibrateButton"};
        QTest::newRow("countdown out") << Happening([](MainWindow &w) {
            w.accelPage().accelCalibrateButtonClicked();
            for (int tick = 0; tick < 40; ++tick)
                w.accelPage().countdownTimerTick();
        }) << QStringList{"coutdownLabel", "accelCalibrateButton"};
        QTest::newRow("pre-arm pass")
            << Happening(text(3, "PreArm: RC not calibrated"))
            << QStringList{"fcRCResult",      "fcAccelResult", "fcBaroResult",
                           "fcCompassResult", "fcGPSResult",   "fcHardwareResult"};
        QTest::newRow("pre-arm fail") << Happening(text(3, "PreArm: INS not healthy"))
                                      << QStringList{"fcAccelResult", "fcHardwareResult"};
        QTest::newRow("fly feeling mark") << Happening([](MainWindow &w) {
            w.receiveBytes(paramValueFrame(QStringLiteral("ATC_RATE_FF_ENAB"), 1));
        }) << QStringList{"advSportLabel"};
    }

    void runtimeTextsAreChinese()
    {
        QFETCH(Happening, happen);
        QFETCH(QStringList, widgets);
        LocaleCatalogue catalogue("zh_CN");
        MainWindow window;
        happen(window);
        for (const QString &name : widgets) {
            auto *w = window.findChild<QWidget *>(name);
            const QString shown = qobject_cast<QLabel *>(w)
                                      ? qobject_cast<QLabel *>(w)->text()
                                      : qobject_cast<QAbstractButton *>(w)->text();
            QVERIFY2(hasHan(shown) && !hasEnglish(shown), qPrintable(name + ": " + shown));
        }
    }

    void linkMessagesAreChinese()
    {
        LocaleCatalogue catalogue("zh_CN");
        qputenv("ZEFA_GCS_PORT", "/nonexistent/ttyZEFA");
        MainWindow window;
        window.show();
        ModalBoxCloser closer;
        window.openSerialPort();
        qunsetenv("ZEFA_GCS_PORT");
        QCOMPARE(closer.boxes().size(), 1);
        QCOMPARE(closer.boxes()[0].title, QString("错误"));
        QVERIFY(hasHan(closer.boxes()[0].text) && !hasEnglish(closer.boxes()[0].text));
        QCOMPARE(child<QStatusBar>(window, "statusBar")->currentMessage(), QString("打开串口失败"));
    }

    void countdownReadsNaturally()
    {
        LocaleCatalogue catalogue("zh_CN");
        MainWindow window;
        child<QAbstractButton>(window, "accelCalibrateButton")->click();
        QLabel *countdown = child<QLabel>(window, "coutdownLabel");
        QCOMPARE(countdown->text(), QString("剩余时间：30秒"));
        window.accelPage().countdownTimerTick();
        QCOMPARE(countdown->text(), QString("剩余时间：40秒"));
    }

    void radioResultHeadingReadsNaturally()
    {
        LocaleCatalogue catalogue("zh_CN");
        MainWindow window;
        window.show();
        ModalBoxCloser closer;
        child<QAbstractButton>(window, "radioCalibrateButton")->click();
        child<QAbstractButton>(window, "radioCalibrateButton")->click();
        QCOMPARE(closer.titles(), (QStringList{"注意", "注意", "校准结果"}));
        QVERIFY2(closer.boxes()[2].text.startsWith(" 序号\t最小值\t中间值\t最大值\n"
                                                   "--------------------\n"
                                                   "1\t1500\t0\t1500\n"),
                 qPrintable(closer.boxes()[2].text));
        QCOMPARE(child<QAbstractButton>(window, "radioCalibrateButton")->text(),
                 QString("开始校准"));
    }

    void portInformationReadsNaturally()
    {
        LocaleCatalogue catalogue("zh_CN");
        OneKnownPort port;
        SettingsDialog dialog;
        QCOMPARE(child<QLabel>(dialog, "descriptionLabel")->text(),
                 QString("描述：R7 flight controller"));
        QCOMPARE(child<QLabel>(dialog, "manufacturerLabel")->text(),
                 QString("制造商：ZEFA Robotics"));
    }
};

QTEST_MAIN(ChineseInterface)
#include "tst_chineseui.moc"
