// SPDX-License-Identifier: MIT
#pragma once

// A Profile is the per-user store the settings live in: named sections of keys with text
// values. Writes may be held in memory until sync() puts them into the store. The settings
// read and write only through this interface, so tests can use an in-memory profile.

#include <optional>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace corvida {

class Profile {
public:
    virtual ~Profile() = default;

    // Returns the text of key in section, or nothing when the store has no such key.
    virtual std::optional<std::string> value(std::string_view section, std::string_view key) const = 0;

    // Sets key in section to text. The store may hold the change until sync().
    virtual void setValue(std::string_view section, std::string_view key, std::string_view text) = 0;

    // Puts every change into the store; on failure the message is for the user.
    virtual Status sync() = 0;
};

} // namespace corvida
