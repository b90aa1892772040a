// SPDX-License-Identifier: MIT
#pragma once

// A FileAssociation is one file-name extension that the desktop associates with a content
// type, with the texts the MimeTable keeps for that type. The desktop's MIME database
// (src/platform) supplies them; the MimeTable adds them after its built-in rows.

#include <array>
#include <string>

namespace corvida {

struct FileAssociation {
    std::string extension;   // without the leading dot
    std::string contentType; // for example "image/png"
    // Default icon, open command, play command, DDE execute string, DDE application, DDE topic.
    std::array<std::string, 6> texts;
};

} // namespace corvida
