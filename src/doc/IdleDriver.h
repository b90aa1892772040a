// SPDX-License-Identifier: MIT
#pragma once

// The IdleDriver gives a project document its idle time on the Qt event loop: a zero-delay
// timer runs one idle call per turn of the loop while the document has work that can run,
// and sleeps otherwise until the document asks to be woken (new view work, a free fetch
// slot, Resume).

#include <QObject>
#include <QTimer>

namespace corvida {

class CTamsoDoc;

class IdleDriver : public QObject {
    Q_OBJECT

public:
    // Drives document, which must outlive the driver.
    explicit IdleDriver(CTamsoDoc& document);
    ~IdleDriver() override;

    // Starts the timer unless it runs.
    void wake();
    bool isActive() const { return m_timer.isActive(); }

private:
    void tick();

    CTamsoDoc& m_document;
    QTimer m_timer;
};

} // namespace corvida
