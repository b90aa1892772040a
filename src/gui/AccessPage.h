// SPDX-License-Identifier: MIT
#pragma once

// AccessPage is the Customize sheet's page of how crawls behave towards sites: obeying
// robots.txt, asking for passwords, and the e-mail address sent with requests.

#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace corvida {

struct Settings;

class AccessPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEmailLength = 255; // characters the address edit takes

    explicit AccessPage(QWidget* parent = nullptr);

    // Shows the access values of settings.
    void load(const Settings& settings);

    // Writes the page's values into settings; the address only when it was edited.
    void apply(Settings& settings) const;

private:
    QCheckBox* m_useRobotExclusion;
    QCheckBox* m_askForPassword;
    QLineEdit* m_emailAddress;
};

} // namespace corvida
