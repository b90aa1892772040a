// SPDX-License-Identifier: MIT
#pragma once

// DisplayText turns the byte texts of the program and of crawled sites (titles, URLs, status
// texts) into the text a widget shows: UTF-8 when the bytes are valid UTF-8, else Latin-1, so
// that no byte is dropped. Widgets show the result as plain text.

#include <string_view>

#include <QString>

namespace corvida {

class DisplayText {
public:
    static QString fromBytes(std::string_view bytes);
};

} // namespace corvida
