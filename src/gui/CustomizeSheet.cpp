// SPDX-License-Identifier: MIT
#include "gui/CustomizeSheet.h"

#include <utility>

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/AccessPage.h"
#include "gui/ConnectionPage.h"
#include "gui/Named.h"
#include "gui/ProgramsPage.h"
#include "gui/ProjectPropertiesPage.h"
#include "gui/WorkspacePage.h"
#include "platform/Profile.h"

namespace corvida {

CustomizeSheet::CustomizeSheet(Settings& settings, Profile& profile, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_profile(profile), m_tabs(named(new QTabWidget, "customizeTabs")),
      m_projectProperties(named(new ProjectPropertiesPage, "projectPropertiesPage")),
      m_programs(named(new ProgramsPage, "programsPage")), m_workspace(named(new WorkspacePage, "workspacePage")),
      m_connection(named(new ConnectionPage, "connectionPage")), m_access(named(new AccessPage, "accessPage")),
      m_messageSink([this](const QString& text) {
          QMessageBox box(QMessageBox::Warning, QStringLiteral("Corvida"), text, QMessageBox::Ok, this);
          // Messages carry paths and texts a person typed: never render them as markup.
          box.setTextFormat(Qt::PlainText);
          box.exec();
      }) {
    setWindowTitle(QStringLiteral("Customize Tools"));
    m_tabs->setUsesScrollButtons(false); // the sheet is wide enough to show every page's tab
    m_tabs->addTab(m_projectProperties, QStringLiteral("Project Properties"));
    m_tabs->addTab(m_programs, QStringLiteral("Programs"));
    m_tabs->addTab(m_workspace, QStringLiteral("Workspace"));
    m_tabs->addTab(m_connection, QStringLiteral("Connection"));
    m_tabs->addTab(m_access, QStringLiteral("Access"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CustomizeSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CustomizeSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    m_projectProperties->load(settings);
    m_programs->load(settings);
    m_workspace->load(settings);
    m_connection->load(settings);
    m_access->load(settings);
}

CustomizeSheet::~CustomizeSheet() = default;

void CustomizeSheet::setFileChooser(std::function<QString()> chooser) {
    m_programs->setFileChooser(std::move(chooser));
}

void CustomizeSheet::setDirectoryChooser(std::function<QString()> chooser) {
    m_workspace->setDirectoryChooser(std::move(chooser));
}

void CustomizeSheet::setMessageSink(std::function<void(const QString& text)> sink) {
    m_messageSink = std::move(sink);
}

void CustomizeSheet::accept() {
    if (const std::optional<QString> refusal = m_connection->refusal()) {
        m_tabs->setCurrentWidget(m_connection);
        m_messageSink(*refusal);
        return;
    }
    Settings copy = m_settings;
    m_projectProperties->apply(copy);
    m_programs->apply(copy);
    if (!m_workspace->apply(copy)) {
        m_messageSink(QStringLiteral("Error of the selected directory."));
    }
    m_connection->apply(copy);
    m_access->apply(copy);
    if (copy != m_settings) {
        copy.changed = true;
        m_settings = std::move(copy);
    }
    // Also saves what toolbar toggles and column changes marked changed before the sheet opened.
    if (const Status saved = m_settings.save(m_profile); !saved.isOk()) {
        m_messageSink(QString::fromStdString(saved.message()));
    }
    QDialog::accept();
}

} // namespace corvida
