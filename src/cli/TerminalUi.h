// SPDX-License-Identifier: MIT
#pragma once

// TerminalUi is the project document's UI in corvida-cli. Messages go to standard output
// (information) or standard error (warnings and errors, which it counts). On a terminal the
// crawl's progress is one line on standard error, redrawn in place: the status text, the
// percentage, processed nodes of all nodes and broken links so far; without a terminal a
// plain progress line is printed now and then. Credentials are asked on the terminal with
// the password unechoed, and declined without one. The browser and sounds are not used.

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>

#include "doc/DocumentUi.h"

namespace corvida {

class CTamsoDoc;

class TerminalUi : public DocumentUi {
public:
    // out and err must outlive the UI. quiet drops the progress line.
    TerminalUi(std::ostream& out, std::ostream& err, bool quiet);
    ~TerminalUi() override;

    // The document whose counters the progress line shows (may be null).
    void setDocument(CTamsoDoc* document) { m_document = document; }
    // Warnings and errors shown so far.
    int problemCount() const { return m_problems; }
    bool closeRequested() const { return m_closeRequested; }
    // listener is called whenever the document's state changes or it asks to be closed (from
    // inside the document's work: it must not stop the crawl or destroy the document there).
    void setStateListener(std::function<void()> listener) { m_stateListener = std::move(listener); }
    // Prints a line to standard error without breaking the progress line.
    void note(const std::string& text);
    // Removes the progress line from the terminal.
    void clearProgress();

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

private:
    void drawProgress();

    std::ostream& m_out;
    std::ostream& m_err;
    bool m_quiet;
    bool m_terminal;
    CTamsoDoc* m_document = nullptr;
    std::string m_status;
    int m_percent = 0;
    int m_problems = 0;
    bool m_closeRequested = false;
    std::function<void()> m_stateListener;
    bool m_lineShown = false;
    std::chrono::steady_clock::time_point m_lastDrawn;
};

} // namespace corvida
