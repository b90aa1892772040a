// SPDX-License-Identifier: MIT
#include "views/UrlSelectionDialog.h"

#include <string>

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace corvida {

namespace {

// A filter name as a button text: '&' would otherwise mark a shortcut letter.
QString buttonText(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

UrlSelectionDialog::UrlSelectionDialog(const FilterSet& filters, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_group(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("URL Selection"));
    setModal(false);
    auto* box = new QGroupBox(QStringLiteral("Show which URLs"), this);
    auto* boxLayout = new QVBoxLayout(box);
    for (std::size_t slot = 0; slot < m_buttons.size(); ++slot) {
        m_buttons[slot] = new QRadioButton(box);
        m_group->addButton(m_buttons[slot], static_cast<int>(slot));
        boxLayout->addWidget(m_buttons[slot]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    refreshNames(filters);
    connect(m_group, &QButtonGroup::idClicked, this, &UrlSelectionDialog::slotChosen);

    // Placed once, when made: some window systems ignore a client's positions later on.
    adjustSize();
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void UrlSelectionDialog::setSlot(int slot) {
    if (slot >= 0 && slot < static_cast<int>(m_buttons.size())) {
        m_buttons[static_cast<std::size_t>(slot)]->setChecked(true);
        return;
    }
    // A group that is exclusive refuses to uncheck its checked button.
    m_group->setExclusive(false);
    for (QRadioButton* button : m_buttons) {
        button->setChecked(false);
    }
    m_group->setExclusive(true);
}

int UrlSelectionDialog::slot() const {
    return m_group->checkedId();
}

void UrlSelectionDialog::refreshNames(const FilterSet& filters) {
    for (std::size_t slot = 0; slot < m_buttons.size() && slot < filters.size(); ++slot) {
        m_buttons[slot]->setText(buttonText(filters.at(slot).name()));
    }
}

QRadioButton* UrlSelectionDialog::button(int slot) const {
    return slot >= 0 && slot < static_cast<int>(m_buttons.size()) ? m_buttons[static_cast<std::size_t>(slot)] : nullptr;
}

} // namespace corvida
