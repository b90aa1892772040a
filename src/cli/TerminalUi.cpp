// SPDX-License-Identifier: MIT
#include "cli/TerminalUi.h"

#include <iostream>

#include <termios.h>
#include <unistd.h>

#include "doc/CTamsoDoc.h"
#include "model/Web.h"

namespace corvida {

namespace {

// How often the progress line is redrawn on a terminal, and printed without one.
constexpr std::chrono::milliseconds kTerminalInterval(100);
constexpr std::chrono::milliseconds kPlainInterval(5000);
// The widest status text on the progress line.
constexpr std::size_t kStatusWidth = 40;
// Credentials longer than this are cut, as the crawl's buffers take no more.
constexpr std::size_t kCredentialLimit = 511;

std::string readLine(bool echo) {
    termios saved{};
    const bool hide = !echo && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (hide) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << '\n';
    }
    return line.substr(0, kCredentialLimit);
}

} // namespace

TerminalUi::TerminalUi(std::ostream& out, std::ostream& err, bool quiet)
    : m_out(out), m_err(err), m_quiet(quiet), m_terminal(&err == &std::cerr && isatty(STDERR_FILENO) != 0) {}

TerminalUi::~TerminalUi() {
    clearProgress();
}

void TerminalUi::setStatusText(std::string_view text) {
    m_status = text;
    drawProgress();
}

void TerminalUi::setProgress(int position) {
    m_percent = position;
    drawProgress();
}

void TerminalUi::drawProgress() {
    if (m_quiet || m_document == nullptr || m_document->web() == nullptr) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastDrawn < (m_terminal ? kTerminalInterval : kPlainInterval)) {
        return;
    }
    m_lastDrawn = now;
    const Web& web = *m_document->web();
    const std::string counts = std::to_string(web.processedCount()) + " of " + std::to_string(web.nodeCount()) +
                               " processed, " + std::to_string(web.brokenCount()) + " broken";
    if (m_terminal) {
        std::string status = m_status.substr(0, kStatusWidth);
        status.resize(kStatusWidth, ' ');
        m_err << '\r' << status << ' ' << m_percent << "%  " << counts << "\x1b[K" << std::flush;
        m_lineShown = true;
    } else {
        m_err << counts << '\n';
    }
}

void TerminalUi::clearProgress() {
    if (m_lineShown) {
        m_err << "\r\x1b[K" << std::flush;
        m_lineShown = false;
    }
}

void TerminalUi::note(const std::string& text) {
    clearProgress();
    m_err << text << '\n';
}

void TerminalUi::showMessage(std::string_view text, Icon icon) {
    clearProgress();
    // Each line without the spaces that end it, and no empty last line.
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view part = text.substr(start, end - start);
        while (!part.empty() && part.back() == ' ') {
            part.remove_suffix(1);
        }
        line += (line.empty() && start == 0 ? "" : "\n") + std::string(part);
        start = end + 1;
    }
    if (icon == Icon::Information) {
        m_out << line << '\n' << std::flush;
    } else {
        ++m_problems;
        m_err << "corvida-cli: " << line << '\n';
    }
}

bool TerminalUi::askOkCancel(std::string_view /*question*/) {
    // The command line already says what to do.
    return true;
}

void TerminalUi::askCredentials(std::string_view url, std::string_view realm) {
    // A terminal answers at once: the person types while the crawl waits.
    if (m_document == nullptr) {
        return;
    }
    if (isatty(STDIN_FILENO) == 0 || isatty(STDERR_FILENO) == 0) {
        m_document->skipRealm(realm);
        return;
    }
    clearProgress();
    std::cerr << "User name for " << url << " (empty to skip): " << std::flush;
    const std::string user = readLine(true);
    if (user.empty()) {
        m_document->skipRealm(realm);
        return;
    }
    std::cerr << "Password: " << std::flush;
    const std::string password = readLine(false);
    m_document->provideCredentials(realm, user, password);
}

void TerminalUi::playSound(std::string_view /*name*/) {}

void TerminalUi::openInBrowser(std::string_view /*url*/) {}

void TerminalUi::beginWait() {}

void TerminalUi::endWait() {}

void TerminalUi::closeDocument() {
    m_closeRequested = true;
    stateChanged();
}

void TerminalUi::stateChanged() {
    if (m_stateListener) {
        m_stateListener();
    }
}

} // namespace corvida
