// SPDX-License-Identifier: MIT
#pragma once

// ProjectPropertiesPage is the Customize sheet's page of the options each new project starts
// with: the two auto-generate choices, Check External, the maximum level and the four kinds of
// data to fetch. It shows a Settings record and writes the page's values back into one.

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace corvida {

struct Settings;

class ProjectPropertiesPage : public QWidget {
    Q_OBJECT

public:
    explicit ProjectPropertiesPage(QWidget* parent = nullptr);

    // Shows the project options of settings. A maximum level the list does not hold shows no
    // selection.
    void load(const Settings& settings);

    // Writes the page's values into settings. "NONE" sets no limit; no selection leaves the
    // maximum level as it was.
    void apply(Settings& settings) const;

private:
    QCheckBox* m_autoReport;
    QCheckBox* m_autoSiteImage;
    QCheckBox* m_checkExternal;
    QComboBox* m_maximumLevel;
    QCheckBox* m_pictures;
    QCheckBox* m_audio;
    QCheckBox* m_video;
    QCheckBox* m_html;
};

} // namespace corvida
