// SPDX-License-Identifier: MIT
#include "report/ReportPictures.h"

#include <array>
#include <string>

#include "report/ReportContext.h"
#include "report/ReportPictureTables.h"

namespace corvida {

namespace {

template <std::size_t N>
std::string_view bytesOf(const unsigned char (&table)[N]) {
    return {reinterpret_cast<const char*>(table), N};
}

std::vector<ReportPictures::Picture> makeAll() {
    namespace tables = report_pictures;
    // The spacers' names must outlive the returned views.
    static const std::array<std::string, ReportPictures::kSpacerCount> spacerNames = [] {
        std::array<std::string, ReportPictures::kSpacerCount> names;
        for (int n = 1; n <= ReportPictures::kSpacerCount; ++n) {
            names[static_cast<std::size_t>(n - 1)] = "space" + std::to_string(n) + ".gif";
        }
        return names;
    }();

    std::vector<ReportPictures::Picture> pictures;
    pictures.push_back({"global.gif", bytesOf(tables::kGlobalGif)});
    pictures.push_back({"local.gif", bytesOf(tables::kLocalGif)});
    for (std::size_t i = 0; i < spacerNames.size(); ++i) {
        pictures.push_back(
            {spacerNames[i], {reinterpret_cast<const char*>(tables::kSpacerGifs[i]), tables::kSpacerGifSizes[i]}});
    }
    pictures.push_back({"logo.gif", bytesOf(tables::kLogoGif)});
    pictures.push_back({"site.gif", bytesOf(tables::kSiteGif)});
    pictures.push_back({"newimage.gif", bytesOf(tables::kNewImageGif)});
    return pictures;
}

} // namespace

const std::vector<ReportPictures::Picture>& ReportPictures::all() {
    static const std::vector<Picture> pictures = makeAll();
    return pictures;
}

void ReportPictures::write(ReportContext& context) {
    for (const Picture& picture : all()) {
        context.writeFile(picture.fileName, picture.bytes);
    }
}

} // namespace corvida
