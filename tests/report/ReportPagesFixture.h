// SPDX-License-Identifier: MIT
#pragma once

// A small project for the report page tests: a Web in a temporary working directory whose
// nodes carry chosen kinds, states, groups and fetched files, and helpers that run pages
// into its report directory and read them back.

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/ReportContext.h"

namespace corvida::test {

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class ReportPagesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Profile dates are local time; the expected pages are written in UTC.
        setenv("TZ", "UTC", 1);
        tzset();
        ASSERT_TRUE(m_folder.isValid());
        m_directory = m_folder.path().toStdString() + "/";
        m_web.setWorkingDirectory(m_directory);
        for (const char* sub : {"temp", "docs", "images", "mmedia", "report"}) {
            std::filesystem::create_directories(m_directory + sub);
        }
    }

    // Adds url with the given kind and state flags (scheme bits kept) in group.
    WebNode* add(const std::string& url, std::uint32_t flags, std::int32_t group = 0) {
        WebNode* node = m_web.findOrAddNode(CUrl(url));
        node->assignFlags((node->flags() & (kFlagFile | kFlagHttp)) | flags);
        node->setGroupNumber(group);
        return node;
    }

    // Gives node a working copy holding bytes and records their count as its download size.
    void giveFile(WebNode* node, const std::string& bytes) {
        writeBytes(m_directory + LocalNames::workingCopy(*node), bytes);
        node->setLocalSize(static_cast<std::int32_t>(bytes.size()));
    }

    static void link(WebNode* from, WebNode* to) {
        from->linkOut(to);
        to->linkIn(from);
    }

    std::string page(const std::string& name) const { return readBytes(m_directory + "report/" + name); }
    bool hasPage(const std::string& name) const { return std::filesystem::exists(m_directory + "report/" + name); }

    ReportContext context() { return ReportContext(m_web, m_directory + "report/"); }

    QTemporaryDir m_folder;
    std::string m_directory;
    Web m_web;
};

} // namespace corvida::test
