// SPDX-License-Identifier: MIT
#pragma once

// ColumnsDialog is the "Columns" dialog: it edits a copy of the URL list's column table (which
// columns are shown, their order and widths). table() gives the edited copy once the person
// pressed OK; the caller stores it in the settings and tells the lists. Cancel leaves the
// caller's table as it was. The dialog holds the documents' idle work while it exists.

#include <QDialog>

#include "doc/IdleDriver.h"
#include "model/ColumnEntry.h"
#include "viewlogic/ColumnMoves.h"

class QListWidget;
class QPushButton;
class QSpinBox;

namespace corvida {

class ColumnsDialog : public QDialog {
    Q_OBJECT

public:
    // Edits a copy of table.
    explicit ColumnsDialog(const ColumnTable& table, QWidget* parent = nullptr);
    ~ColumnsDialog() override;

    // The edited copy.
    const ColumnTable& table() const { return m_moves.table(); }

    QListWidget* availableList() const { return m_available; }
    QListWidget* shownList() const { return m_shown; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* moveUpButton() const { return m_moveUp; }
    QPushButton* moveDownButton() const { return m_moveDown; }
    QPushButton* resetButton() const { return m_reset; }
    QSpinBox* widthBox() const { return m_width; }

private:
    // Fills both lists from the copy and selects entry in the list that holds it.
    void refill(std::optional<std::size_t> selectEntry);
    // The table index of the current item of list, if any.
    static std::optional<std::size_t> currentEntry(const QListWidget* list);
    void updateButtons();

    IdleDriver::Hold m_hold;
    ColumnMoves m_moves;
    QListWidget* m_available;
    QListWidget* m_shown;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_moveUp;
    QPushButton* m_moveDown;
    QPushButton* m_reset;
    QSpinBox* m_width;
    bool m_filling = false;
};

} // namespace corvida
