#include "app/mainwindow.h"
#include "app/settingsdialog.h"
#include "serial/portlist.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
using PortList = QList<SerialPortDescription>;

SerialPortDescription port(const QString &name, const QString &description,
                           const QString &manufacturer, quint16 vendor, quint16 product)
{
    SerialPortDescription p;
    p.portName = name;
    p.description = description;
    p.manufacturer = manufacturer;
    p.serialNumber = description.isEmpty() ? QString() : QStringLiteral("SN-") + name;
    p.systemLocation = QStringLiteral("/dev/") + name;
    p.vendorIdentifier = vendor;
    p.productIdentifier = product;
    return p;
}

QList<SettingsDialog *> settingsDialogs()
{
    QList<SettingsDialog *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<SettingsDialog *>(w))
            found << dialog;
    }
    return found;
}

QStringList entryTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QVariantList entryValues(const QComboBox *box)
{
    QVariantList values;
    for (int i = 0; i < box->count(); ++i)
        values << box->itemData(i);
    return values;
}
} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void noPortsStoresEmptyNameAndFixedSettings();
    void portEntriesCarrySevenStrings();
    void choosingAPortShowsItsInformation();
    void parameterBoxesOfferTheirEntries_data();
    void parameterBoxesOfferTheirEntries();
    void customBaudRateIsTypedWithinLimits();
    void applyStoresFixedSettingsWhateverIsChosen();
    void mainWindowKeepsOneHiddenDialog();

private:
    static void verifyFixedLineSettings(const SerialSettings &s);
    template <typename T> static T *child(SettingsDialog &dialog, const char *name)
    {
        T *w = dialog.findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }
};

void SettingsDialogTest::cleanup()
{
    setSerialPortLister({});
}

void SettingsDialogTest::verifyFixedLineSettings(const SerialSettings &s)
{
    QCOMPARE(s.baudRate, 115200);
    QCOMPARE(s.baudRateText, QStringLiteral("115200"));
    QCOMPARE(s.dataBits, QSerialPort::Data8);
    QCOMPARE(s.dataBitsText, QStringLiteral("8"));
    QCOMPARE(s.parity, QSerialPort::NoParity);
    QCOMPARE(s.parityText, QStringLiteral("None"));
    QCOMPARE(s.stopBits, QSerialPort::OneStop);
    QCOMPARE(s.stopBitsText, QStringLiteral("1"));
    QCOMPARE(s.flowControl, QSerialPort::NoFlowControl);
    QCOMPARE(s.flowControlText, QStringLiteral("None"));
}

void SettingsDialogTest::noPortsStoresEmptyNameAndFixedSettings()
{
    setSerialPortLister([] { return PortList{}; });
    SettingsDialog dialog;

    QCOMPARE(child<QComboBox>(dialog, "serialPortInfoListBox")->count(), 0);
    QCOMPARE(child<QLabel>(dialog, "descriptionLabel")->text(), QStringLiteral("Description:"));
    QCOMPARE(child<QLabel>(dialog, "manufacturerLabel")->text(), QStringLiteral("Manufacturer:"));
    QCOMPARE(dialog.settings().portName, QString());
    verifyFixedLineSettings(dialog.settings());
}

void SettingsDialogTest::portEntriesCarrySevenStrings()
{
    setSerialPortLister([] {
        return PortList{port("ttyACM0", QString(), QString(), 0x1A2B, 0),
                        port("ttyUSB1", "R7 Flight Controller", "ZEFA", 0xABCD, 0x0483)};
    });
    SettingsDialog dialog;
    const QComboBox *ports = child<QComboBox>(dialog, "serialPortInfoListBox");

    QCOMPARE(entryTexts(ports), (QStringList{"ttyACM0", "ttyUSB1"}));
    QCOMPARE(ports->itemData(0).toStringList(),
             (QStringList{"ttyACM0", "N/A", "N/A", "N/A", "/dev/ttyACM0", "1a2b", "N/A"}));
    QCOMPARE(ports->itemData(1).toStringList(),
             (QStringList{"ttyUSB1", "R7 Flight Controller", "ZEFA", "SN-ttyUSB1", "/dev/ttyUSB1",
                          "abcd", "483"}));
    QCOMPARE(dialog.settings().portName, QStringLiteral("ttyACM0"));
}

void SettingsDialogTest::choosingAPortShowsItsInformation()
{
    setSerialPortLister([] {
        return PortList{port("ttyACM0", QString(), QString(), 0, 0),
                        port("ttyUSB1", "R7 Flight Controller", "ZEFA", 0x0483, 0x5740)};
    });
    SettingsDialog dialog;
    QLabel *description = child<QLabel>(dialog, "descriptionLabel");
    QLabel *manufacturer = child<QLabel>(dialog, "manufacturerLabel");

    QCOMPARE(description->text(), QStringLiteral("Description: N/A"));
    QCOMPARE(manufacturer->text(), QStringLiteral("Manufacturer: N/A"));

    child<QComboBox>(dialog, "serialPortInfoListBox")->setCurrentIndex(1);
    QCOMPARE(description->text(), QStringLiteral("Description: R7 Flight Controller"));
    QCOMPARE(manufacturer->text(), QStringLiteral("Manufacturer: ZEFA"));
}

