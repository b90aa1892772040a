// SPDX-License-Identifier: MIT
#include "gui/AccessPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/Named.h"

namespace corvida {

AccessPage::AccessPage(QWidget* parent)
    : QWidget(parent), m_useRobotExclusion(named(new QCheckBox(QStringLiteral("Use Robot Exclusion Protocal")),
                                                 "useRobotExclusionCheck")),
      m_askForPassword(
          named(new QCheckBox(QStringLiteral("Ask for password on protected sites.")), "askForPasswordCheck")),
      m_emailAddress(named(new QLineEdit, "emailAddressEdit")) {
    m_emailAddress->setMaxLength(kEmailLength);
    auto* email = new QFormLayout;
    email->addRow(QStringLiteral("Email address:"), m_emailAddress);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_useRobotExclusion);
    layout->addWidget(m_askForPassword);
    layout->addLayout(email);
    layout->addStretch();
}

void AccessPage::load(const Settings& settings) {
    m_useRobotExclusion->setChecked(settings.useRobotExclusion);
    m_askForPassword->setChecked(settings.askForPassword);
    m_emailAddress->setText(QString::fromStdString(settings.emailAddress));
}

void AccessPage::apply(Settings& settings) const {
    settings.useRobotExclusion = m_useRobotExclusion->isChecked();
    settings.askForPassword = m_askForPassword->isChecked();
    if (m_emailAddress->isModified()) {
        settings.emailAddress = m_emailAddress->text().toStdString();
    }
}

} // namespace corvida
