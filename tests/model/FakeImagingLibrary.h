// SPDX-License-Identifier: MIT
#pragma once

// An in-memory ImagingLibrary for tests: pictures are declared by path, every call is
// recorded as text, any operation can be made to fail, and saves are remembered by path.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ImagingLibrary.h"

namespace corvida {

class FakeImagingLibrary : public ImagingLibrary {
public:
    enum class Operation { Load, Info, Resize, Reduce, Raise, Save };

    std::map<std::string, Info> pictures; // the readable picture files
    std::set<Operation> failing;          // operations that fail
    std::vector<std::string> calls;       // e.g. "load a.gif", "resize 32x8", "release 0"
    std::set<std::string> saved;          // paths of the GIF files saved
    std::map<Handle, Info> open;          // handles not yet released

    Handle load(const std::string& path) override {
        calls.push_back("load " + path);
        if (failing.contains(Operation::Load) || !pictures.contains(path)) {
            return kNoHandle;
        }
        open[m_next] = pictures[path];
        return m_next++;
    }
    bool info(Handle handle, Info& info) const override {
        const bool ok = !failing.contains(Operation::Info) && open.contains(handle);
        info = ok ? open.at(handle) : Info{};
        return ok;
    }
    bool resize(Handle handle, std::int32_t width, std::int32_t height) override {
        return step(Operation::Resize, handle, "resize " + std::to_string(width) + "x" + std::to_string(height));
    }
    bool reduceTo8Bits(Handle handle) override { return step(Operation::Reduce, handle, "reduce"); }
    bool raiseTo8Bits(Handle handle) override { return step(Operation::Raise, handle, "raise"); }
    bool saveGif(Handle handle, const std::string& path) override {
        saved.erase(path);
        const bool ok = step(Operation::Save, handle, "save " + path);
        if (ok) {
            saved.insert(path);
        }
        return ok;
    }
    void release(Handle handle) override {
        calls.push_back("release " + std::to_string(handle));
        open.erase(handle);
    }

private:
    bool step(Operation operation, Handle handle, std::string call) {
        calls.push_back(std::move(call));
        return !failing.contains(operation) && open.contains(handle);
    }

    Handle m_next = 0;
};

} // namespace corvida
