// SPDX-License-Identifier: MIT
#pragma once

// CustomizeSheet is the "Customize Tools" dialog: five pages over a copy of the program's
// settings record. OK takes the pages' values into the record and saves it to the profile;
// Cancel leaves both untouched. The sheet holds the documents' idle work while it exists, so no
// crawl step runs inside the loop that shows it.

#include <functional>

#include <QDialog>

#include "doc/IdleDriver.h"

class QTabWidget;

namespace corvida {

class AccessPage;
class ConnectionPage;
class Profile;
class ProgramsPage;
class ProjectPropertiesPage;
class WorkspacePage;
struct Settings;

class CustomizeSheet : public QDialog {
    Q_OBJECT

public:
    // Edits settings, which is saved to profile on OK; both must outlive the sheet.
    CustomizeSheet(Settings& settings, Profile& profile, QWidget* parent = nullptr);
    ~CustomizeSheet() override;

    // Replaces the file-open dialog of the editor's "..." button; chooser returns a path or an
    // empty text.
    void setFileChooser(std::function<QString()> chooser);
    // Replaces the folder dialog of the working directory's "..." button.
    void setDirectoryChooser(std::function<QString()> chooser);
    // Replaces the warning box (title "Corvida") that shows the sheet's messages.
    void setMessageSink(std::function<void(const QString& text)> sink);

    // Takes the pages' values: refuses a value a page cannot take (the sheet stays open);
    // otherwise the record takes the values when they differ from it, marked changed, the
    // record is saved, and the sheet closes. A failed save is reported and leaves the record
    // marked changed, so a later save tries again.
    void accept() override;

private:
    Settings& m_settings;
    Profile& m_profile;
    IdleDriver::Hold m_hold;
    QTabWidget* m_tabs;
    ProjectPropertiesPage* m_projectProperties;
    ProgramsPage* m_programs;
    WorkspacePage* m_workspace;
    ConnectionPage* m_connection;
    AccessPage* m_access;
    std::function<void(const QString&)> m_messageSink;
};

} // namespace corvida
