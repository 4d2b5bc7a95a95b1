#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Live values reach a tab's widgets only while the tab can be seen: on a
// hidden tab every new text or style would still re-lay out or re-polish.
// The tab catches up with the latest values when it is shown, before it
// paints. A window not shown yet gets them at once, as before: nothing of
// it is painted until it is shown.
class CatchUpOnShow : public QObject
{
public:
    CatchUpOnShow(QWidget *watched, std::function<void()> showLatest);

    // New values arrived: shown now, or when the watched widget is shown.
    void valuesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *widget;
    std::function<void()> showLatest;
    bool behind = false;
};
