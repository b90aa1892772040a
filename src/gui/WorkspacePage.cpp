// SPDX-License-Identifier: MIT
#include "gui/WorkspacePage.h"

#include <utility>

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/Named.h"

namespace corvida {

WorkspacePage::WorkspacePage(QWidget* parent)
    : QWidget(parent), m_useSound(named(new QCheckBox(QStringLiteral("Use Sound")), "useSoundCheck")),
      m_directory(named(new QLineEdit, "workingDirectoryEdit")),
      m_checkLowDiskSpace(
          named(new QCheckBox(QStringLiteral("Warn me when disk space is below")), "checkLowDiskSpaceCheck")),
      m_diskSpaceLimit(named(new QSpinBox, "diskSpaceLimitSpin")), m_directoryChooser([this] {
          return QFileDialog::getExistingDirectory(this, QStringLiteral("Select a Working Directory"),
                                                   m_directory->text(), QFileDialog::ShowDirsOnly);
      }) {
    m_directory->setMaxLength(kDirectoryLength);
    m_diskSpaceLimit->setRange(kMinimumDiskLimit, kMaximumDiskLimit);

    auto* browse = named(new QPushButton(QStringLiteral("...")), "workingDirectoryBrowseButton");
    connect(browse, &QPushButton::clicked, this, &WorkspacePage::chooseDirectory);
    auto* directory = new QGroupBox(QStringLiteral("Working Directory"));
    auto* directoryLayout = new QHBoxLayout(directory);
    directoryLayout->addWidget(m_directory);
    directoryLayout->addWidget(browse);

    auto* diskRow = new QHBoxLayout;
    diskRow->addWidget(m_checkLowDiskSpace);
    diskRow->addWidget(m_diskSpaceLimit);
    diskRow->addWidget(new QLabel(QStringLiteral("MB.")));
    diskRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_useSound);
    layout->addWidget(directory);
    layout->addLayout(diskRow);
    layout->addStretch();

    const auto touch = [this] { m_touched = true; };
    connect(m_useSound, &QCheckBox::toggled, this, touch);
    connect(m_directory, &QLineEdit::textEdited, this, touch);
    connect(m_checkLowDiskSpace, &QCheckBox::toggled, this, touch);
    connect(m_diskSpaceLimit, &QSpinBox::valueChanged, this, touch);
}

void WorkspacePage::setDirectoryChooser(std::function<QString()> chooser) {
    m_directoryChooser = std::move(chooser);
}

void WorkspacePage::load(const Settings& settings) {
    m_useSound->setChecked(settings.useSound);
    m_directory->setText(QString::fromStdString(settings.workingDirectory));
    m_checkLowDiskSpace->setChecked(settings.checkLowDiskSpace);
    m_diskSpaceLimit->setValue(settings.diskSpaceLimit);
    m_touched = false;
}

bool WorkspacePage::apply(Settings& settings) const {
    if (!m_touched) {
        return true;
    }
    settings.useSound = m_useSound->isChecked();
    settings.checkLowDiskSpace = m_checkLowDiskSpace->isChecked();
    settings.diskSpaceLimit = m_diskSpaceLimit->value();
    if (!m_directory->isModified()) {
        return true;
    }
    if (!isUsableDirectory(m_directory->text())) {
        return false;
    }
    settings.workingDirectory = m_directory->text().toStdString();
    return true;
}

bool WorkspacePage::isUsableDirectory(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isExecutable() && info.isWritable();
}

void WorkspacePage::chooseDirectory() {
    const QString path = m_directoryChooser();
    if (!path.isEmpty()) {
        m_directory->setText(path);
        m_directory->setModified(true);
        m_touched = true;
    }
}

} // namespace corvida
