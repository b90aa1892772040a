// SPDX-License-Identifier: MIT
#pragma once

// GuiDocumentUi is a project document's UI in the desktop program. It keeps the document's
// status text and progress for the status bar, shows messages window-modal without waiting,
// asks OK/Cancel questions in a modal box while every idle driver is held, asks for
// credentials in an Authorization dialog whose answer reaches the document later, and hands
// pages, sounds and the wait cursor to the main window. Texts from the document are shown as
// plain text.

#include <functional>
#include <string>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "doc/DocumentUi.h"

namespace corvida {

class CTamsoDoc;

class GuiDocumentUi : public QObject, public DocumentUi {
    Q_OBJECT

public:
    explicit GuiDocumentUi(QObject* parent = nullptr);
    ~GuiDocumentUi() override;

    // The document that hears the answers to credential questions (may be null).
    void setDocument(CTamsoDoc* document) { m_document = document; }
    // The window that dialogs belong to.
    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }
    // Where pages to show and sounds to play go.
    void setPageOpener(std::function<void(const std::string& url)> opener) { m_openPage = std::move(opener); }
    void setSoundPlayer(std::function<void(std::string_view name)> player) { m_playSound = std::move(player); }

    const QString& statusText() const { return m_statusText; }
    int progress() const { return m_progress; }

    void setStatusText(std::string_view text) override;
    void setProgress(int position) override;
    void showMessage(std::string_view text, Icon icon) override;
    bool askOkCancel(std::string_view question) override;
    void askCredentials(std::string_view url, std::string_view realm) override;
    void playSound(std::string_view name) override;
    void openInBrowser(std::string_view url) override;
    void beginWait() override;
    void endWait() override;
    void closeDocument() override;
    void stateChanged() override;

signals:
    void statusTextChanged(const QString& text);
    void progressChanged(int position);
    // The document's state or outputs changed; queued, so receivers may act on the document.
    void documentStateChanged();
    // The document asks to be closed; queued, never inside the document's work.
    void closeRequested();

private:
    CTamsoDoc* m_document = nullptr;
    QPointer<QWidget> m_dialogParent;
    std::function<void(const std::string&)> m_openPage;
    std::function<void(std::string_view)> m_playSound;
    QString m_statusText;
    int m_progress = 0;
    int m_waits = 0;
};

} // namespace corvida