void SettingsDialogTest::parameterBoxesOfferTheirEntries_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("current");

    QTest::newRow("baud rate") << "baudRateBox"
                               << QStringList{"9600", "19200", "38400", "115200", "Custom"}
                               << QVariantList{9600, 19200, 38400, 115200, QVariant()} << 0;
    QTest::newRow("data bits") << "dataBitsBox" << QStringList{"5", "6", "7", "8"}
                               << QVariantList{5, 6, 7, 8} << 3;
    QTest::newRow("parity") << "parityBox" << QStringList{"None", "Even", "Odd", "Mark", "Space"}
                            << QVariantList{0, 2, 3, 5, 4} << 0;
    QTest::newRow("stop bits") << "stopBitsBox" << QStringList{"1", "1.5", "2"}
                               << QVariantList{1, 3, 2} << 0;
    QTest::newRow("flow control") << "flowControlBox" << QStringList{"None", "RTS/CTS", "XON/XOFF"}
                                  << QVariantList{0, 1, 2} << 0;
}

void SettingsDialogTest::parameterBoxesOfferTheirEntries()
{
    QFETCH(QString, box);
    QFETCH(QStringList, texts);
    QFETCH(QVariantList, values);
    QFETCH(int, current);

    setSerialPortLister([] { return PortList{}; });
    SettingsDialog dialog;
    const QComboBox *combo = child<QComboBox>(dialog, qPrintable(box));

    QCOMPARE(entryTexts(combo), texts);
    QCOMPARE(entryValues(combo), values);
    QCOMPARE(combo->currentIndex(), current);
}

void SettingsDialogTest::customBaudRateIsTypedWithinLimits()
{
    setSerialPortLister([] { return PortList{}; });
    SettingsDialog dialog;
    QComboBox *baudRate = child<QComboBox>(dialog, "baudRateBox");
    QVERIFY(!baudRate->isEditable());

    baudRate->setCurrentIndex(baudRate->findText(QStringLiteral("Custom")));
    QVERIFY(baudRate->isEditable());
    QLineEdit *edit = baudRate->lineEdit();
    QCOMPARE(edit->text(), QString());

    QTest::keyClicks(edit, QStringLiteral("9x6-0a"));
    QCOMPARE(edit->text(), QStringLiteral("960"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("4000001"));
    QVERIFY(!edit->hasAcceptableInput());
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("40000001"));
    QCOMPARE(edit->text(), QStringLiteral("4000000"));
    QVERIFY(edit->hasAcceptableInput());
    // Typed rates never become entries of the box.
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(baudRate->count(), 5);

    baudRate->setCurrentIndex(baudRate->findText(QStringLiteral("9600")));
    QVERIFY(!baudRate->isEditable());
    QCOMPARE(baudRate->currentText(), QStringLiteral("9600"));
}

void SettingsDialogTest::applyStoresFixedSettingsWhateverIsChosen()
{
    setSerialPortLister([] {
        return PortList{port("ttyACM0", QString(), QString(), 0, 0),
                        port("ttyACM1", QString(), QString(), 0, 0)};
    });
    SettingsDialog dialog;
    dialog.show();
    child<QComboBox>(dialog, "serialPortInfoListBox")->setCurrentIndex(1);
    child<QComboBox>(dialog, "baudRateBox")->setCurrentIndex(0);
    child<QComboBox>(dialog, "dataBitsBox")->setCurrentIndex(0);
    child<QComboBox>(dialog, "parityBox")->setCurrentIndex(2);
    child<QComboBox>(dialog, "stopBitsBox")->setCurrentIndex(2);
    child<QComboBox>(dialog, "flowControlBox")->setCurrentIndex(1);
    QCOMPARE(dialog.settings().portName, QStringLiteral("ttyACM0"));

    child<QPushButton>(dialog, "applyButton")->click();

    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.settings().portName, QStringLiteral("ttyACM1"));
    verifyFixedLineSettings(dialog.settings());
}

void SettingsDialogTest::mainWindowKeepsOneHiddenDialog()
{
    setSerialPortLister([] { return PortList{}; });
    QVERIFY(settingsDialogs().isEmpty());
    {
        MainWindow window;
        window.show();
        QCoreApplication::processEvents();
        const QList<SettingsDialog *> dialogs = settingsDialogs();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(dialogs.first()->isHidden());
    }
    QVERIFY(settingsDialogs().isEmpty());
}

QTEST_MAIN(SettingsDialogTest)
#include "tst_settingsdialog.moc"
