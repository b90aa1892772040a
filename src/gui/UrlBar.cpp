// SPDX-License-Identifier: MIT
#include "gui/UrlBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace corvida {

UrlBar::UrlBar(QWidget* parent) : QToolBar(tr("&URL"), parent) {
    setObjectName(QStringLiteral("UrlToolBar"));
    auto* label = new QLabel(tr("URL:"));
    label->setContentsMargins(4, 0, 4, 0);
    addWidget(label);
    m_combo = new QComboBox;
    m_combo->setObjectName(QStringLiteral("UrlBarCombo"));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMinimumContentsLength(40);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    label->setBuddy(m_combo);
    addWidget(m_combo);
    connect(m_combo->lineEdit(), &QLineEdit::returnPressed, this, &UrlBar::enter);
}

void UrlBar::enter() {
    const QString text = m_combo->currentText().trimmed();
    m_combo->clearEditText();
    if (text.isEmpty()) {
        return;
    }
    if (m_history.add(text.toStdString())) {
        m_combo->clear();
        for (const std::string& entry : m_history.entries()) {
            m_combo->addItem(QString::fromStdString(entry));
        }
        m_combo->setCurrentIndex(-1);
        m_combo->clearEditText();
    }
    emit urlEntered(text);
}

} // namespace corvida
