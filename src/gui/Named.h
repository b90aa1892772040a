// SPDX-License-Identifier: MIT
#pragma once

// named() gives a new widget the object name by which the program's tests and style sheets
// find it, and hands the widget back, so a control is built, named and stored in one line.

#include <QLatin1String>

namespace corvida {

// Sets widget's object name to name (ASCII) and returns widget.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace corvida
