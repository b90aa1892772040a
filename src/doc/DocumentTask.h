// SPDX-License-Identifier: MIT
#pragma once

// A DocumentTask is an idle task whose work is a function of its document: the document
// makes one for each of its kinds of idle work and binds the matching member function.

#include <functional>
#include <utility>

#include "doc/IdleTask.h"

namespace corvida {

class DocumentTask : public IdleTask {
public:
    // work returns whether the task stays registered; ready (optional) whether it can run now.
    DocumentTask(int kind, std::function<bool()> work, std::function<bool()> ready = {})
        : IdleTask(kind), m_work(std::move(work)), m_ready(std::move(ready)) {}

    bool run() override { return m_work(); }
    bool ready() const override { return !m_ready || m_ready(); }

private:
    std::function<bool()> m_work;
    std::function<bool()> m_ready;
};

} // namespace corvida
