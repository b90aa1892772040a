// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontPointer.h"

#include <cstdlib>

namespace corvida {

void WavefrontPointer::press(QPoint point, bool onShownNode) {
    m_last = point;
    m_pressPoint = point;
    m_dragPending = onShownNode;
    m_state = onShownNode ? State::OnNode : State::Panning;
}

WavefrontPointer::Move WavefrontPointer::move(QPoint point, bool leftButton, bool onShownNode) {
    Move result;
    if (!leftButton) {
        m_dragPending = false;
        m_state = onShownNode ? State::OnNode : State::Idle;
        return result;
    }
    if (m_dragPending) {
        const QPoint moved = point - m_pressPoint;
        if (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold) {
            m_dragPending = false;
            result.startDrag = true;
        }
        return result;
    }
    switch (m_state) {
    case State::Panning:
        result.pan = point - m_last;
        m_last = point;
        break;
    case State::OnNode:
        // The button is still down after the press on a node, without a drag.
        if (onShownNode) {
            m_state = State::Idle;
        } else {
            m_state = State::Panning;
            m_last = point;
        }
        break;
    case State::Idle:
        break;
    }
    return result;
}

void WavefrontPointer::release(QPoint point) {
    m_state = State::Idle;
    m_last = point;
    m_dragPending = false;
}

void WavefrontPointer::leave() {
    if (m_state == State::OnNode && !m_dragPending) {
        m_state = State::Idle;
    }
}

WavefrontPointer::Cursor WavefrontPointer::cursor() const {
    switch (m_state) {
    case State::Panning:
        return Cursor::Panning;
    case State::OnNode:
        return Cursor::Node;
    case State::Idle:
        break;
    }
    return Cursor::Arrow;
}

} // namespace corvida
