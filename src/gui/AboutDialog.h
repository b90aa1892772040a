// SPDX-License-Identifier: MIT
#pragma once

// AboutDialog shows the program's name and release, the Qt version it runs on, what it is
// for and its licence.

#include <QDialog>

namespace corvida {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace corvida
