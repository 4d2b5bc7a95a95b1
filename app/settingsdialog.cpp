#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "serial/portlist.h"

#include <QIntValidator>
#include <QLineEdit>

namespace {
constexpr int kHexBase = 16;
constexpr int kDescriptionField = 1;
constexpr int kManufacturerField = 2;
} // namespace

SettingsDialog::SettingsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SettingsDialog), intValidator(new QIntValidator(0, 4000000, this))
{
    ui->setupUi(this);
    ui->baudRateBox->setInsertPolicy(QComboBox::NoInsert);

    connect(ui->applyButton, &QPushButton::clicked, this, &SettingsDialog::apply);
    connect(ui->serialPortInfoListBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingsDialog::showPortInfo);
    connect(ui->baudRateBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingsDialog::checkCustomBaudRatePolicy);

    listParameters();
    listPorts();
    storeSettings();
}

SettingsDialog::~SettingsDialog()
{
    delete ui;
}

void SettingsDialog::showPortInfo(int idx)
{
    if (idx == -1)
        return;
    const QStringList list = ui->serialPortInfoListBox->itemData(idx).toStringList();
    ui->descriptionLabel->setText(tr("Description: %1").arg(list.value(kDescriptionField)));
    ui->manufacturerLabel->setText(tr("Manufacturer: %1").arg(list.value(kManufacturerField)));
}

void SettingsDialog::apply()
{
    storeSettings();
    hide();
}

// "Custom" is the one entry without a value: only then may a rate be typed.
void SettingsDialog::checkCustomBaudRatePolicy(int idx)
{
    const bool isCustomBaudRate = !ui->baudRateBox->itemData(idx).isValid();
    ui->baudRateBox->setEditable(isCustomBaudRate);
    if (isCustomBaudRate) {
        ui->baudRateBox->clearEditText();
        ui->baudRateBox->lineEdit()->setValidator(intValidator);
    }
}

void SettingsDialog::listPorts()
{
    ui->serialPortInfoListBox->clear();
    for (const SerialPortDescription &port : availableSerialPorts())
        ui->serialPortInfoListBox->addItem(port.portName, portInfoFields(port));
}

// Port name, description, manufacturer, serial number, location, vendor and
// product id.
QStringList SettingsDialog::portInfoFields(const SerialPortDescription &port)
{
    return {port.portName,
            orNotAvailable(port.description),
            orNotAvailable(port.manufacturer),
            orNotAvailable(port.serialNumber),
            port.systemLocation,
            usbIdentifier(port.vendorIdentifier),
            usbIdentifier(port.productIdentifier)};
}

QString SettingsDialog::notAvailable()
{
    static const QString text = tr("N/A");
    return text;
}

QString SettingsDialog::orNotAvailable(const QString &text)
{
    return text.isEmpty() ? notAvailable() : text;
}

// A port without USB identity reports 0.
QString SettingsDialog::usbIdentifier(quint16 id)
{
    return id == 0 ? notAvailable() : QString::number(id, kHexBase);
}

void SettingsDialog::listParameters()
{
    ui->baudRateBox->addItem(QStringLiteral("9600"), QSerialPort::Baud9600);
    ui->baudRateBox->addItem(QStringLiteral("19200"), QSerialPort::Baud19200);
    ui->baudRateBox->addItem(QStringLiteral("38400"), QSerialPort::Baud38400);
    ui->baudRateBox->addItem(QStringLiteral("115200"), QSerialPort::Baud115200);
    ui->baudRateBox->addItem(tr("Custom"));

    ui->dataBitsBox->addItem(QStringLiteral("5"), QSerialPort::Data5);
    ui->dataBitsBox->addItem(QStringLiteral("6"), QSerialPort::Data6);
    ui->dataBitsBox->addItem(QStringLiteral("7"), QSerialPort::Data7);
    ui->dataBitsBox->addItem(QStringLiteral("8"), QSerialPort::Data8);
    ui->dataBitsBox->setCurrentIndex(ui->dataBitsBox->findData(QSerialPort::Data8));

    ui->parityBox->addItem(tr("None"), QSerialPort::NoParity);
    ui->parityBox->addItem(tr("Even"), QSerialPort::EvenParity);
    ui->parityBox->addItem(tr("Odd"), QSerialPort::OddParity);
    ui->parityBox->addItem(tr("Mark"), QSerialPort::MarkParity);
    ui->parityBox->addItem(tr("Space"), QSerialPort::SpaceParity);

    ui->stopBitsBox->addItem(QStringLiteral("1"), QSerialPort::OneStop);
    ui->stopBitsBox->addItem(tr("1.5"), QSerialPort::OneAndHalfStop);
    ui->stopBitsBox->addItem(QStringLiteral("2"), QSerialPort::TwoStop);

    ui->flowControlBox->addItem(tr("None"), QSerialPort::NoFlowControl);
    ui->flowControlBox->addItem(tr("RTS/CTS"), QSerialPort::HardwareControl);
    ui->flowControlBox->addItem(tr("XON/XOFF"), QSerialPort::SoftwareControl);
}

// The FC link never uses what the boxes show; the record always holds the
// fixed line settings.
void SettingsDialog::storeSettings()
{
    currentSettings = fixedLineSettings(ui->serialPortInfoListBox->currentText());
}
