#pragma once

#include <QMessageBox>

// QMessageBox::information, warning or critical.
using MessageBoxFunction = QMessageBox::StandardButton (*)(QWidget *, const QString &,
                                                           const QString &,
                                                           QMessageBox::StandardButtons,
                                                           QMessageBox::StandardButton);

// Opens the box from the event loop, once the slot asking for it and
// whatever called that slot have returned; not at all when parent is gone
// by then. Reports often end inside a frame's handling, and a box's event
// loop there leaves the window deaf: the port tells of new bytes only after
// the slot that read the last ones has returned.
void showBoxLater(MessageBoxFunction box, QWidget *parent, const QString &title,
                  const QString &text);
