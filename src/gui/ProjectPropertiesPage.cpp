// SPDX-License-Identifier: MIT
#include "gui/ProjectPropertiesPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/Named.h"

namespace corvida {

ProjectPropertiesPage::ProjectPropertiesPage(QWidget* parent)
    : QWidget(parent), m_autoReport(named(new QCheckBox(QStringLiteral("Report")), "autoReportCheck")),
      m_autoSiteImage(named(new QCheckBox(QStringLiteral("Local Web")), "autoSiteImageCheck")),
      m_checkExternal(named(new QCheckBox(QStringLiteral("Check External")), "checkExternalCheck")),
      m_maximumLevel(named(new QComboBox, "maximumLevelCombo")),
      m_pictures(named(new QCheckBox(QStringLiteral("Pictures")), "picturesCheck")),
      m_audio(named(new QCheckBox(QStringLiteral("Audio")), "audioCheck")),
      m_video(named(new QCheckBox(QStringLiteral("Video")), "videoCheck")),
      m_html(named(new QCheckBox(QStringLiteral("Html")), "htmlCheck")) {
    m_maximumLevel->addItems({QStringLiteral("NONE"), QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("6"),
                              QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"),
                              QStringLiteral("1")});

    auto* autoGenerate = new QGroupBox(QStringLiteral("Auto Generate"));
    auto* autoLayout = new QVBoxLayout(autoGenerate);
    autoLayout->addWidget(m_autoReport);
    autoLayout->addWidget(m_autoSiteImage);

    auto* fetch = new QGroupBox(QStringLiteral("Fetch Options"));
    auto* fetchLayout = new QVBoxLayout(fetch);
    fetchLayout->addWidget(m_checkExternal);
    auto* levelRow = new QHBoxLayout;
    auto* levelLabel = new QLabel(QStringLiteral("Maximum Level:"));
    levelLabel->setBuddy(m_maximumLevel);
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(m_maximumLevel);
    levelRow->addStretch();
    fetchLayout->addLayout(levelRow);
    fetchLayout->addWidget(new QLabel(QStringLiteral("Get Data for:")));
    auto* dataRow = new QHBoxLayout;
    for (QCheckBox* box : {m_pictures, m_audio, m_video, m_html}) {
        dataRow->addWidget(box);
    }
    dataRow->addStretch();
    fetchLayout->addLayout(dataRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(autoGenerate);
    layout->addWidget(fetch);
    layout->addStretch();
}

void ProjectPropertiesPage::load(const Settings& settings) {
    m_autoReport->setChecked(settings.autoReport);
    m_autoSiteImage->setChecked(settings.autoSiteImage);
    m_checkExternal->setChecked(settings.checkExternal);
    // The list holds "NONE" where the level's text is "None": the match ignores letter case.
    m_maximumLevel->setCurrentIndex(
        m_maximumLevel->findText(QString::fromStdString(settings.maximumLevelText()), Qt::MatchFixedString));
    m_pictures->setChecked(settings.downloadPictures);
    m_audio->setChecked(settings.downloadAudio);
    m_video->setChecked(settings.downloadVideo);
    m_html->setChecked(settings.downloadHtml);
}

void ProjectPropertiesPage::apply(Settings& settings) const {
    settings.autoReport = m_autoReport->isChecked();
    settings.autoSiteImage = m_autoSiteImage->isChecked();
    settings.checkExternal = m_checkExternal->isChecked();
    settings.applyMaximumLevelText(m_maximumLevel->currentText().toStdString());
    settings.downloadPictures = m_pictures->isChecked();
    settings.downloadAudio = m_audio->isChecked();
    settings.downloadVideo = m_video->isChecked();
    settings.downloadHtml = m_html->isChecked();
}

} // namespace corvida
