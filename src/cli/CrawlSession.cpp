// SPDX-License-Identifier: MIT
#include "cli/CrawlSession.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <ostream>

#include <fcntl.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include "crawl/Crawler.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/TlsTrust.h"

namespace corvida {

namespace {

// The write end of the pipe that tells run() of Ctrl-C, or -1. A signal handler may only
// write to it; run() reads it on its event loop.
volatile std::sig_atomic_t g_interruptPipe = -1;

extern "C" void noteInterrupt(int /*signal*/) {
    const int savedErrno = errno;
    const int pipe = g_interruptPipe;
    if (pipe >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(pipe, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

CrawlSession::CrawlSession(const Settings& settings, std::ostream& out, std::ostream& err, bool quiet)
    : m_settings(settings), m_ui(out, err, quiet), m_document(m_settings, m_ui, m_transfers, &m_imaging),
      m_driver(m_document) {
    m_ui.setDocument(&m_document);
    if (m_settings.caFile.empty() && !m_settings.insecureTls) {
        return; // the default context: the system's CAs
    }
    TlsTrust trust;
    trust.setVerifying(!m_settings.insecureTls);
    if (!m_settings.caFile.empty()) {
        if (const std::optional<std::string> error = trust.addCaFile(m_settings.caFile)) {
            err << "corvida-cli: " << *error << "; only the system's CAs are trusted\n";
        }
    }
    if (!trust.verifying()) {
        err << "corvida-cli: certificates of https servers are not checked (--insecure)\n";
    }
    m_transfers.setTlsContext(trust.context());
}

CrawlSession::~CrawlSession() {
    if (m_previousInterrupt != SIG_ERR) {
        std::signal(SIGINT, m_previousInterrupt);
    }
}

CrawlSession::Outcome CrawlSession::run() {
    Outcome outcome = Outcome::Complete;
    int interrupts = 0;
    bool suspending = false;
    bool drainOver = false;
    QEventLoop loop;
    QTimer drainDeadline;
    drainDeadline.setSingleShot(true);
    drainDeadline.setTimerType(Qt::PreciseTimer);
    drainDeadline.setInterval(kDrainSeconds * 1000);

    // Looks at the document and at Ctrl-C; runs on the event loop only, never inside the
    // document's work, as it may stop transfers.
    const auto check = [&] {
        if (m_ui.closeRequested()) {
            outcome = Outcome::StartFailed;
            loop.quit();
            return;
        }
        if (!suspending && m_document.state() == CTamsoDoc::State::Complete) {
            loop.quit();
            return;
        }
        if (!suspending && m_document.suspendedForDiskSpace()) {
            // The document stopped taking nodes for want of disk space and said why: the
            // running transfers end and the project is saved, as after Ctrl-C.
            suspending = true;
            drainDeadline.start();
        }
        if (interrupts > 0 && !suspending) {
            suspending = true;
            drainDeadline.start();
            m_ui.note("Suspending: letting running transfers end (Ctrl-C again stops them)...");
        }
        if (!suspending) {
            return;
        }
        // A crawl that has not taken its first idle run yet becomes Running first, and says so.
        m_document.suspend();
        Crawler* crawler = m_document.crawler();
        const bool drained = crawler == nullptr || crawler->busySlotCount() == 0;
        if (drained || drainOver || interrupts > 1) {
            if (crawler != nullptr) {
                crawler->stopTransfers();
            }
            outcome = m_document.state() == CTamsoDoc::State::Complete ? Outcome::Complete : Outcome::Suspended;
            loop.quit();
        }
    };
    bool checkQueued = false;
    const auto queueCheck = [&] {
        if (!checkQueued) {
            checkQueued = true;
            QMetaObject::invokeMethod(
                &loop,
                [&] {
                    checkQueued = false;
                    check();
                },
                Qt::QueuedConnection);
        }
    };
    m_ui.setStateListener(queueCheck);
    QObject::connect(&drainDeadline, &QTimer::timeout, &loop, [&] {
        drainOver = true;
        check();
    });

    // Ctrl-C reaches the loop through a pipe. Without one it ends the program as it would
    // anyway.
    int fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier = std::make_unique<QSocketNotifier>(fds[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, &loop, [&] {
            char bytes[16];
            ssize_t count = 0;
            while ((count = ::read(fds[0], bytes, sizeof bytes)) > 0) {
                interrupts += static_cast<int>(count);
            }
            check();
        });
        g_interruptPipe = fds[1];
        void (*previous)(int) = std::signal(SIGINT, noteInterrupt);
        if (m_previousInterrupt == SIG_ERR) {
            m_previousInterrupt = previous;
        }
    }

    queueCheck(); // the first look, once the loop runs
    m_driver.wake();
    loop.exec();

    if (notifier != nullptr) {
        // The handler stays until the session ends, writing nowhere: a late Ctrl-C must not
        // kill the program while it saves the project.
        g_interruptPipe = -1;
        notifier.reset();
        ::close(fds[0]);
        ::close(fds[1]);
    }
    m_ui.setStateListener({});
    m_ui.clearProgress();
    return outcome;
}

void CrawlSession::printCounters(const CTamsoDoc& document, std::ostream& out) {
    const Web& web = *document.web();
    const Crawler* crawler = document.crawler();
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
        << "broken: " << web.brokenCount() << '\n'
        << "retried: " << (crawler != nullptr ? crawler->retriedCount() : 0) << '\n';
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
