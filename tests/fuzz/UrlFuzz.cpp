// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes, split into a text and a base, parsed as a URL and run through
// every operation that reads the parsed parts.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/CUrl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\n');
    const std::string_view text = bytes.substr(0, split);
    const std::string_view base = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
    corvida::CUrl url(text, base);
    corvida::CUrl stripped = url;
    stripped.stripFragment();
    (void)url.compare(stripped);
    (void)url.localPath();
    (void)corvida::hasAuthority(bytes);
    const corvida::CUrl restored = corvida::CUrl::restore(url.url(), url.fragment(), url.schemeIndex(),
                                                          url.mimeIndexByExtension(), url.mimeIndexByServer());
    if (restored.compare(url) != 0 || restored.baseDirectory() != url.baseDirectory()) {
        __builtin_trap();
    }
    return 0;
}
