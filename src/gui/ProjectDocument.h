// SPDX-License-Identifier: MIT
#pragma once

// A ProjectDocument is one open project of the desktop program: the core document, its UI,
// its idle driver and the file it was opened from or saved to. The main window owns it and
// shows it in one or more project windows; it is destroyed after its last window.
//
// The settings, the transfer factory and the imaging library must outlive it.

#include <string>

#include <QObject>
#include <QString>

#include "doc/CTamsoDoc.h"
#include "doc/IdleDriver.h"
#include "gui/GuiDocumentUi.h"

namespace corvida {

class ImagingLibrary;
class TransferFactory;
struct Settings;

class ProjectDocument : public QObject {
    Q_OBJECT

public:
    ProjectDocument(const Settings& settings, TransferFactory& transfers, ImagingLibrary* imaging,
                    QObject* parent = nullptr);
    ~ProjectDocument() override;

    CTamsoDoc& document() { return m_document; }
    const CTamsoDoc& document() const { return m_document; }
    GuiDocumentUi& ui() { return m_ui; }

    // The project file; empty until the project is opened or saved.
    const std::string& path() const { return m_path; }

    // The title of the document's windows: the project's name, " - " and its start URL.
    QString title() const;

    // Starts a new project at url (already normalised) that also follows extraUrls. false
    // when no working directory could be made for it.
    bool start(const std::string& url, std::vector<std::string> extraUrls);
    // Opens the project file at path (absolute).
    Status open(const std::string& path);
    // Saves the project to path (absolute) and remembers the path.
    Status save(const std::string& path);
    // Deletes the project's file; its working files go when the document is destroyed.
    Status deleteProject();

signals:
    // The title, the state or the outputs changed (queued after the change).
    void changed();

private:
    // Saves a project with a file when its crawl suspended itself for want of disk space.
    void keepWhatWasFound();

    GuiDocumentUi m_ui;
    CTamsoDoc m_document;
    IdleDriver m_driver;
    std::string m_path;
};

} // namespace corvida
