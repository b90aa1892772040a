// SPDX-License-Identifier: MIT
#include "report/ReportContext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

ReportContext::ReportContext(Web& web, std::string directory)
    : m_web(web), m_directory(std::move(directory)), m_order(web.nodes()) {
    // The node array is in URL order, so a stable sort keeps URL order inside each group
    // and every run over the same graph yields the same pages.
    std::stable_sort(m_order.begin(), m_order.end(),
                     [](const WebNode* a, const WebNode* b) { return a->groupNumber() < b->groupNumber(); });
}

bool ReportContext::writeFile(std::string_view fileName, std::string_view bytes) {
    const std::string path = m_directory + std::string(fileName);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        m_failures.push_back(std::string(fileName) + ": " + std::strerror(errno));
        return false;
    }
    errno = 0;
    const std::size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    const int writeError = written == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    const int closeResult = std::fclose(file);
    if (writeError != 0 || closeResult != 0) {
        m_failures.push_back(std::string(fileName) + ": " + std::strerror(writeError != 0 ? writeError : errno));
        return false;
    }
    return true;
}

} // namespace corvida
