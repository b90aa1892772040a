// SPDX-License-Identifier: MIT
#pragma once

// UrlSelectionDialog is the modeless "URL Selection" tool window: a group "Show which URLs"
// with one radio button per filter slot, labelled with the filters' names. The main window
// creates it once, points it at the active project window with setSlot() and turns
// slotChosen() into a filter pass for that window; it does not know the windows itself.

#include <array>

#include <QDialog>

#include "model/FilterSet.h"

class QButtonGroup;
class QRadioButton;

namespace corvida {

class UrlSelectionDialog : public QDialog {
    Q_OBJECT

public:
    // A hidden tool window labelled with the names of filters, centred on the screen it will
    // show on.
    explicit UrlSelectionDialog(const FilterSet& filters, QWidget* parent = nullptr);

    // Checks the radio button of slot (0 to 4) without emitting slotChosen; another slot
    // clears the check (no project window to act on).
    void setSlot(int slot);
    // The checked slot, or -1.
    int slot() const;
    // Labels the buttons with the current names of filters.
    void refreshNames(const FilterSet& filters);

    QRadioButton* button(int slot) const;

signals:
    // The person clicked the button of slot.
    void slotChosen(int slot);

private:
    QButtonGroup* m_group;
    std::array<QRadioButton*, FilterSet::kSlotCount> m_buttons{};
};

} // namespace corvida
