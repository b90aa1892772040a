// SPDX-License-Identifier: MIT
#include "gui/OpenUrlDialog.h"

#include <utility>

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/NewProjectUrl.h"
#include "gui/Named.h"

namespace corvida {

namespace {

const QString kAdvancedText = QStringLiteral("&Advanced");
const QString kBasicText = QStringLiteral("&Basic");

} // namespace

OpenUrlDialog::OpenUrlDialog(const QString& presetUrl, QWidget* parent)
    : QDialog(parent), m_url(named(new QLineEdit(presetUrl), "urlEdit")),
      m_ok(named(new QPushButton(QStringLiteral("OK")), "okButton")),
      m_advanced(named(new QPushButton(kAdvancedText), "advancedButton")), m_extra(named(new QWidget, "extraPanel")),
      m_extraList(named(new QListWidget, "extraList")), m_extraEdit(named(new QLineEdit, "extraEdit")),
      m_fileChooser([this] {
          return QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("HTML files (*.htm *.html)"));
      }) {
    setWindowTitle(QStringLiteral("Open URL"));
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel")), "cancelButton");
    auto* useFile = named(new QPushButton(QStringLiteral("Use &File")), "useFileButton");
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &OpenUrlDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &OpenUrlDialog::reject);
    connect(useFile, &QPushButton::clicked, this, &OpenUrlDialog::useFile);
    connect(m_advanced, &QPushButton::clicked, this, &OpenUrlDialog::toggleAdvanced);
    connect(m_url, &QLineEdit::textChanged, this, &OpenUrlDialog::updateOk);

    auto* urlLabel = new QLabel(QStringLiteral("URL:"));
    urlLabel->setBuddy(m_url);
    m_url->setMinimumWidth(m_url->fontMetrics().averageCharWidth() * 50);
    auto* basic = new QGridLayout;
    basic->addWidget(urlLabel, 0, 0);
    basic->addWidget(m_url, 0, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_ok, cancel, useFile, m_advanced}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    basic->addLayout(buttons, 0, 2, 2, 1);
    basic->setRowStretch(1, 1);

    auto* add = named(new QPushButton(QStringLiteral("Add")), "addButton");
    connect(add, &QPushButton::clicked, this, &OpenUrlDialog::addExtraUrl);
    auto* extraLabel = named(new QLabel(QStringLiteral("Also follow links from the following:")), "extraLabel");
    extraLabel->setBuddy(m_extraList);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(m_extraEdit);
    addRow->addWidget(add);
    auto* extraLayout = new QVBoxLayout(m_extra);
    extraLayout->setContentsMargins(0, 0, 0, 0);
    extraLayout->addWidget(extraLabel);
    extraLayout->addWidget(m_extraList);
    extraLayout->addLayout(addRow);
    m_extra->hide();

    auto* layout = new QVBoxLayout(this);
    // The dialog takes its contents' size, so it grows and shrinks with the advanced part.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(basic);
    layout->addWidget(m_extra);
    updateOk();
}

QString OpenUrlDialog::url() const {
    return m_url->text().trimmed();
}

std::vector<std::string> OpenUrlDialog::extraUrls() const {
    std::vector<std::string> urls;
    urls.reserve(static_cast<std::size_t>(m_extraList->count()));
    for (int i = 0; i < m_extraList->count(); ++i) {
        urls.push_back(m_extraList->item(i)->text().toStdString());
    }
    return urls;
}

void OpenUrlDialog::setFileChooser(std::function<QString()> chooser) {
    m_fileChooser = std::move(chooser);
}

void OpenUrlDialog::useFile() {
    const QString path = m_fileChooser();
    if (!path.isEmpty()) {
        m_url->setText(
            QString::fromStdString(NewProjectUrl::normalise(QFileInfo(path).absoluteFilePath().toStdString())));
    }
}

void OpenUrlDialog::toggleAdvanced() {
    const bool show = m_extra->isHidden();
    m_extra->setVisible(show);
    m_advanced->setText(show ? kBasicText : kAdvancedText);
    layout()->activate(); // resize now, not at the next turn of the event loop
}

void OpenUrlDialog::addExtraUrl() {
    const QString text = m_extraEdit->text().trimmed();
    if (!text.isEmpty()) {
        m_extraList->addItem(text);
    }
    m_extraEdit->clear();
}

void OpenUrlDialog::updateOk() {
    m_ok->setEnabled(!url().isEmpty());
}

} // namespace corvida
