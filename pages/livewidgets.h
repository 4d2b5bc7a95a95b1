#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVector>

class QLabel;
class QPaintEvent;

// Painting shortcuts for widgets that change many times a second (the live
// radio values). What the window shows stays the same pixel for pixel; only
// less of it is painted again.

// Every change of a transparent widget makes the widgets behind it repaint
// their part: group box frames and the tab pane cost more than the widget
// itself. Once the widget has been painted in full, this keeps a copy of
// what lies behind it, taken from the window's backing store just before
// the widget paints itself, and marks the widget opaque: from then on the
// widget paints the copy and the widgets behind it are left alone.
//
// The copy is dropped, and the widgets behind paint once more, when
// anything that shapes it changes: the widget's place in the window, its
// own or an ancestor's size, the pixel ratio, style, palette, font, enabled
// or active state. Lower siblings that overlap the widget (captions) are
// taken to be static.
class CapturedBackdrop : public QObject
{
public:
    static void install(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CapturedBackdrop(QWidget *widget);
    void paintBehind(const QPaintEvent &event);
    bool placementChanged() const;
    void capture(const QPaintEvent &event);
    void forget();

    QWidget *widget;
    QImage backdrop;
    QPointF shift; // from the widget's corner to the copy's, in device pixels
    QPoint windowOrigin;
    qreal pixelRatio = 0;
    QVector<QSize> sizes; // the widget's and its ancestors'
};

// A slider repaints its whole rectangle on every value change, and with it
// the captions that overlap its empty rows above and below the groove. This
// masks the slider to the band of rows its style draws in (groove, handle
// at both ends of the range, focus frame), kept up to date on resize and
// style change. A click in the empty rows then goes to the widget behind.
class SliderBand : public QObject
{
public:
    static void install(QSlider *slider);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SliderBand(QSlider *slider);
    void maskToBand();

    QSlider *slider;
};

// A slider whose value changes many times a second. QSlider repaints all of
// itself on every value change, and with it every caption that overlaps it,
// though only the stretch between the handle's old and new places changes:
// the handle, and the groove's fill that ends at it.
class LiveSlider : public QSlider
{
public:
    explicit LiveSlider(QWidget *parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;

private:
    struct Measure
    {
        QSize size;
        const QStyle *style = nullptr;
        bool inverted = false;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool operator==(const Measure &other) const
        {
            return size == other.size && style == other.style && inverted == other.inverted &&
                   direction == other.direction;
        }
    };

    QRect changedArea();
    QRect handleAt(int position);

    int drawnValue;
    QStyleOptionSlider option;
    QRect groove;
    Measure measure;
};

// A label showing a whole number that changes many times a second. For each
// new text QLabel would shape the digits through HarfBuzz (Latin digits
// need no shaping; the glyphs and their places stay the same), look whether
// the text might be rich text, and ask its parent to lay it out again,
// though nothing on the page is laid out.
void prepareLiveNumber(QLabel *label);
