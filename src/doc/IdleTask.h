// SPDX-License-Identifier: MIT
#pragma once

// An IdleTask is one kind of work that a project document does in small slices while the
// program is idle. Higher kinds run first: all view work goes before the crawl.

namespace corvida {

class IdleTask {
public:
    // Kinds, lowest priority first.
    static constexpr int kCrawlStep = 0;
    static constexpr int kChangedNodes = 1;
    static constexpr int kInsertNodes = 2;
    static constexpr int kViewPass = 3;
    static constexpr int kFeedViews = 4;

    explicit IdleTask(int kind) : m_kind(kind) {}
    virtual ~IdleTask() = default;

    int kind() const { return m_kind; }
    // Does one slice of work. Returns false when the task has no more work and leaves the
    // scheduler, true to stay.
    virtual bool run() = 0;
    // Whether a run now would do work; a task that waits for an event (a free fetch slot)
    // says false and is skipped until it is ready again.
    virtual bool ready() const { return true; }

private:
    int m_kind;
};

} // namespace corvida
