// SPDX-License-Identifier: MIT
#include "cli/CrawlDriver.h"

#include "model/Web.h"

namespace corvida {

namespace {

// Steps taken before the event loop runs again, so that transfers are served in between.
constexpr int kStepsPerTick = 64;

} // namespace

CrawlDriver::CrawlDriver() {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CrawlDriver::tick);
}

void CrawlDriver::run(Web& web, bool startFirst) {
    m_web = &web;
    if (startFirst) {
        web.start();
    }
    m_timer.start();
    m_loop.exec();
    m_timer.stop();
    m_web = nullptr;
}

void CrawlDriver::tick() {
    for (int i = 0; i < kStepsPerTick; ++i) {
        const int result = m_web->step();
        if (result == Web::kStepComplete) {
            m_timer.stop();
            m_loop.quit();
            return;
        }
        if (result != Web::kStepStarted) {
            // Every slot is busy, or only running transfers are left: wait for a slot.
            m_timer.stop();
            return;
        }
    }
}

void CrawlDriver::slotFreed(WebNode* /*node*/, int /*slot*/) {
    if (m_web != nullptr && !m_timer.isActive()) {
        m_timer.start();
    }
}

} // namespace corvida
