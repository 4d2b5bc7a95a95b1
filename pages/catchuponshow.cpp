#include "pages/catchuponshow.h"

#include <QEvent>
#include <QWidget>

CatchUpOnShow::CatchUpOnShow(QWidget *watched, std::function<void()> showLatest)
    : QObject(watched), widget(watched), showLatest(std::move(showLatest))
{
    widget->installEventFilter(this);
}

// Once behind, it stays so until the Show event: no need to look again on
// every frame.
void CatchUpOnShow::valuesChanged()
{
    if (behind)
        return;
    behind = !widget->isVisible() && widget->window()->isVisible();
    if (!behind)
        showLatest();
}

bool CatchUpOnShow::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Show && behind) {
        behind = false;
        showLatest();
    }
    return false;
}
