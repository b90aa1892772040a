// SPDX-License-Identifier: MIT
#pragma once

// Shared by the local site and cleanup tests: a listener that records what a run reports, a
// file-site crawl run to its end, and the fixture site copied into a temporary directory.

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>
#include <gtest/gtest.h>

#include "crawl/Crawler.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"
#include "support/TestPaths.h"

namespace corvida::test {

class RecordingListener : public WebListener {
public:
    std::vector<std::string> texts;
    std::vector<int> progressValues;

    void showText(std::string_view text) override { texts.emplace_back(text); }
    void endText(std::string_view text) override { texts.emplace_back(text); }
    void progress(int percent) override { progressValues.push_back(percent); }
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Copies the fixture site tests/data/html/localsite to directory and adds its picture bg.gif.
inline void makeFixtureSite(const std::string& directory) {
    std::filesystem::copy(dataPath("html/localsite"), directory, std::filesystem::copy_options::recursive);
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(QString::fromStdString(directory + "/bg.gif"), "PNG"));
}

// A crawl of file: URLs from startUrl into workingDirectory, run to its end; imaging (when
// given) makes the thumbnails.
inline std::unique_ptr<Web> crawlFiles(const std::string& workingDirectory, const std::string& startUrl,
                                       WebListener* listener, const ProjectOptions& options,
                                       ImagingLibrary* imaging = nullptr) {
    CrawlSettings settings;
    settings.setWorkingDirectory(workingDirectory);
    settings.startUrl = startUrl;
    settings.applyProjectOptions(options);
    auto web = std::make_unique<Web>(settings, listener);
    // Local files are read at once: no transfers, and every step starts or completes.
    Crawler crawler(*web, nullptr, imaging, 1);
    crawler.start();
    for (int guard = 0; guard < 10000; ++guard) {
        const Crawler::Step result = crawler.step();
        if (result == Crawler::Step::Complete) {
            return web;
        }
        EXPECT_EQ(result, Crawler::Step::Started);
    }
    ADD_FAILURE() << "the crawl of " << startUrl << " did not complete";
    return web;
}

} // namespace corvida::test
