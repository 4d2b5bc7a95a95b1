#include "laterbox.h"

#include <QTimer>

void showBoxLater(MessageBoxFunction box, QWidget *parent, const QString &title,
                  const QString &text)
{
    QTimer::singleShot(0, parent,
                       [=] { box(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton); });
}
