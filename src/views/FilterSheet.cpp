// SPDX-License-Identifier: MIT
#include "views/FilterSheet.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/FilterSet.h"
#include "model/MimeTable.h"

namespace corvida {

namespace {

// The link options in the order the "Link Option:" list shows them (the list row is the
// option's value).
constexpr std::array kLinkOptionNames = {"Good", "Bad", "All"};

} // namespace

FilterSheet::FilterSheet(FilterSet& filters, int firstSlot, QWidget* parent)
    : QDialog(parent), m_filters(filters), m_tabs(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Change Filter Settings"));
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const std::size_t slot = i + kFirstEditableSlot;
        m_tabs->addTab(makePage(m_pages[i], slot), QStringLiteral("Filter %1").arg(slot));
    }
    const int first = firstSlot >= kFirstEditableSlot && firstSlot < kFirstEditableSlot + kPageCount
                          ? firstSlot - kFirstEditableSlot
                          : 0;
    m_tabs->setCurrentIndex(first);
    m_pages[static_cast<std::size_t>(first)].opened = true;
    // Only pages the person looked at are written back, so a page never opened keeps its
    // filter exactly as it is.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < kPageCount) {
            m_pages[static_cast<std::size_t>(index)].opened = true;
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

FilterSheet::~FilterSheet() = default;

QWidget* FilterSheet::makePage(Page& page, std::size_t slot) {
    const Filter& filter = m_filters.at(slot);
    const FilterCriteria criteria = filter.criteria() != nullptr ? *filter.criteria() : FilterCriteria{};

    auto* widget = new QWidget(m_tabs);
    page.name = new QLineEdit(widget);
    page.name->setMaxLength(kNameLimit);
    page.name->setText(QString::fromStdString(filter.name()));

    // The major types, sorted by name; each item keeps its major index, so two names that
    // differ only in case never stand for one another.
    page.types = new QListWidget(widget);
    page.types->setSelectionMode(QAbstractItemView::MultiSelection);
    const MimeTable& mimes = MimeTable::instance();
    for (std::uint32_t major = 0; major < mimes.majorCount(); ++major) {
        auto* item = new QListWidgetItem(QString::fromStdString(mimes.majorName(major)));
        item->setData(Qt::UserRole, major);
        page.types->addItem(item);
    }
    page.types->sortItems();
    for (int row = 0; row < page.types->count(); ++row) {
        QListWidgetItem* item = page.types->item(row);
        const auto major = item->data(Qt::UserRole).toUInt();
        item->setSelected(std::find(criteria.types.begin(), criteria.types.end(), major) != criteria.types.end());
    }

    auto* sizeGroup = new QGroupBox(QStringLiteral("Size (bytes)"), widget);
    page.useSize = new QCheckBox(QStringLiteral("Use file size"), sizeGroup);
    page.useSize->setChecked(criteria.useSize != 0);
    page.size = new QSpinBox(sizeGroup);
    page.size->setRange(0, kSizeMaximum);
    page.size->setAccelerated(true);
    page.size->setValue(criteria.size);
    auto* sizeLayout = new QFormLayout(sizeGroup);
    sizeLayout->addRow(page.useSize);
    sizeLayout->addRow(QStringLiteral("Greater than:"), page.size);

    // The link option is not offered: the list keeps the filter's option and stays hidden.
    page.linkLabel = new QLabel(QStringLiteral("Link Option:"), widget);
    page.link = new QListWidget(widget);
    for (const char* name : kLinkOptionNames) {
        page.link->addItem(QString::fromLatin1(name));
    }
    if (criteria.linkOption >= 0 && criteria.linkOption < page.link->count()) {
        page.link->setCurrentRow(criteria.linkOption);
    }
    page.linkLabel->setVisible(false);
    page.link->setVisible(false);

    auto* layout = new QFormLayout(widget);
    layout->addRow(QStringLiteral("Filter name:"), page.name);
    layout->addRow(QStringLiteral("MIME Type:"), page.types);
    layout->addRow(sizeGroup);
    layout->addRow(page.linkLabel, page.link);
    return widget;
}

void FilterSheet::accept() {
    m_changedSlots.clear();
    m_namesChanged = false;
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const Page& page = m_pages[i];
        if (!page.opened) {
            continue;
        }
        const std::size_t slot = i + kFirstEditableSlot;
        Filter& filter = m_filters.at(slot);
        FilterCriteria criteria = filter.criteria() != nullptr ? *filter.criteria() : FilterCriteria{};
        // In list order, that is sorted by name; the same types as before keep their order,
        // so a page opened and left alone does not count as a change.
        std::vector<std::uint32_t> types;
        for (int row = 0; row < page.types->count(); ++row) {
            if (page.types->item(row)->isSelected()) {
                types.push_back(page.types->item(row)->data(Qt::UserRole).toUInt());
            }
        }
        std::vector<std::uint32_t> before = criteria.types;
        std::vector<std::uint32_t> after = types;
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        if (before != after) {
            criteria.types = std::move(types);
        }
        criteria.useSize = page.useSize->isChecked() ? 1 : 0;
        criteria.size = page.size->value();
        if (page.link->currentRow() >= 0) {
            criteria.linkOption = page.link->currentRow();
        }
        const std::string name = page.name->text().toStdString();
        const bool renamed = name != filter.name();
        const bool changed = renamed || filter.criteria() == nullptr || criteria != *filter.criteria();
        filter.setName(name);
        filter.setCriteria(criteria);
        if (changed) {
            m_changedSlots.push_back(static_cast<int>(slot));
        }
        m_namesChanged = m_namesChanged || renamed;
    }
    QDialog::accept();
    if (!m_changedSlots.empty()) {
        emit filtersChanged(m_changedSlots, m_namesChanged);
    }
}

const FilterSheet::Page* FilterSheet::pageOf(int slot) const {
    const int index = slot - kFirstEditableSlot;
    return index >= 0 && index < kPageCount ? &m_pages[static_cast<std::size_t>(index)] : nullptr;
}

QLineEdit* FilterSheet::nameEdit(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->name : nullptr;
}

QListWidget* FilterSheet::typeList(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->types : nullptr;
}

QCheckBox* FilterSheet::useSizeBox(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->useSize : nullptr;
}

QSpinBox* FilterSheet::sizeBox(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->size : nullptr;
}

QLabel* FilterSheet::linkLabel(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->linkLabel : nullptr;
}

QListWidget* FilterSheet::linkList(int slot) const {
    const Page* page = pageOf(slot);
    return page != nullptr ? page->link : nullptr;
}

} // namespace corvida
