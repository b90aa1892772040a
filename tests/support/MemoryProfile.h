// SPDX-License-Identifier: MIT
#pragma once

// MemoryProfile is a Profile held in a map. It counts writes and syncs, and its sync fails
// with a set message on request, so tests can see whether and how the settings were saved.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Profile.h"

namespace corvida {

class MemoryProfile : public Profile {
public:
    std::optional<std::string> value(std::string_view section, std::string_view key) const override {
        const auto found = values.find({std::string(section), std::string(key)});
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }

    void setValue(std::string_view section, std::string_view key, std::string_view text) override {
        ++writes;
        values[{std::string(section), std::string(key)}] = std::string(text);
    }

    Status sync() override {
        ++syncs;
        return failure.empty() ? Status::ok() : Status::ioError(failure);
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    int writes = 0;
    int syncs = 0;
    std::string failure; // when not empty, sync fails with this message
};

} // namespace corvida
