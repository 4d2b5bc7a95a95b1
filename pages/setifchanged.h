#pragma once

// Qt repaints, re-lays out or re-polishes a widget each time some of its
// setters run, also with the value it already has; at the stream rates
// that is work on every frame that changes nothing on the screen. The
// getter must return what the setter stores.
template <typename Widget, typename Getter, typename Setter, typename Value>
void setIfChanged(Widget *widget, Getter get, Setter set, const Value &value)
{
    if ((widget->*get)() != value)
        (widget->*set)(value);
}
