// SPDX-License-Identifier: MIT
#include "viewlogic/ShortcutDrag.h"

namespace corvida {

namespace {

constexpr std::string_view kFallbackName = "Shortcut";

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string ShortcutDrag::name(std::string_view title, std::string_view url, std::string_view host) {
    std::string_view text = title.empty() ? url : title;
    if (text.starts_with("http")) {
        const std::size_t slash = text.rfind('/');
        if (slash != std::string_view::npos) {
            text.remove_prefix(slash + 1);
        }
    } else {
        text = text.substr(0, text.find('/'));
        text = text.substr(0, text.find(':'));
    }
    std::string result(text.empty() ? (host.empty() ? kFallbackName : host) : text);
    if (result.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        while (cut > 0 && isContinuationByte(result[cut])) {
            --cut;
        }
        result.resize(cut);
    }
    for (char& byte : result) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F) {
            byte = '_';
        }
    }
    return result;
}

std::string ShortcutDrag::fileName(std::string_view name) {
    return "Shortcut to " + std::string(name) + ".URL";
}

std::string ShortcutDrag::fileContents(std::string_view url) {
    std::string contents = "[InternetShortcut]\r\nURL=";
    contents += url;
    contents += '\0';
    return contents;
}

} // namespace corvida
