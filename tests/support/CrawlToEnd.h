// SPDX-License-Identifier: MIT
#pragma once

// crawlToEnd runs a project document's idle work, with the event loop between its steps, until
// the crawl is complete and nothing is left to do for its views, or the time is up. Widget tests
// use it to crawl the sample site through a real document.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "doc/CTamsoDoc.h"

namespace corvida::test {

// Returns whether the crawl completed in time.
inline bool crawlToEnd(CTamsoDoc& document, int timeoutMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while ((document.state() != CTamsoDoc::State::Complete || document.hasIdleWork()) && clock.elapsed() < timeoutMs) {
        if (!document.runIdle()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    return document.state() == CTamsoDoc::State::Complete;
}

} // namespace corvida::test
