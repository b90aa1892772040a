// SPDX-License-Identifier: MIT
#pragma once

// The UrlBar is the "URL:" toolbar: an editable drop-down where a person types or picks a
// start URL and presses Enter to start a project. It remembers the last nine URLs for the
// run of the program; blank text starts nothing.

#include <QToolBar>

#include "app/HistoryList.h"

class QComboBox;

namespace corvida {

class UrlBar : public QToolBar {
    Q_OBJECT

public:
    explicit UrlBar(QWidget* parent = nullptr);

    QComboBox* comboBox() const { return m_combo; }

signals:
    // Enter was pressed on text that is not blank (trimmed).
    void urlEntered(const QString& text);

private:
    void enter();

    QComboBox* m_combo = nullptr;
    HistoryList m_history;
};

} // namespace corvida
