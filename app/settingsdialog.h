#pragma once

#include "serial/serialsettings.h"

#include <QDialog>

class QIntValidator;
struct SerialPortDescription;

namespace Ui {
class SettingsDialog;
}

// Serial port picker. The main window keeps one but never shows it; the FC
// link always uses the fixed line settings.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget *parent = nullptr);
    ~SettingsDialog() override;

    SerialSettings settings() const { return currentSettings; }

private slots:
    void showPortInfo(int idx);
    void apply();
    void checkCustomBaudRatePolicy(int idx);

private:
    void listPorts();
    void listParameters();
    void storeSettings();

    static QStringList portInfoFields(const SerialPortDescription &port);
    static QString notAvailable();
    static QString orNotAvailable(const QString &text);
    static QString usbIdentifier(quint16 id);

    Ui::SettingsDialog *ui;
    SerialSettings currentSettings;
    QIntValidator *intValidator;
};
