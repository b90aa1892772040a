// SPDX-License-Identifier: MIT
#include "views/FindDialog.h"

#include <string>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/HistoryList.h"

namespace corvida {

FindDialog::FindDialog(HistoryList& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_find(new QComboBox(this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)), m_up(nullptr), m_down(nullptr),
      m_findNext(new QPushButton(QStringLiteral("&Find Next"), this)), m_foundColumn(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Find"));
    m_find->setEditable(true);
    // Entries come back to the box only through the history, in its order.
    m_find->setInsertPolicy(QComboBox::NoInsert);
    m_find->setMinimumContentsLength(24);
    fillHistory();
    // The dialog opens with the last text searched for.
    if (m_find->count() > 0) {
        m_find->setCurrentIndex(0);
    }
    m_foundColumn->setReadOnly(true);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_findNext->setDefault(true);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(m_find);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_find, 0, 1, 1, 2);
    grid->addWidget(m_findNext, 0, 3);
    grid->addWidget(m_matchCase, 1, 0);
    grid->addWidget(direction, 1, 1, 1, 2);
    grid->addWidget(cancel, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Found in column"), this), 2, 0);
    grid->addWidget(m_foundColumn, 2, 1, 1, 3);

    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::onFindNext);
    connect(cancel, &QPushButton::clicked, this, &FindDialog::reject);
    // Nothing to search for: the search would match every cell.
    const auto updateButton = [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); };
    connect(m_find, &QComboBox::editTextChanged, this, updateButton);
    updateButton(m_find->currentText());

    m_messageSink = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };
}

FindDialog::~FindDialog() = default;

void FindDialog::setMessageSink(std::function<void(const QString&)> sink) {
    m_messageSink = std::move(sink);
}

bool FindDialog::matchCase() const {
    return m_matchCase->isChecked();
}

bool FindDialog::searchUp() const {
    return m_up->isChecked();
}

void FindDialog::setFoundColumn(const QString& caption) {
    m_foundColumn->setText(caption);
}

void FindDialog::showWrapped() {
    tellNoMoreMatches();
}

void FindDialog::showNotFound() {
    tellNoMoreMatches();
}

void FindDialog::tellNoMoreMatches() {
    m_foundColumn->clear();
    if (m_messageSink) {
        m_messageSink(QString::fromLatin1(kNoMoreMatches));
    }
}

void FindDialog::onFindNext() {
    const QString text = m_find->currentText();
    if (text.isEmpty()) {
        return;
    }
    if (m_history.add(text.toStdString())) {
        fillHistory();
        m_find->setEditText(text);
    }
    emit findNext(text);
}

void FindDialog::fillHistory() {
    const QSignalBlocker blocker(m_find);
    const QString text = m_find->currentText();
    m_find->clear();
    for (const std::string& entry : m_history.entries()) {
        m_find->addItem(QString::fromStdString(entry));
    }
    m_find->setEditText(text);
}

} // namespace corvida
