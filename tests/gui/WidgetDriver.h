// SPDX-License-Identifier: MIT
#pragma once

// Helpers that drive a dialog the way a person would: find a control by its object name,
// click it, type into it.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace corvida {

// The child of root called name; a missing control ends the test program with its name.
template <typename Widget>
Widget& child(QWidget& root, const char* name) {
    auto* widget = root.findChild<Widget*>(QLatin1String(name));
    if (widget == nullptr) {
        qFatal("no widget %s", name);
    }
    return *widget;
}

// Clicks the button called name near its left end: a check box reacts only on its box and text,
// which may be narrower than the widget.
inline void click(QWidget& root, const char* name) {
    auto& button = child<QAbstractButton>(root, name);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(qMin(8, button.width() / 2), button.height() / 2));
}

// Replaces the text of the line edit called name by typing text.
inline void type(QWidget& root, const char* name, const QString& text) {
    auto& edit = child<QLineEdit>(root, name);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, text);
}

} // namespace corvida
