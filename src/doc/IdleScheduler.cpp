// SPDX-License-Identifier: MIT
#include "doc/IdleScheduler.h"

#include <algorithm>

#include "doc/IdleTask.h"

namespace corvida {

void IdleScheduler::add(IdleTask* task) {
    if (contains(task)) {
        return;
    }
    const auto after = std::find_if(m_tasks.begin(), m_tasks.end(),
                                    [task](const IdleTask* other) { return other->kind() < task->kind(); });
    m_tasks.insert(after, task);
}

void IdleScheduler::remove(IdleTask* task) {
    const auto it = std::find(m_tasks.begin(), m_tasks.end(), task);
    if (it == m_tasks.end()) {
        return;
    }
    m_tasks.erase(it);
    if (m_cursor == task) {
        m_cursor = nullptr;
    }
}

bool IdleScheduler::contains(const IdleTask* task) const {
    return std::find(m_tasks.begin(), m_tasks.end(), task) != m_tasks.end();
}

bool IdleScheduler::runOne() {
    if (m_tasks.empty()) {
        return false;
    }
    auto it = m_cursor == nullptr ? m_tasks.begin() : std::find(m_tasks.begin(), m_tasks.end(), m_cursor);
    if (it == m_tasks.end()) {
        it = m_tasks.begin();
    }
    const int kind = (*it)->kind();
    // A task of this kind that waits is passed over in favour of a ready one of the same kind.
    while (it != m_tasks.end() && (*it)->kind() == kind && !(*it)->ready()) {
        ++it;
    }
    if (it == m_tasks.end() || (*it)->kind() != kind) {
        m_cursor = nullptr;
        return hasReadyWork();
    }
    IdleTask* task = *it;
    const bool stays = task->run();
    // run() may have added or removed tasks: find the task's place again.
    it = std::find(m_tasks.begin(), m_tasks.end(), task);
    if (it != m_tasks.end()) {
        if (!stays) {
            it = m_tasks.erase(it);
        } else {
            ++it;
        }
    } else {
        it = m_tasks.begin();
    }
    m_cursor = it != m_tasks.end() && (*it)->kind() == kind ? *it : nullptr;
    return hasReadyWork();
}

bool IdleScheduler::hasReadyWork() const {
    return std::any_of(m_tasks.begin(), m_tasks.end(), [](const IdleTask* task) { return task->ready(); });
}

} // namespace corvida
