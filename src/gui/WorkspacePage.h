// SPDX-License-Identifier: MIT
#pragma once

// WorkspacePage is the Customize sheet's page of the working environment: event sounds, the
// working directory under which new projects keep their files, and the low-disk warning. Its
// values are taken only when the person changed one of its controls.

#include <functional>

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace corvida {

struct Settings;

class WorkspacePage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDirectoryLength = 255; // characters the directory edit takes
    static constexpr int kMinimumDiskLimit = 1;  // megabytes
    static constexpr int kMaximumDiskLimit = 9999;

    explicit WorkspacePage(QWidget* parent = nullptr);

    // Replaces the folder dialog of the "..." button: chooser returns the chosen directory, or
    // an empty text when the person cancelled.
    void setDirectoryChooser(std::function<QString()> chooser);

    // Shows the workspace values of settings and marks the page untouched.
    void load(const Settings& settings);

    // When a control of the page was changed, writes the page's values into settings. A
    // working directory that was edited is taken only when isUsableDirectory accepts it.
    // Returns false when it was refused (the other values are taken all the same).
    [[nodiscard]] bool apply(Settings& settings) const;

    // Whether path names a directory the program can enter and create project folders in.
    // Checks the file system only; the process's current directory stays as it is.
    static bool isUsableDirectory(const QString& path);

private:
    void chooseDirectory();

    QCheckBox* m_useSound;
    QLineEdit* m_directory;
    QCheckBox* m_checkLowDiskSpace;
    QSpinBox* m_diskSpaceLimit;
    std::function<QString()> m_directoryChooser;
    bool m_touched = false;
};

} // namespace corvida
