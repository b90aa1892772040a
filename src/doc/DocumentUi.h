// SPDX-License-Identifier: MIT
#pragma once

// DocumentUi is everything of a project document that a person sees or answers: the status
// text, the progress bar, message boxes, questions, the credentials dialog, event sounds, the
// browser and the wait cursor. The desktop program implements it with widgets; corvida-cli
// implements it on the terminal. The document calls it from its own thread only.

#include <string>
#include <string_view>

namespace corvida {

class DocumentUi {
public:
    // The icon of a message box.
    enum class Icon { Information, Warning, Error };

    virtual ~DocumentUi() = default;

    // The first pane of the status bar shows text.
    virtual void setStatusText(std::string_view text) = 0;
    // The progress bar shows position (0 to 100); 0 also clears it.
    virtual void setProgress(int position) = 0;
    // A message box with an OK button.
    virtual void showMessage(std::string_view text, Icon icon) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool askOkCancel(std::string_view question) = 0;
    // Asks for a user name and password for url, protected as realm, without waiting for the
    // answer: the person's answer goes to the document later (CTamsoDoc::provideCredentials
    // or skipRealm), or at once from inside this call.
    virtual void askCredentials(std::string_view url, std::string_view realm) = 0;
    // Plays the event sound of name ("SystemExclamation", "SystemAsterisk") without waiting.
    virtual void playSound(std::string_view name) = 0;
    // Opens url (a file:// URL of a report or local-site page) in the browser.
    virtual void openInBrowser(std::string_view url) = 0;
    // Long writes (report, local site) run between these two calls.
    virtual void beginWait() = 0;
    virtual void endWait() = 0;
    // The document asks to be closed (its start page failed). The front end closes it when it
    // is back in its event loop; the document must not be destroyed inside this call.
    virtual void closeDocument() = 0;
    // Something the commands depend on may have changed: the document's state, its options'
    // reportMade or localSiteMade, or a suspended crawl's last transfer ended (see
    // CTamsoDoc::transfersRunning). Called after the change;
    // the front end reads what it needs from the document. The call may come from deep inside
    // the crawl: the document must not be destroyed, and the crawl not stopped, inside it.
    virtual void stateChanged() = 0;
};

} // namespace corvida
