#include "livewidgets.h"

#include <QBackingStore>
#include <QEvent>
#include <QLabel>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>

void CapturedBackdrop::install(QWidget *widget)
{
    widget->installEventFilter(new CapturedBackdrop(widget));
}

CapturedBackdrop::CapturedBackdrop(QWidget *widget) : QObject(widget), widget(widget) {}

bool CapturedBackdrop::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
        paintBehind(*static_cast<QPaintEvent *>(event));
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::ParentChange:
    case QEvent::ZOrderChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        forget();
        break;
    default:
        break;
    }
    return false;
}

// Runs before the widget's own paintEvent. The copy goes back pixel for
// pixel in device coordinates, also where the widget starts between device
// pixels. An ancestor that moved or grew sends the widget nothing: its copy
// shows once more, and is then retaken.
void CapturedBackdrop::paintBehind(const QPaintEvent &event)
{
    if (backdrop.isNull()) {
        capture(event);
        return;
    }
    QPainter painter(widget);
    const QTransform toDevice = painter.deviceTransform();
    painter.setWorldTransform(toDevice.inverted());
    // Replaced, not blended: where the style drew through the system (the
    // native theme on Windows), the store holds opaque colours with an alpha
    // of 0, which a blended copy would leave out, showing what was there
    // before (an old handle, another tab).
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(toDevice.map(QPointF()) + shift, backdrop);
    if (placementChanged())
        forget();
}

bool CapturedBackdrop::placementChanged() const
{
    if (widget->devicePixelRatioF() != pixelRatio ||
        widget->mapTo(widget->window(), QPoint()) != windowOrigin)
        return true;
    int i = 0;
    for (const QWidget *w = widget; w; w = w->parentWidget(), ++i) {
        if (i == sizes.size() || w->size() != sizes[i])
            return true;
    }
    return i != sizes.size();
}

// Only while painting into the window's backing store, not into a grab(),
// and only when the paint covers all of the widget that can be seen: then
// everything behind it has just been painted there.
void CapturedBackdrop::capture(const QPaintEvent &event)
{
    const QRegion shown =
        widget->visibleRegion() & (widget->mask().isEmpty() ? widget->rect() : widget->mask());
    QBackingStore *store = widget->backingStore();
    QPaintDevice *device = store ? store->paintDevice() : nullptr;
    if (!(shown - event.region()).isEmpty() || !device || device->devType() != QInternal::Image)
        return;
    const QPainter probe(widget);
    if (probe.paintEngine()->paintDevice() != device)
        return;

    // The device pixels the widget touches, from the one its corner falls in.
    const QRectF exact = probe.deviceTransform().mapRect(QRectF(widget->rect()));
    const QPoint first(int(std::floor(exact.left())), int(std::floor(exact.top())));
    const QPoint last(int(std::ceil(exact.right())) - 1, int(std::ceil(exact.bottom())) - 1);
    const QRect area(first, last);
    const QImage &window = *static_cast<QImage *>(device);
    if (!window.rect().contains(area))
        return;
    backdrop = window.copy(area);
    backdrop.setDevicePixelRatio(1); // drawn in device pixels
    shift = QPointF(first) - exact.topLeft();
    pixelRatio = widget->devicePixelRatioF();
    windowOrigin = widget->mapTo(widget->window(), QPoint());
    sizes.clear();
    for (const QWidget *w = widget; w; w = w->parentWidget())
        sizes << w->size();
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CapturedBackdrop::forget()
{
    if (backdrop.isNull())
        return;
    backdrop = QImage();
    widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
    widget->update();
}

void SliderBand::install(QSlider *slider)
{
    slider->installEventFilter(new SliderBand(slider));
}

SliderBand::SliderBand(QSlider *slider) : QObject(slider), slider(slider)
{
    maskToBand();
}

bool SliderBand::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange)
        maskToBand();
    return false;
}

// Where a style draws a focus frame around the whole slider, the band is the
// whole slider. One pixel to spare on each side, for antialiased edges.
void SliderBand::maskToBand()
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    QRect drawn = slider->style()->subElementRect(QStyle::SE_SliderFocusRect, &option, slider);
    for (int value : {slider->minimum(), slider->maximum()}) {
        option.sliderPosition = option.sliderValue = value;
        for (QStyle::SubControl part : {QStyle::SC_SliderGroove, QStyle::SC_SliderHandle})
            drawn |= slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
    }
    const QMargins spare(1, 1, 1, 1);
    slider->setMask(QRegion(drawn.marginsAdded(spare) & slider->rect()));
}

LiveSlider::LiveSlider(QWidget *parent) : QSlider(parent), drawnValue(value()) {}

void LiveSlider::sliderChange(SliderChange change)
{
    if (change == SliderValueChange) {
        update(changedArea());
    } else {
        measure = Measure{};
        QSlider::sliderChange(change);
    }
    drawnValue = value();
}

// The style's option is dear to fill in at every value: it is kept with what
// the places depend on beyond the range and orientation, whose changes come
// here too. One pixel to spare on each side, for antialiased edges.
QRect LiveSlider::changedArea()
{
    const Measure now{size(), style(), invertedAppearance(), layoutDirection()};
    if (!(now == measure)) {
        initStyleOption(&option);
        groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        measure = now;
    }
    const QRect handles = handleAt(drawnValue) | handleAt(value());
    QRect changed = groove | handles;
    if (orientation() == Qt::Horizontal) {
        changed.setLeft(handles.left());
        changed.setRight(handles.right());
    } else {
        changed.setTop(handles.top());
        changed.setBottom(handles.bottom());
    }
    return changed.marginsAdded(QMargins(1, 1, 1, 1));
}

QRect LiveSlider::handleAt(int position)
{
    option.sliderPosition = option.sliderValue = position;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

// The font sets only its strategy: family and size still follow the parent.
// A label whose least and greatest size are the same tells nobody that its
// preferred size may have changed.
void prepareLiveNumber(QLabel *label)
{
    QFont unshaped;
    unshaped.setStyleStrategy(
        QFont::StyleStrategy(label->font().styleStrategy() | QFont::PreferNoShaping));
    label->setFont(unshaped);
    label->setTextFormat(Qt::PlainText);
    label->setFixedSize(label->size());
}
