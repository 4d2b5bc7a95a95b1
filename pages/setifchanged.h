#pragma once

// Qt repaints, re-lays out or re-polishes a widget each time one of its
// setters runs, also when the value is the one it already has; at the
// stream rates that was most of what a frame cost. The getter must return
// what the setter stores.
template <typename Widget, typename Getter, typename Setter, typename Value>
void setIfChanged(Widget *widget, Getter get, Setter set, const Value &value)
{
    if ((widget->*get)() != value)
        (widget->*set)(value);
}
