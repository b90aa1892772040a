// SPDX-License-Identifier: MIT
#pragma once

// DiskFile reads a whole file into memory and replaces a file as one step: the new bytes go
// to a temporary file in the same folder, are flushed to the disk, and only then renamed
// over the old file, so a write that fails or is cut short never destroys what was there.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace corvida {

class DiskFile {
public:
    // Reads the file at path into bytes. NotFound when there is no such file, InvalidArgument
    // for a directory, IoError for any other failure.
    static Status readAll(const std::string& path, std::string& bytes);

    // Makes path hold exactly bytes. An existing file keeps its permission bits; a new one
    // gets the usual ones (0666 less the umask). On failure (NotFound for a missing folder,
    // IoError otherwise) path is unchanged and no temporary file is left.
    static Status replace(const std::string& path, std::string_view bytes);
    // The same for a file whose bytes write puts into the temporary file it is given (open
    // for writing, empty); the replacement goes ahead only when write returns ok.
    static Status replaceWith(const std::string& path, const std::function<Status(std::FILE*)>& write);

    // The permission bits of a file that replaces path: those of the file there, else the
    // usual ones (0666 less the umask).
    static unsigned replacementMode(const std::string& path);
};

} // namespace corvida
