// SPDX-License-Identifier: MIT
#include "doc/IdleDriver.h"

#include "doc/CTamsoDoc.h"

namespace corvida {

IdleDriver::IdleDriver(CTamsoDoc& document) : m_document(document) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &IdleDriver::tick);
    m_document.setIdleWakeup([this] { wake(); });
    wake();
}

IdleDriver::~IdleDriver() {
    m_document.setIdleWakeup({});
}

void IdleDriver::wake() {
    if (!m_timer.isActive()) {
        m_timer.start();
    }
}

void IdleDriver::tick() {
    if (!m_document.runIdle()) {
        m_timer.stop();
    }
}

} // namespace corvida
