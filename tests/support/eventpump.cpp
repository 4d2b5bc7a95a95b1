#include "eventpump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

void pumpEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}
