// SPDX-License-Identifier: MIT
#pragma once

// A CrawlSession is what corvida-cli needs around one Web's crawl: the network transfers,
// the picture library, the event-loop driver (which is also the Web's listener), and the
// printing of the results. crawl and resume share it.

#include <iosfwd>
#include <string>

#include "cli/CrawlDriver.h"
#include "net/NetworkTransferFactory.h"
#include "platform/QtImagingLibrary.h"

namespace corvida {

class Web;
struct ProjectOptions;

class CrawlSession {
public:
    // The listener to give the Web; it must be the one the Web reports to.
    WebListener* listener() { return &m_driver; }

    // Connects web to the session's transfers and picture library and runs its crawl to
    // the end (start() first when startFirst).
    void run(Web& web, bool startFirst);

    // Prints "name: value" lines of the crawl's counters.
    static void printCounters(const Web& web, std::ostream& out);
    // Prints one line per node in URL order: number, level, HTTP status, flags, URL.
    static void printNodes(const Web& web, std::ostream& out);
    // Writes the report and the local site of a finished crawl when asked, marks them made in
    // options and prints where their entry pages are. Returns false when a page could not be
    // written (after printing which).
    static bool writeOutputs(Web& web, ProjectOptions& options, bool report, bool localSite, std::ostream& out,
                             std::ostream& err);
    // Saves the project to path; returns false after printing why it failed.
    static bool saveProject(const std::string& path, const ProjectOptions& options, const Web& web, std::ostream& err);

private:
    CrawlDriver m_driver;
    NetworkTransferFactory m_transfers;
    QtImagingLibrary m_imaging;
};

} // namespace corvida
