// SPDX-License-Identifier: MIT
#include "report/ReportContext.h"

#include <algorithm>
#include <utility>

#include "model/Web.h"
#include "model/WebNode.h"
#include "report/PageFile.h"

namespace corvida {

ReportContext::ReportContext(Web& web, std::string directory, ReportGroups groups)
    : m_web(web), m_directory(std::move(directory)), m_groups(std::move(groups)), m_order(web.nodes()) {
    // The node array is in URL order, so a stable sort keeps URL order inside each group
    // and every run over the same graph yields the same pages.
    std::stable_sort(m_order.begin(), m_order.end(),
                     [](const WebNode* a, const WebNode* b) { return a->groupNumber() < b->groupNumber(); });
}

std::int32_t ReportContext::rulerOf(const WebNode& node) const {
    return m_groups.firstOfLevel(node.groupNumber());
}

bool ReportContext::commit(PageFile& page) {
    const Status written = page.commit();
    if (!written.isOk()) {
        m_failures.push_back(page.fileName() + ": " + written.message());
        return false;
    }
    return true;
}

bool ReportContext::writeFile(std::string_view fileName, std::string_view bytes) {
    PageFile page(m_directory, fileName);
    page.append(bytes);
    return commit(page);
}

} // namespace corvida
