// SPDX-License-Identifier: MIT
#pragma once

// FilterSheet is the "Change Filter Settings" dialog: four pages, "Filter 1" to "Filter 4",
// over the user-editable slots 1 to 4 of the program's FilterSet. Each page shows a copy of
// its filter's name and criteria; OK writes back the pages that were opened and compiles
// their filters again, Cancel leaves every filter as it was. Closing the sheet starts no
// filter pass: a changed filter takes effect at the next pass of a window that uses it. The
// sheet holds the documents' idle work while it exists.

#include <array>
#include <cstddef>
#include <vector>

#include <QDialog>

#include "doc/IdleDriver.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTabWidget;

namespace corvida {

class FilterSet;

class FilterSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFirstEditableSlot = 1;
    static constexpr int kPageCount = 4;
    // The longest filter name, in characters.
    static constexpr int kNameLimit = 80;
    // The range of the size threshold, in bytes.
    static constexpr int kSizeMaximum = 9999999;

    // Edits slots 1 to 4 of filters, which must outlive the sheet; opens on the page of
    // firstSlot (the first page when firstSlot is not 1 to 4).
    FilterSheet(FilterSet& filters, int firstSlot, QWidget* parent = nullptr);
    ~FilterSheet() override;

    // Writes back every page that was opened, then closes. Emits filtersChanged when a
    // filter's name or criteria changed.
    void accept() override;

    // The slots whose name or criteria the last accept() changed, ascending.
    const std::vector<int>& changedSlots() const { return m_changedSlots; }
    // Whether the last accept() renamed a filter (labels and tooltips show the names).
    bool namesChanged() const { return m_namesChanged; }

    // The widgets of the page for slot (1 to 4), for tests and the integrator.
    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* nameEdit(int slot) const;
    QListWidget* typeList(int slot) const;
    QCheckBox* useSizeBox(int slot) const;
    QSpinBox* sizeBox(int slot) const;
    QLabel* linkLabel(int slot) const;
    QListWidget* linkList(int slot) const;

signals:
    // After OK: the slots whose filters changed, and whether any of them was renamed.
    void filtersChanged(const std::vector<int>& slots, bool namesChanged);

private:
    struct Page {
        QLineEdit* name = nullptr;
        QListWidget* types = nullptr;
        QCheckBox* useSize = nullptr;
        QSpinBox* size = nullptr;
        QLabel* linkLabel = nullptr;
        QListWidget* link = nullptr;
        bool opened = false;
    };

    QWidget* makePage(Page& page, std::size_t slot);
    const Page* pageOf(int slot) const;

    FilterSet& m_filters;
    IdleDriver::Hold m_hold;
    QTabWidget* m_tabs;
    std::array<Page, kPageCount> m_pages;
    std::vector<int> m_changedSlots;
    bool m_namesChanged = false;
};

} // namespace corvida
