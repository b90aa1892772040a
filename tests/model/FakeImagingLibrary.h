// SPDX-License-Identifier: MIT
#pragma once

// An in-memory ImagingLibrary for tests: pictures are declared by path with their size and
// depth, every call is recorded as a line of text, any operation can be made to fail, and
// saved GIF files are remembered by path instead of being written.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ImagingLibrary.h"

namespace corvida {

class FakeImagingLibrary : public ImagingLibrary {
public:
    enum class Operation { Load, Info, Resize, Reduce, Raise, Save };

    // Declares a picture file that load() can read.
    void addPicture(const std::string& path, Info info) { m_files[path] = info; }
    // Makes every later call of operation fail.
    void failOn(Operation operation) { m_failing.insert(operation); }

    // The calls made so far, e.g. "load a.gif", "resize 32x8", "save t.gif", "release 0".
    const std::vector<std::string>& calls() const { return m_calls; }
    // Paths of the GIF files saved so far.
    const std::set<std::string>& savedFiles() const { return m_saved; }
    // Handles loaded and not yet released.
    std::size_t openHandles() const { return m_open.size(); }

    Handle load(const std::string& path) override {
        m_calls.push_back("load " + path);
        const auto it = m_files.find(path);
        if (fails(Operation::Load) || it == m_files.end()) {
            return kNoHandle;
        }
        m_open[m_next] = it->second;
        return m_next++;
    }
    bool info(Handle handle, Info& info) const override {
        const auto it = m_open.find(handle);
        if (fails(Operation::Info) || it == m_open.end()) {
            return false;
        }
        info = it->second;
        return true;
    }
    bool resize(Handle handle, std::int32_t width, std::int32_t height) override {
        m_calls.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
        return change(handle, Operation::Resize, [&](Info& info) {
            info.width = width;
            info.height = height;
        });
    }
    bool reduceTo8Bits(Handle handle) override {
        m_calls.push_back("reduce");
        return change(handle, Operation::Reduce, [](Info& info) { info.bitsPerPixel = 8; });
    }
    bool raiseTo8Bits(Handle handle) override {
        m_calls.push_back("raise");
        return change(handle, Operation::Raise, [](Info& info) { info.bitsPerPixel = 8; });
    }
    bool saveGif(Handle handle, const std::string& path) override {
        m_calls.push_back("save " + path);
        m_saved.erase(path);
        if (fails(Operation::Save) || !m_open.contains(handle)) {
            return false;
        }
        m_saved.insert(path);
        return true;
    }
    void release(Handle handle) override {
        m_calls.push_back("release " + std::to_string(handle));
        m_open.erase(handle);
    }

private:
    bool fails(Operation operation) const { return m_failing.contains(operation); }
    template <typename Change>
    bool change(Handle handle, Operation operation, Change apply) {
        const auto it = m_open.find(handle);
        if (fails(operation) || it == m_open.end()) {
            return false;
        }
        apply(it->second);
        return true;
    }

    std::map<std::string, Info> m_files;
    std::map<Handle, Info> m_open;
    std::set<Operation> m_failing;
    std::set<std::string> m_saved;
    std::vector<std::string> m_calls;
    Handle m_next = 0;
};

} // namespace corvida
