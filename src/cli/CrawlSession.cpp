// SPDX-License-Identifier: MIT
#include "cli/CrawlSession.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ostream>

#include <QEventLoop>
#include <QTimer>

#include "crawl/Crawler.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

volatile std::sig_atomic_t g_interrupts = 0;

extern "C" void countInterrupt(int /*signal*/) {
    g_interrupts = g_interrupts + 1;
}

// How often run() looks at the document's state and at Ctrl-C.
constexpr int kWatchMilliseconds = 50;

} // namespace

CrawlSession::CrawlSession(const Settings& settings, std::ostream& out, std::ostream& err, bool quiet)
    : m_settings(settings), m_ui(out, err, quiet), m_document(m_settings, m_ui, m_transfers, &m_imaging),
      m_driver(m_document) {
    m_ui.setDocument(&m_document);
}

CrawlSession::Outcome CrawlSession::run() {
    g_interrupts = 0;
    const auto previous = std::signal(SIGINT, countInterrupt);
    Outcome outcome = Outcome::Complete;
    bool suspending = false;
    std::chrono::steady_clock::time_point suspendedAt;
    QEventLoop loop;
    QTimer watch;
    watch.setInterval(kWatchMilliseconds);
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (m_ui.closeRequested()) {
            outcome = Outcome::StartFailed;
            loop.quit();
            return;
        }
        if (!suspending && m_document.state() == CTamsoDoc::State::Complete) {
            loop.quit();
            return;
        }
        if (g_interrupts > 0 && !suspending) {
            suspending = true;
            suspendedAt = std::chrono::steady_clock::now();
            m_ui.note("Suspending: letting running transfers end (Ctrl-C again stops them)...");
        }
        if (!suspending) {
            return;
        }
        // A crawl that has not taken its first idle run yet becomes Running first.
        m_document.suspend();
        Crawler* crawler = m_document.crawler();
        const bool drained = crawler == nullptr || crawler->busySlotCount() == 0;
        const bool late = std::chrono::steady_clock::now() - suspendedAt > std::chrono::seconds(kDrainSeconds);
        if (drained || late || g_interrupts > 1) {
            if (crawler != nullptr) {
                crawler->stopTransfers();
            }
            outcome = m_document.state() == CTamsoDoc::State::Complete ? Outcome::Complete : Outcome::Suspended;
            loop.quit();
        }
    });
    watch.start();
    m_driver.wake();
    loop.exec();
    std::signal(SIGINT, previous);
    m_ui.clearProgress();
    return outcome;
}

void CrawlSession::printCounters(const Web& web, std::ostream& out) {
    out << "nodes: " << web.nodeCount() << '\n'
        << "processed: " << web.processedCount() << '\n'
        << "documents: " << web.count(NodeKind::Document) << '\n'
        << "pictures: " << web.count(NodeKind::Picture) << '\n'
        << "audio: " << web.count(NodeKind::Audio) << '\n'
        << "video: " << web.count(NodeKind::Video) << '\n'
        << "ftp: " << web.count(NodeKind::Ftp) << '\n'
        << "gopher: " << web.count(NodeKind::Gopher) << '\n'
        << "mail: " << web.count(NodeKind::Mail) << '\n'
        << "other: " << web.count(NodeKind::Other) << '\n'
        << "highest_level: " << web.highestLevel() << '\n'
        << "broken: " << web.brokenCount() << '\n';
}

void CrawlSession::printNodes(const Web& web, std::ostream& out) {
    for (const WebNode* node : web.nodes()) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%08x", node->flags());
        out << node->number() << '\t' << node->level() << '\t' << node->httpStatus() << '\t' << flags << '\t'
            << node->url().url() << '\n';
    }
}

} // namespace corvida
