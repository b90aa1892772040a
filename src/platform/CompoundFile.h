// SPDX-License-Identifier: MIT
#pragma once

// CompoundFile packs one named stream into an OLE compound file (structured storage) and
// takes it out again, all in memory, through libgsf. Project files use it for their single
// stream "Contents". libgsf is set up once per process on first use.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace corvida {

class CompoundFile {
public:
    // True when bytes start with the compound-file signature.
    static bool hasSignature(std::string_view bytes);

    // Builds a compound file whose root storage holds one stream streamName with contents.
    // Sets file on success; IoError when libgsf cannot make it.
    static Status build(std::string_view streamName, std::string_view contents, std::string& file);

    // Hands the stream's bytes over in order; false when they could not be taken.
    using StreamWrite = std::function<bool(std::string_view)>;
    // Writes the same compound file into file (open for writing, left open) as it goes,
    // without holding it in memory: produce hands the stream's bytes over through the
    // StreamWrite it is given, in as many pieces as it likes, and returns false when it could
    // not make them all (or a piece was refused). IoError when the file is not written whole.
    static Status write(std::FILE* file, std::string_view streamName,
                        const std::function<bool(const StreamWrite&)>& produce);

    // Takes the stream streamName out of the compound file in file and sets contents. Corrupt
    // when file is not a compound file, is damaged or holds no such stream.
    static Status extract(std::string_view file, std::string_view streamName, std::string& contents);
};

} // namespace corvida
