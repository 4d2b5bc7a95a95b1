#include "modalboxcloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

ModalBoxCloser::ModalBoxCloser(WhileOpen whileOpen) : action(std::move(whileOpen))
{
    connect(&timer, &QTimer::timeout, this, &ModalBoxCloser::check);
    timer.start(10);
}

QStringList ModalBoxCloser::titles() const
{
    QStringList out;
    for (const SeenBox &box : seen)
        out << box.title;
    return out;
}

void ModalBoxCloser::check()
{
    if (busy)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (!box || handled.contains(QPointer<QWidget>(box)))
        return;
    busy = true;
    handled.append(box);
    seen.append({box->windowTitle(), box->text(), box->informativeText()});
    if (action)
        action(seen.size() - 1);
    QPointer<QMessageBox> guard(box);
    if (guard) {
        if (QAbstractButton *ok = guard->button(QMessageBox::Ok))
            ok->click();
        else
            guard->accept();
    }
    busy = false;
}
