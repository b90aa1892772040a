// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListOrder.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/Ascii.h"
#include "model/ColumnEntry.h"
#include "model/MimeTable.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::int64_t kMailTypeKey = 10;
constexpr std::int64_t kFtpTypeKey = 11;
constexpr std::int64_t kOtherTypeKey = 0;

bool isHttpOrFile(const WebNode& node) {
    const std::uint32_t scheme = node.url().schemeIndex();
    return scheme == MimeTable::kSchemeHttp || scheme == MimeTable::kSchemeHttps || scheme == MimeTable::kSchemeFile;
}

std::string_view nameKey(const WebNode& node) {
    const std::string_view requestUrl = node.requestUrl();
    return requestUrl.empty() ? node.url().url() : requestUrl;
}

std::string_view titleKey(const WebNode& node) {
    const std::string_view title = node.title();
    return title.empty() ? node.url().url() : title;
}

std::string_view contentTypeKey(const WebNode& node) {
    const MimeTable& table = MimeTable::instance();
    if (isHttpOrFile(node)) {
        return table.typeName(node.url().effectiveMimeIndex());
    }
    return table.schemeName(node.url().schemeIndex());
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(toLowerAscii(x)) < static_cast<unsigned char>(toLowerAscii(y));
    });
}

bool isNumeric(std::int32_t columnId) {
    switch (columnId) {
    case ColumnEntry::kType:
    case ColumnEntry::kSize:
    case ColumnEntry::kLastModified:
    case ColumnEntry::kDepth:
    case ColumnEntry::kInLinks:
    case ColumnEntry::kOutLinks:
        return true;
    default:
        return false;
    }
}

// Sorts nodes by a key read once per node, then writes them back in order.
template <typename Key, typename KeyOf, typename Less>
void sortByKey(std::vector<WebNode*>& nodes, KeyOf keyOf, Less less, bool ascending) {
    std::vector<std::pair<Key, WebNode*>> keyed;
    keyed.reserve(nodes.size());
    for (WebNode* node : nodes) {
        keyed.emplace_back(keyOf(*node), node);
    }
    if (ascending) {
        std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return less(a.first, b.first); });
    } else {
        std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return less(b.first, a.first); });
    }
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        nodes[i] = keyed[i].second;
    }
}

} // namespace

UrlListOrder::Change UrlListOrder::click(int position) {
    if (position == m_column) {
        m_ascending = !m_ascending;
        return Change::Reverse;
    }
    m_column = position;
    m_ascending = true;
    return Change::Sort;
}

void UrlListOrder::reset() {
    m_column = kNoColumn;
    m_ascending = true;
}

std::int64_t UrlListOrder::numericKey(const WebNode& node, std::int32_t columnId) {
    switch (columnId) {
    case ColumnEntry::kType:
        switch (node.url().schemeIndex()) {
        case MimeTable::kSchemeMailto:
            return kMailTypeKey;
        case MimeTable::kSchemeFtp:
            return kFtpTypeKey;
        case MimeTable::kSchemeHttp:
        case MimeTable::kSchemeHttps:
        case MimeTable::kSchemeFile:
            return static_cast<std::int64_t>(MimeTable::instance().majorOf(node.url().effectiveMimeIndex())) + 1;
        default:
            return kOtherTypeKey;
        }
    case ColumnEntry::kSize:
        return node.size();
    case ColumnEntry::kLastModified:
        return node.lastModified();
    case ColumnEntry::kDepth:
        return node.level();
    case ColumnEntry::kInLinks:
        return static_cast<std::int64_t>(node.inCount());
    case ColumnEntry::kOutLinks:
        return static_cast<std::int64_t>(node.outCount());
    default:
        return 0;
    }
}

bool UrlListOrder::less(const WebNode& a, const WebNode& b, std::int32_t columnId) {
    if (isNumeric(columnId)) {
        // Plain '<' on the keys: equal keys are equivalent, as a sort requires.
        return numericKey(a, columnId) < numericKey(b, columnId);
    }
    switch (columnId) {
    case ColumnEntry::kName:
        return nameKey(a) < nameKey(b);
    case ColumnEntry::kContentType:
        return lessIgnoringCase(contentTypeKey(a), contentTypeKey(b));
    case ColumnEntry::kTitle:
        return titleKey(a) < titleKey(b);
    default:
        return false;
    }
}

void UrlListOrder::sort(std::vector<WebNode*>& nodes, std::int32_t columnId, bool ascending) {
    if (isNumeric(columnId)) {
        sortByKey<std::int64_t>(
            nodes, [columnId](const WebNode& node) { return numericKey(node, columnId); },
            [](std::int64_t a, std::int64_t b) { return a < b; }, ascending);
        return;
    }
    const auto byteWise = [](std::string_view a, std::string_view b) { return a < b; };
    switch (columnId) {
    case ColumnEntry::kName:
        sortByKey<std::string_view>(nodes, nameKey, byteWise, ascending);
        break;
    case ColumnEntry::kContentType:
        sortByKey<std::string_view>(nodes, contentTypeKey, lessIgnoringCase, ascending);
        break;
    case ColumnEntry::kTitle:
        sortByKey<std::string_view>(nodes, titleKey, byteWise, ascending);
        break;
    default:
        break;
    }
}

} // namespace corvida
