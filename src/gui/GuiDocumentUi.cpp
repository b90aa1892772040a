// SPDX-License-Identifier: MIT
#include "gui/GuiDocumentUi.h"

#include <QApplication>
#include <QMessageBox>

#include "doc/CTamsoDoc.h"
#include "doc/IdleDriver.h"
#include "gui/AuthorizationDialog.h"
#include "views/DisplayText.h"

namespace corvida {

namespace {

constexpr auto kTitle = "Corvida";

QMessageBox::Icon boxIcon(DocumentUi::Icon icon) {
    switch (icon) {
    case DocumentUi::Icon::Information:
        return QMessageBox::Information;
    case DocumentUi::Icon::Warning:
        return QMessageBox::Warning;
    case DocumentUi::Icon::Error:
        break;
    }
    return QMessageBox::Critical;
}

} // namespace

GuiDocumentUi::GuiDocumentUi(QObject* parent) : QObject(parent) {}

GuiDocumentUi::~GuiDocumentUi() {
    while (m_waits > 0) {
        endWait();
    }
}

void GuiDocumentUi::setStatusText(std::string_view text) {
    m_statusText = DisplayText::fromBytes(text);
    emit statusTextChanged(m_statusText);
}

void GuiDocumentUi::setProgress(int position) {
    m_progress = position;
    emit progressChanged(position);
}

void GuiDocumentUi::showMessage(std::string_view text, Icon icon) {
    // Window-modal and open(): the box never runs a loop of its own inside the document's work.
    auto* box = new QMessageBox(boxIcon(icon), QString::fromLatin1(kTitle), DisplayText::fromBytes(text),
                                QMessageBox::Ok, m_dialogParent);
    box->setObjectName(QStringLiteral("DocumentMessage"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(m_dialogParent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box->open();
}

bool GuiDocumentUi::askOkCancel(std::string_view question) {
    const IdleDriver::Hold hold;
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kTitle), DisplayText::fromBytes(question),
                    QMessageBox::Ok | QMessageBox::Cancel, m_dialogParent);
    box.setObjectName(QStringLiteral("DocumentQuestion"));
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok;
}

void GuiDocumentUi::askCredentials(std::string_view url, std::string_view realm) {
    auto* dialog = new AuthorizationDialog(DisplayText::fromBytes(url), DisplayText::fromBytes(realm), m_dialogParent);
    const std::string realmBytes(realm);
    connect(dialog, &AuthorizationDialog::answered, this, [this, dialog, realmBytes] {
        if (m_document == nullptr) {
            return;
        }
        if (dialog->answer() == AuthorizationDialog::Answer::Ok) {
            m_document->provideCredentials(realmBytes, dialog->user().toStdString(), dialog->password().toStdString());
        } else {
            m_document->skipRealm(realmBytes);
        }
    });
    dialog->open();
}

void GuiDocumentUi::playSound(std::string_view name) {
    if (m_playSound) {
        m_playSound(name);
    }
}

void GuiDocumentUi::openInBrowser(std::string_view url) {
    if (m_openPage) {
        m_openPage(std::string(url));
    }
}

void GuiDocumentUi::beginWait() {
    ++m_waits;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void GuiDocumentUi::endWait() {
    if (m_waits > 0) {
        --m_waits;
        QApplication::restoreOverrideCursor();
    }
}

void GuiDocumentUi::closeDocument() {
    QMetaObject::invokeMethod(this, &GuiDocumentUi::closeRequested, Qt::QueuedConnection);
}

void GuiDocumentUi::stateChanged() {
    QMetaObject::invokeMethod(this, &GuiDocumentUi::documentStateChanged, Qt::QueuedConnection);
}

} // namespace corvida
