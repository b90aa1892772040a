// SPDX-License-Identifier: MIT
#include "gui/ProgramsPage.h"

#include <array>
#include <utility>

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/Named.h"

namespace corvida {

namespace {

// The kinds the browser list offers, in list order. The profile keeps the kinds' historic names;
// the list names what each kind does on this system.
constexpr std::array<BrowserKind, 2> kListedKinds = {BrowserKind::NetscapeNavigator, BrowserKind::InternetExplorer};

} // namespace

ProgramsPage::ProgramsPage(QWidget* parent)
    : QWidget(parent), m_editorProgram(named(new QLineEdit, "editorProgramEdit")),
      m_editorArguments(named(new QLineEdit, "editorArgumentsEdit")), m_browser(named(new QComboBox, "browserCombo")),
      m_fileChooser([this] { return QFileDialog::getOpenFileName(this); }) {
    m_editorProgram->setMaxLength(static_cast<int>(Settings::kTextLimit));
    m_editorArguments->setMaxLength(static_cast<int>(Settings::kTextLimit));
    m_browser->addItems({QStringLiteral("Desktop default browser"),
                         QStringLiteral("Chromium-family browser (reads the current page)")});

    auto* browse = named(new QPushButton(QStringLiteral("...")), "editorBrowseButton");
    connect(browse, &QPushButton::clicked, this, &ProgramsPage::chooseEditor);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(m_editorProgram);
    commandRow->addWidget(browse);

    auto* editor = new QGroupBox(QStringLiteral("Editor"));
    auto* editorLayout = new QFormLayout(editor);
    editorLayout->addRow(QStringLiteral("Command:"), commandRow);
    editorLayout->addRow(QStringLiteral("Arguments:"), m_editorArguments);

    auto* browser = new QGroupBox(QStringLiteral("Browser"));
    auto* browserLayout = new QVBoxLayout(browser);
    browserLayout->addWidget(m_browser);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->addWidget(browser);
    layout->addStretch();
}

void ProgramsPage::setFileChooser(std::function<QString()> chooser) {
    m_fileChooser = std::move(chooser);
}

void ProgramsPage::load(const Settings& settings) {
    m_editorProgram->setText(QString::fromStdString(settings.editorProgram));
    m_editorArguments->setText(QString::fromStdString(settings.editorArguments));
    int index = -1;
    for (std::size_t i = 0; i < kListedKinds.size(); ++i) {
        if (kListedKinds[i] == settings.browser) {
            index = static_cast<int>(i);
        }
    }
    m_browser->setCurrentIndex(index);
}

void ProgramsPage::apply(Settings& settings) const {
    if (m_editorProgram->isModified()) {
        settings.editorProgram = m_editorProgram->text().toStdString();
    }
    if (m_editorArguments->isModified()) {
        settings.editorArguments = m_editorArguments->text().toStdString();
    }
    if (const int index = m_browser->currentIndex(); index >= 0) {
        settings.browser = kListedKinds[static_cast<std::size_t>(index)];
    }
}

void ProgramsPage::chooseEditor() {
    const QString path = m_fileChooser();
    if (!path.isEmpty()) {
        // The edit only: the record takes the program when the sheet is confirmed.
        m_editorProgram->setText(path);
        m_editorProgram->setModified(true);
    }
}

} // namespace corvida
