// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes read as a style sheet, whole and again in pieces whose sizes the
// first byte chooses. Traps when the pieces give other URLs than the whole text, or when a URL
// is empty, too long, untrimmed or inlined data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Ascii.h"
#include "html/StyleSheetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 17;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> whole = corvida::StyleSheetReader::urlsOf(text);

    corvida::StyleSheetReader reader;
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        reader.read(text.substr(at, piece));
        for (std::string& url : reader.takeUrls()) {
            pieces.push_back(std::move(url));
        }
    }
    reader.finish();
    for (std::string& url : reader.takeUrls()) {
        pieces.push_back(std::move(url));
    }
    if (pieces != whole) {
        __builtin_trap();
    }
    for (const std::string& url : whole) {
        if (url.empty() || url.size() > corvida::StyleSheetReader::kMaxUrlBytes ||
            static_cast<unsigned char>(url.front()) <= 0x20 || static_cast<unsigned char>(url.back()) <= 0x20 ||
            corvida::startsWithIgnoreCase(url, "data:")) {
            __builtin_trap();
        }
    }
    return 0;
}
