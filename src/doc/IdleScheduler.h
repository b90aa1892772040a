// SPDX-License-Identifier: MIT
#pragma once

// The IdleScheduler keeps a document's idle tasks in one list ordered by kind, highest first;
// a task joins after the tasks of its own kind. Each idle call runs exactly one task, the one
// under a cursor, and moves the cursor on; when the next task has another kind, or the list
// ends, the cursor returns to the first task. Tasks of the highest kind present therefore
// take turns, and lower kinds run only when no higher kind is registered.
//
// The scheduler does not own its tasks; a task must stay alive while it is registered.

#include <vector>

namespace corvida {

class IdleTask;

class IdleScheduler {
public:
    // Registers task unless it is registered already.
    void add(IdleTask* task);
    // Unregisters task (nothing when it is not registered).
    void remove(IdleTask* task);
    bool contains(const IdleTask* task) const;
    bool empty() const { return m_tasks.empty(); }

    // One idle call: runs the task under the cursor (skipping tasks of its kind that are not
    // ready). Returns whether work that can run now remains.
    bool runOne();
    // Whether some registered task can run now.
    bool hasReadyWork() const;

private:
    std::vector<IdleTask*> m_tasks;
    IdleTask* m_cursor = nullptr; // nullptr: the first task
};

} // namespace corvida
