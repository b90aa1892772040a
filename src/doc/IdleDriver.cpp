// SPDX-License-Identifier: MIT
#include "doc/IdleDriver.h"

#include <algorithm>
#include <vector>

#include "doc/CTamsoDoc.h"

namespace corvida {

namespace {

// The program has one thread: the drivers and the holds live on it.
std::vector<IdleDriver*>& drivers() {
    static std::vector<IdleDriver*> all;
    return all;
}

int g_holds = 0;

} // namespace

IdleDriver::Hold::Hold() {
    if (++g_holds == 1) {
        for (IdleDriver* driver : drivers()) {
            driver->m_timer.stop();
        }
    }
}

IdleDriver::Hold::~Hold() {
    if (--g_holds == 0) {
        for (IdleDriver* driver : drivers()) {
            if (driver->m_document.hasIdleWork()) {
                driver->m_timer.start();
            }
        }
    }
}

bool IdleDriver::isHeld() {
    return g_holds > 0;
}

IdleDriver::IdleDriver(CTamsoDoc& document) : m_document(document) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &IdleDriver::tick);
    drivers().push_back(this);
    m_document.setIdleWakeup([this] { wake(); });
    m_dueTimer.setSingleShot(true);
    m_dueTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_dueTimer, &QTimer::timeout, this, [this] { m_document.timerExpired(); });
    m_document.setTimerWakeup([this](std::chrono::milliseconds delay) { m_dueTimer.start(delay); });
    wake();
}

IdleDriver::~IdleDriver() {
    m_document.setIdleWakeup({});
    m_document.setTimerWakeup({});
    std::vector<IdleDriver*>& all = drivers();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void IdleDriver::wake() {
    if (!m_timer.isActive() && !isHeld()) {
        m_timer.start();
    }
}

void IdleDriver::tick() {
    if (isHeld() || !m_document.runIdle()) {
        m_timer.stop();
    }
}

} // namespace corvida
