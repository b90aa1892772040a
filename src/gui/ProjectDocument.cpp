// SPDX-License-Identifier: MIT
#include "gui/ProjectDocument.h"
#include "views/DisplayText.h"

namespace corvida {

ProjectDocument::ProjectDocument(const Settings& settings, TransferFactory& transfers, ImagingLibrary* imaging,
                                 QObject* parent)
    : QObject(parent), m_document(settings, m_ui, transfers, imaging), m_driver(m_document) {
    m_ui.setDocument(&m_document);
    connect(&m_ui, &GuiDocumentUi::documentStateChanged, this, &ProjectDocument::changed);
    connect(&m_ui, &GuiDocumentUi::documentStateChanged, this, &ProjectDocument::keepWhatWasFound);
}

ProjectDocument::~ProjectDocument() {
    // No node may be freed while a view or a dialog still points to it.
    m_document.closeDocument();
}

QString ProjectDocument::title() const {
    return DisplayText::fromBytes(m_document.projectName()) + QStringLiteral(" - ") +
           DisplayText::fromBytes(m_document.startUrl());
}

bool ProjectDocument::start(const std::string& url, std::vector<std::string> extraUrls) {
    if (!m_document.newDocument()) {
        return false;
    }
    m_document.setExtraStartUrls(std::move(extraUrls));
    const bool started = m_document.startProcessing(url);
    emit changed();
    return started;
}

Status ProjectDocument::open(const std::string& path) {
    Status status = m_document.openDocument(path);
    if (status.isOk()) {
        m_path = path;
    }
    emit changed();
    return status;
}

Status ProjectDocument::save(const std::string& path) {
    Status status = m_document.saveDocument(path);
    if (status.isOk()) {
        m_path = path;
    }
    emit changed();
    return status;
}

void ProjectDocument::keepWhatWasFound() {
    // A crawl suspended for want of disk space keeps what it found so far: a project that has
    // a file is saved into it at once, while there is still some room.
    if (!m_document.suspendedForDiskSpace() || m_path.empty() || !m_document.isModified()) {
        return;
    }
    if (const Status saved = save(m_path); !saved.isOk()) {
        m_ui.showMessage(saved.message(), DocumentUi::Icon::Warning);
    }
}

Status ProjectDocument::deleteProject() {
    return m_document.deleteProject(m_path);
}

} // namespace corvida
