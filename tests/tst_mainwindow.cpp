#include "app/mainwindow.h"
#include "app/translation.h"
#include "support/modalboxcloser.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

namespace {
QAction *action(QWidget &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}
} // namespace

class MainWindowFrame : public QObject
{
    Q_OBJECT

private slots:
    void startUpState()
    {
        MainWindow w;
        QCOMPARE(w.objectName(), QString("MainWindow"));
        QCOMPARE(w.windowTitle(),
                 QString("ZEFA R7 series of flight controller assistant software"));
        QCOMPARE(w.size(), QSize(800, 500));
        QCOMPARE(w.minimumSize(), QSize(800, 500));
        QCOMPARE(w.maximumSize(), QSize(800, 500));
        QVERIFY(action(w, "actionConnect")->isEnabled());
        QVERIFY(!action(w, "actionDisconnect")->isEnabled());
        QVERIFY(!action(w, "actionBackUpSettings")->isEnabled());
        QVERIFY(!action(w, "actionRestoreSettings")->isEnabled());
        QVERIFY(!action(w, "actionAllParameters")->isEnabled());
        QVERIFY(!action(w, "actionRecordSession")->isEnabled());
        QVERIFY(action(w, "actionQuit")->isEnabled());
        QVERIFY(w.findChild<QStatusBar *>("statusBar")->currentMessage().isEmpty());
    }

    void tabsInOrder()
    {
        MainWindow w;
        auto *tabs = w.findChild<QTabWidget *>("tabWidget");
        const QStringList names = {"tab", "tab_2", "tab_4", "tab_3", "tab_5", "tab_6", "tab_7"};
        const QStringList titles = {
            "Frame", "Radio Controller", "Voltage", "Accelerometer", "FC Test", "Gain", "Advanced"};
        QCOMPARE(tabs->count(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(tabs->widget(i)->objectName(), names[i]);
            QCOMPARE(tabs->tabText(i), titles[i]);
        }
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void actionsMenusAndToolBar()
    {
        MainWindow w;
        struct Expected
        {
            const char *name, *text, *toolTip, *shortcut;
            bool icon;
        };
        const Expected expected[] = {
            {"actionAbout", "&About", "About program", "Alt+A", false},
            {"actionConnect", "C&onnect", "Connect to zefa FC", "Ctrl+O", true},
            {"actionDisconnect", "&Disconnect", "Disconnect from zefa FC", "Ctrl+D", true},
            {"actionQuit", "&Quit", "Quit", "Ctrl+Q", true},
            {"actionBackUpSettings", "Back Up Settings...", "Back Up Settings", "", false},
            {"actionRestoreSettings", "Restore Settings...", "Restore Settings", "", false},
            {"actionAllParameters", "All Parameters...", "All Parameters", "", false},
            {"actionRecordSession", "Record Session...", "Record Session", "", false},
            {"actionHistory", "History...", "History", "", false},
        };
        for (const Expected &e : expected) {
            QAction *a = action(w, e.name);
            QVERIFY2(a, e.name);
            QCOMPARE(a->text(), QString(e.text));
            QCOMPARE(a->toolTip(), QString(e.toolTip));
            QCOMPARE(a->shortcut(), QKeySequence(QString(e.shortcut)));
            QCOMPARE(!a->icon().isNull(), e.icon);
        }
        const QList<QAction *> menus = w.findChild<QMenuBar *>("menuBar")->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QString("Action"));
        QCOMPARE(menus[1]->text(), QString("Help"));
        const QList<QAction *> calls = menus[0]->menu()->actions();
        QCOMPARE(calls.size(), 11);
        QCOMPARE(calls[0], action(w, "actionConnect"));
        QCOMPARE(calls[1], action(w, "actionDisconnect"));
        QCOMPARE(calls[2], action(w, "actionBackUpSettings"));
        QCOMPARE(calls[3], action(w, "actionRestoreSettings"));
        QCOMPARE(calls[4], action(w, "actionAllParameters"));
        QCOMPARE(calls[5], action(w, "actionRecordSession"));
        QCOMPARE(calls[6]->menu(), w.findChild<QMenu *>("menuPort"));
        QCOMPARE(calls[6]->text(), QString("Port"));
        QCOMPARE(calls[7], action(w, "actionAutoConnect"));
        QCOMPARE(calls[7]->text(), QString("Connect Automatically"));
        QVERIFY(calls[7]->isCheckable());
        QCOMPARE(calls[8], action(w, "actionHistory"));
        QVERIFY(calls[9]->isSeparator());
        QCOMPARE(calls[10], action(w, "actionQuit"));
        QCOMPARE(menus[1]->menu()->actions(), QList<QAction *>{action(w, "actionAbout")});
        QCOMPARE(w.findChild<QToolBar *>("mainToolBar")->actions(),
                 (QList<QAction *>{action(w, "actionConnect"), action(w, "actionDisconnect")}));
    }

    void aboutBox()
    {
        MainWindow w;
        w.show();
        ModalBoxCloser closer;
        action(w, "actionAbout")->trigger();
        QCOMPARE(closer.boxes().size(), 1);
        QCOMPARE(closer.boxes()[0].title, QString("About ZEFA GCS"));
        QVERIFY(closer.boxes()[0].text.startsWith("Please visit "));
    }

    void quitClosesTheWindow()
    {
        MainWindow w;
        w.show();
        QVERIFY(w.isVisible());
        action(w, "actionQuit")->trigger();
        QVERIFY(!w.isVisible());
    }

    void catalogueChoice_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("mainland") << "zh_CN"
                                  << ":images/zh_CN.qm";
        QTest::newRow("taiwan") << "zh_TW"
                                << ":images/zh_CN.qm";
        QTest::newRow("hong kong") << "zh_HK"
                                   << "";
        QTest::newRow("us english") << "en_US"
                                    << "";
        QTest::newRow("lower case") << "zh_cn"
                                    << "";
    }

    void catalogueChoice()
    {
        QFETCH(QString, locale);
        QFETCH(QString, catalogue);
        QCOMPARE(catalogueForLocale(locale), catalogue);
    }

    void embeddedCatalogues()
    {
        for (const char *name : {":images/zh_CN.qm", ":images/zh_TW.qm", ":images/en.qm"})
            QVERIFY2(QFile::exists(name), name);
        QTranslator translator;
        loadCatalogueForLocale(translator, "zh_TW");
        QVERIFY(!translator.isEmpty());
        QCOMPARE(translator.translate("MainWindow", "About ZEFA GCS"),
                 QString::fromUtf8("关于 ZEFA GCS"));
        QTranslator untouched;
        loadCatalogueForLocale(untouched, "zh_HK");
        QVERIFY(untouched.isEmpty());
    }
};

QTEST_MAIN(MainWindowFrame)
#include "tst_mainwindow.moc"
