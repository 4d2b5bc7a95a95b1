#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include <QIntValidator>

SettingsDialog::SettingsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SettingsDialog), intValidator(new QIntValidator(0, 4000000, this))
{
    ui->setupUi(this);
}

SettingsDialog::~SettingsDialog()
{
    delete ui;
}

void SettingsDialog::showPortInfo(int) {}

void SettingsDialog::apply() {}

void SettingsDialog::checkCustomBaudRatePolicy(int) {}

void SettingsDialog::listPorts() {}

void SettingsDialog::listParameters() {}

void SettingsDialog::storeSettings() {}
