// SPDX-License-Identifier: MIT
#pragma once

// DiskSpace tells how much room is left for a crawl's files: the bytes a program of this user
// may still write on the file system that holds a directory.

#include <cstdint>
#include <optional>
#include <string>

namespace corvida {

class DiskSpace {
public:
    // The bytes available to this user on the file system of directory, or nothing when that
    // cannot be told (the directory is missing or the file system answers nothing).
    static std::optional<std::uint64_t> available(const std::string& directory);
};

} // namespace corvida
