// SPDX-License-Identifier: MIT
#pragma once

// StatusPanes fills the main window's status bar: the message, a progress bar, the number of
// view updates the active project still has to hand out ("Dispatch"), and how far its crawl
// got ("Web Progress"). Every pane is a permanent widget, so no temporary message of the bar
// ever hides them. The panes belong to the bar they were put on.

#include <cstddef>

#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace corvida {

class StatusPanes {
public:
    // The progress bar's width in pixels.
    static constexpr int kProgressWidth = 150;

    // Adds the panes to bar, which owns them and must outlive this object.
    explicit StatusPanes(QStatusBar& bar);
    StatusPanes(const StatusPanes&) = delete;
    StatusPanes& operator=(const StatusPanes&) = delete;

    // Shows text as plain text, elided at the right when the pane is too narrow; the whole
    // text is the pane's tooltip.
    void setMessage(const QString& text);
    // The text last given to setMessage().
    QString message() const { return m_message; }
    // Shows position (clamped to 0..100) on the progress bar; 0 hides the bar.
    void setProgress(int position);
    // Shows the active project's counts: pending view updates in "Dispatch", and
    // "processed of nodes" in "Web Progress".
    void setCounts(std::size_t pending, std::size_t processed, std::size_t nodes);
    // Empties both count panes (no active project).
    void clearCounts();

    QLabel* messageLabel() const { return m_messageLabel; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* dispatchLabel() const { return m_dispatch; }
    QLabel* webProgressLabel() const { return m_webProgress; }

private:
    QLabel* m_messageLabel;
    QProgressBar* m_progress;
    QLabel* m_dispatch;
    QLabel* m_webProgress;
    QString m_message;
};

} // namespace corvida
