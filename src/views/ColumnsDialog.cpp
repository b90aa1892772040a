// SPDX-License-Identifier: MIT
#include "views/ColumnsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace corvida {

ColumnsDialog::ColumnsDialog(const ColumnTable& table, QWidget* parent)
    : QDialog(parent), m_moves(table), m_available(new QListWidget(this)), m_shown(new QListWidget(this)),
      m_add(new QPushButton(QStringLiteral("Add ->"), this)),
      m_remove(new QPushButton(QStringLiteral("<-Remove"), this)),
      m_moveUp(new QPushButton(QStringLiteral("Move Up"), this)),
      m_moveDown(new QPushButton(QStringLiteral("Move Down"), this)),
      m_reset(new QPushButton(QStringLiteral("Reset"), this)), m_width(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("Columns"));
    m_width->setRange(ColumnMoves::kMinWidth, ColumnMoves::kMaxWidth);
    for (QPushButton* button : {m_add, m_remove, m_moveUp, m_moveDown, m_reset}) {
        button->setAutoDefault(false);
    }

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(m_moveUp);
    right->addWidget(m_moveDown);
    right->addWidget(new QLabel(QStringLiteral("Width:"), this));
    right->addWidget(m_width);
    right->addWidget(m_reset);
    right->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Available columns:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Show the followng columns"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_shown, 1, 2);
    grid->addLayout(right, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Columns are displayed from left to right."), this), 2, 0, 1, 4);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ColumnsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColumnsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(m_add, &QPushButton::clicked, this, [this] {
        if (const auto entry = currentEntry(m_available)) {
            refill(m_moves.add(*entry));
        }
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (const auto entry = currentEntry(m_shown)) {
            m_moves.remove(*entry);
            refill(std::nullopt);
        }
    });
    connect(m_moveUp, &QPushButton::clicked, this, [this] {
        if (const auto entry = currentEntry(m_shown)) {
            refill(m_moves.moveUp(*entry));
        }
    });
    connect(m_moveDown, &QPushButton::clicked, this, [this] {
        if (const auto entry = currentEntry(m_shown)) {
            refill(m_moves.moveDown(*entry));
        }
    });
    connect(m_reset, &QPushButton::clicked, this, [this] {
        m_moves.reset();
        refill(std::nullopt);
    });
    // The width applies as it is typed; the box only takes values in range.
    connect(m_width, &QSpinBox::valueChanged, this, [this](int width) {
        if (m_filling) {
            return;
        }
        if (const auto entry = currentEntry(m_shown)) {
            m_moves.setWidth(*entry, width);
        }
    });
    connect(m_shown, &QListWidget::currentRowChanged, this, [this] {
        if (m_filling) {
            return;
        }
        if (const auto entry = currentEntry(m_shown)) {
            m_filling = true;
            m_width->setValue(m_moves.table()[*entry].width);
            m_filling = false;
        }
        updateButtons();
    });
    connect(m_available, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    refill(std::nullopt);
}

ColumnsDialog::~ColumnsDialog() = default;

void ColumnsDialog::refill(std::optional<std::size_t> selectEntry) {
    m_filling = true;
    const auto fill = [this, selectEntry](QListWidget* list, const std::vector<std::size_t>& entries) {
        list->clear();
        for (std::size_t entry : entries) {
            // Captions come from the profile: list items show them as plain text.
            auto* item = new QListWidgetItem(QString::fromStdString(m_moves.table()[entry].caption), list);
            item->setData(Qt::UserRole, static_cast<qulonglong>(entry));
            if (selectEntry == entry) {
                list->setCurrentItem(item);
            }
        }
    };
    fill(m_available, m_moves.available());
    fill(m_shown, m_moves.shown());
    // Remove and Width act on a shown column, so one is always current while any is shown.
    if (m_shown->currentRow() < 0 && m_shown->count() > 0) {
        m_shown->setCurrentRow(0);
    }
    if (m_available->currentRow() < 0 && m_available->count() > 0) {
        m_available->setCurrentRow(0);
    }
    if (const auto entry = currentEntry(m_shown)) {
        m_width->setValue(m_moves.table()[*entry].width);
    }
    m_filling = false;
    updateButtons();
}

std::optional<std::size_t> ColumnsDialog::currentEntry(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong());
}

void ColumnsDialog::updateButtons() {
    const auto shownEntry = currentEntry(m_shown);
    m_add->setEnabled(m_moves.canAdd());
    m_remove->setEnabled(m_moves.canRemove());
    m_width->setEnabled(m_moves.canRemove());
    m_moveUp->setEnabled(shownEntry && m_moves.canMoveUp(*shownEntry));
    m_moveDown->setEnabled(shownEntry && m_moves.canMoveDown(*shownEntry));
}

} // namespace corvida
