// SPDX-License-Identifier: MIT
#pragma once

// A CrawlSession is one project document of corvida-cli with everything around it: its own
// copy of the settings (the command's flags applied), the network transfers, the picture
// library, the terminal UI and the idle driver. run() drives the document on the Qt event
// loop until its crawl completes, its start page fails, or Ctrl-C suspends it.

#include <csignal>
#include <iosfwd>

#include "app/Settings.h"
#include "cli/TerminalUi.h"
#include "doc/CTamsoDoc.h"
#include "doc/IdleDriver.h"
#include "net/NetworkTransferFactory.h"
#include "platform/QtImagingLibrary.h"

namespace corvida {

class Web;

class CrawlSession {
public:
    enum class Outcome { Complete, StartFailed, Suspended };

    // How long running transfers may go on after Ctrl-C before they are stopped.
    static constexpr int kDrainSeconds = 5;
    // The exit status of a crawl suspended by Ctrl-C or for want of disk space.
    static constexpr int kExitInterrupted = 130;

    // out and err must outlive the session.
    CrawlSession(const Settings& settings, std::ostream& out, std::ostream& err, bool quiet);
    CrawlSession(const CrawlSession&) = delete;
    CrawlSession& operator=(const CrawlSession&) = delete;
    // Gives Ctrl-C back to what handled it before run().
    ~CrawlSession();

    // The session's settings; the document reads them when it starts, opens and saves.
    Settings& settings() { return m_settings; }
    CTamsoDoc& document() { return m_document; }
    TerminalUi& ui() { return m_ui; }

    // Runs the document until its crawl completes or its start page fails. The first Ctrl-C
    // suspends the crawl and lets running transfers end (kDrainSeconds at most, or until a
    // second Ctrl-C), then stops the rest: Suspended. A crawl that the document suspends for
    // want of disk space ends the same way. After run() Ctrl-C does nothing until
    // the session ends, so that it cannot cut short the save of the project that follows.
    Outcome run();

    // Prints "name: value" lines of the counters of document's crawl. document must have a Web.
    static void printCounters(const CTamsoDoc& document, std::ostream& out);
    // Prints one line per node in URL order: number, level, HTTP status, flags, URL.
    static void printNodes(const Web& web, std::ostream& out);

private:
    Settings m_settings;
    NetworkTransferFactory m_transfers;
    QtImagingLibrary m_imaging;
    TerminalUi m_ui;
    CTamsoDoc m_document;
    IdleDriver m_driver;
    void (*m_previousInterrupt)(int) = SIG_ERR; // the SIGINT handler before run(), while caught
};

} // namespace corvida
