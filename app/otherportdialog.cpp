#include "app/otherportdialog.h"

#include "app/mainwindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString askForPortName(QWidget *parent, const QString &current)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(MainWindow::tr("Other Port"));
    auto *edit = new QLineEdit(current);
    edit->setObjectName(QStringLiteral("portNameEdit"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    const auto allowOnlyAName = [edit, ok] { ok->setEnabled(!edit->text().trimmed().isEmpty()); };
    QObject::connect(edit, &QLineEdit::textChanged, ok, allowOnlyAName);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    allowOnlyAName();

    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(MainWindow::tr("Port name, for example /dev/ttyACM1, /dev/rfcomm0 or COM7:")));
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return edit->text().trimmed();
}
