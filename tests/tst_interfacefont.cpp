#include "app/applicationsetup.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFontInfo>
#include <QTextLayout>
#include <QTranslator>
#include <QtTest>

// The pages' fixed layout is measured against one font; whatever font the
// desktop hands the program, the window shows that one.

class InterfaceFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // What a desktop's platform theme sets: a general font and fonts of
        // its own for some classes.
        const QFont desktopFont(QStringLiteral("DejaVu Serif"), 14);
        QApplication::setFont(desktopFont);
        QApplication::setFont(desktopFont, "QMenuBar");
        QApplication::setFont(desktopFont, "QGroupBox");
        setUpApplication(*qApp, translator);
    }

    void everyCaptionWidgetUsesIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pointSize");
        for (const char *name : {"menuBar", "tabWidget", "groupBox_3", "label_5", "fcTestButton",
                                 "advSoftButton", "voltageLevel1"})
            QTest::newRow(name) << QString::fromLatin1(name) << 9;
        // The form's own size stays.
        QTest::newRow("fcRoll") << QStringLiteral("fcRoll") << 12;
    }

    void everyCaptionWidgetUsesIt()
    {
        QFETCH(QString, name);
        QFETCH(int, pointSize);
        MainWindow window;
        const QWidget *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QFontInfo(widget->font()).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(widget->font().pointSize(), pointSize);
    }

    // Chinese comes from one face too, not from whichever the system prefers.
    void chineseTextIsDrawnInTheCjkFace()
    {
        QTextLayout layout(QString::fromUtf8("飞控检测 GPS"), interfaceFont());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> han = layout.glyphRuns(0, 4);
        QCOMPARE(han.size(), 1);
        QCOMPARE(han.first().rawFont().familyName(), QStringLiteral("Noto Sans CJK SC"));
    }

private:
    QTranslator translator;
};

QTEST_MAIN(InterfaceFont)
#include "tst_interfacefont.moc"
