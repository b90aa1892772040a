// SPDX-License-Identifier: MIT
#pragma once

// The IdleDriver gives a project document its idle time on the Qt event loop: a zero-delay
// timer runs one idle call per turn of the loop while the document has work that can run,
// and sleeps otherwise until the document asks to be woken (new view work, a free fetch
// slot, Resume) or a time it named has come (a single-shot timer).
//
// Qt's timers also fire inside nested event loops (a modal dialog's exec(), a drag). While
// such a loop runs, the program holds every driver with an IdleDriver::Hold, so that no
// crawl step or view feed runs inside the call that opened the dialog.

#include <QObject>
#include <QTimer>

namespace corvida {

class CTamsoDoc;

class IdleDriver : public QObject {
    Q_OBJECT

public:
    // While at least one Hold lives, no driver of the process runs idle calls; when the last
    // one goes, the drivers whose documents have work start again. Holds nest. Use on the
    // thread of the drivers only.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

    // Drives document, which must outlive the driver.
    explicit IdleDriver(CTamsoDoc& document);
    ~IdleDriver() override;

    // Starts the timer unless it runs or the drivers are held.
    void wake();
    bool isActive() const { return m_timer.isActive(); }
    // Whether a Hold lives.
    static bool isHeld();

private:
    void tick();

    CTamsoDoc& m_document;
    QTimer m_timer;
    QTimer m_dueTimer; // the document's timed wake-up
};

} // namespace corvida
