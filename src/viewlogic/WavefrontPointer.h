// SPDX-License-Identifier: MIT
#pragma once

// WavefrontPointer is what the Wavefront map does with the mouse: panning while the left button
// drags empty space, pointing at a node, idle; when a press on a node turns into a drag; and
// which cursor shows. The widget hit-tests and passes whether the pointer is on a shown node (a
// node of a hidden level counts as empty space); it acts on the answers.

#include <QPoint>

namespace corvida {

class WavefrontPointer {
public:
    // The numbers are the view's mouse states.
    enum class State { Panning = 0, OnNode = 1, Idle = 2 };
    enum class Cursor { Arrow, Panning, Node };

    // A press on a node becomes a drag once the pointer is more than this many pixels away
    // from the press point along either axis.
    static constexpr int kDragThreshold = 4;

    // What a move asks of the widget.
    struct Move {
        QPoint pan;             // pan the map by this (zero: none)
        bool startDrag = false; // start dragging the pressed node now
    };

    // Left button down at point. On a node the widget selects it first; a drag may follow.
    // On empty space the map pans with the following moves.
    void press(QPoint point, bool onShownNode);
    // Pointer moved to point, with or without the left button held.
    Move move(QPoint point, bool leftButton, bool onShownNode);
    // Left button up at point (also after a drag ends): idle.
    void release(QPoint point);
    // Pointer left the map: pointing at a node ends.
    void leave();

    State state() const { return m_state; }
    Cursor cursor() const;
    QPoint lastPoint() const { return m_last; }

private:
    State m_state = State::Idle;
    QPoint m_last;
    QPoint m_pressPoint;
    bool m_dragPending = false;
};

} // namespace corvida
