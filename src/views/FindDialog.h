// SPDX-License-Identifier: MIT
#pragma once

// FindDialog is the URL list's "Find" dialog: the text to find in an editable drop-down that
// shows the program's Find history, "Match case", the direction, and "Found in column", which
// the list fills while it searches. "Find Next" puts the text into the history and emits
// findNext(); the list searches and answers through setFoundColumn(), showWrapped() or
// showNotFound(). The dialog holds the documents' idle work while it exists.

#include <functional>

#include <QDialog>

#include "doc/IdleDriver.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvida {

class HistoryList;

class FindDialog : public QDialog {
    Q_OBJECT

public:
    // The message shown when a search reaches the end (or the start) of the list, or finds
    // nothing at all.
    static constexpr const char* kNoMoreMatches = "There is no more matches!";

    // Shows and adds to history, which is shared by every Find dialog of the program and must
    // outlive this one.
    explicit FindDialog(HistoryList& history, QWidget* parent = nullptr);
    ~FindDialog() override;

    // Replaces the information box (title "Find") that shows the dialog's messages.
    void setMessageSink(std::function<void(const QString& text)> sink);

    // Whether the search compares letter case as it is.
    bool matchCase() const;
    // Whether the search goes up the list (else down, the preset).
    bool searchUp() const;

    // Shows caption in "Found in column" while the column's cell is searched.
    void setFoundColumn(const QString& caption);
    // The search passed the end (or the start) of the list without a match: empties "Found in
    // column" and tells the person. The next search starts where the first one did.
    void showWrapped();
    // The list holds nothing to search: the same message.
    void showNotFound();

    QComboBox* findBox() const { return m_find; }
    QPushButton* findNextButton() const { return m_findNext; }
    QLineEdit* foundColumnBox() const { return m_foundColumn; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }

signals:
    // The person asked for the next cell holding text.
    void findNext(const QString& text);

private:
    void onFindNext();
    void fillHistory();
    void tellNoMoreMatches();

    HistoryList& m_history;
    IdleDriver::Hold m_hold;
    QComboBox* m_find;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
    QLineEdit* m_foundColumn;
    std::function<void(const QString&)> m_messageSink;
};

} // namespace corvida
