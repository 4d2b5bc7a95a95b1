#include "app/mainwindow.h"

#include "pages/tabpage.h"
#include "session/fcsession.h"

#include <QDebug>

// Every value the FC reports lands here, whether it answers a read, echoes a
// write or comes unasked, just after the link's store has recorded it; the
// pages that show the name show the store's value. The store keeps no NaN
// or infinity, which would poison page state and spin boxes alike: such a
// value is only logged.
void MainWindow::parameterChanged(QString &name, QVariant value)
{
    const StoredParameter *stored = session->parameters().find(name);
    if (stored && stored->value == value.toFloat()) {
        for (TabPage *page : qAsConst(tabPages)) {
            if (page->shownParameters().contains(name))
                page->showParameter(name, QVariant(stored->value));
        }
    }
    qDebug() << name << "::" << value;
}
