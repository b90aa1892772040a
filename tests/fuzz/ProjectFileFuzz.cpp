// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes read as a project's "Contents" sequence. A sequence that loads
// must encode again and load again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const corvida::ProjectFile::Loaded loaded = corvida::ProjectFile::decode(bytes, nullptr);
    if (loaded.web == nullptr) {
        return 0;
    }
    const std::string again = corvida::ProjectFile::encode(loaded.options, loaded.web.get());
    const corvida::ProjectFile::Loaded reloaded = corvida::ProjectFile::decode(again, nullptr);
    if (reloaded.web == nullptr || corvida::ProjectFile::encode(reloaded.options, reloaded.web.get()) != again) {
        __builtin_trap();
    }
    return 0;
}
