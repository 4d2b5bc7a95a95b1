#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QSlider>
#include <QStringList>
#include <QWidget>

// Events of one type that reach the watched widgets, by widget name; for a
// watched slider also its value at each such event.
class EventTally : public QObject
{
public:
    EventTally(QEvent::Type type, const QList<QWidget *> &widgets) : type(type)
    {
        for (QWidget *w : widgets)
            w->installEventFilter(this);
    }
    QStringList names;
    QList<int> sliderValues;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == type) {
            names << watched->objectName();
            if (auto *slider = qobject_cast<QSlider *>(watched))
                sliderValues << slider->value();
        }
        return false;
    }

private:
    QEvent::Type type;
};
