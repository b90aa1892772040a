// SPDX-License-Identifier: MIT
#include "model/CrawlSettings.h"

#include "model/ProjectOptions.h"

namespace corvida {

void CrawlSettings::setWorkingDirectory(std::string_view path) {
    std::size_t split = std::string_view::npos;
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == '/' || path[i] == '\\') {
            split = i + 1;
            break;
        }
    }
    if (split == std::string_view::npos) {
        workingDirectory = path;
        workingFileName.clear();
    } else {
        workingDirectory = path.substr(0, split);
        workingFileName = path.substr(split);
    }
}

void CrawlSettings::applyProjectOptions(const ProjectOptions& options) {
    const bool unset = options.maximumLevel == 0;
    const std::int32_t level = unset ? kDefaultMaximumLevel : static_cast<std::int32_t>(options.maximumLevel);
    auto setRow = [this](KindRow row, std::int32_t maximum, std::uint32_t optionBits) {
        maximumLevels[static_cast<std::size_t>(row)] = maximum;
        optionBytes[static_cast<std::size_t>(row)] = optionBits;
    };
    const std::uint32_t testBits = options.checkExternal ? kOptionTestAll : kOptionTestLocal;
    const std::int32_t mediaLevel = unset ? kDefaultMaximumLevel : level + 1;
    setRow(KindRow::Documents, level, (options.getDocuments ? 194u : 2u) + testBits);
    setRow(KindRow::Pictures, mediaLevel, (options.getPictures ? 193u : 192u) + testBits);
    setRow(KindRow::Audio, mediaLevel, (options.getAudio ? 193u : 192u) + testBits);
    setRow(KindRow::Video, mediaLevel, (options.getVideo ? 193u : 192u) + testBits);
    setRow(KindRow::OtherMedia, kDefaultMaximumLevel, kDefaultOptionByte);
}

} // namespace corvida
