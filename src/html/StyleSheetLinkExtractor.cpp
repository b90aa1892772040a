// SPDX-License-Identifier: MIT
#include "html/StyleSheetLinkExtractor.h"

#include <fstream>
#include <memory>

#include "html/LinkExtractor.h"
#include "html/LinkSink.h"
#include "html/StyleSheetReader.h"
#include "model/CUrl.h"

namespace corvida {

bool StyleSheetLinkExtractor::extract(const std::string& path, std::string_view sheetUrl, LinkSink& sink) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const CUrl sheet(sheetUrl);
    StyleSheetReader reader;
    const auto block = std::make_unique<char[]>(kBlockSize);
    const auto deliver = [&] {
        for (const std::string& url : reader.takeUrls()) {
            sink.addLink(LinkExtractor::resolveReference(url, sheet, sheet), false, LinkOrigin{nullptr, nullptr, true});
        }
    };
    while (file) {
        file.read(block.get(), kBlockSize);
        reader.read(std::string_view(block.get(), static_cast<std::size_t>(file.gcount())));
        deliver();
    }
    reader.finish();
    deliver();
    return true;
}

} // namespace corvida
