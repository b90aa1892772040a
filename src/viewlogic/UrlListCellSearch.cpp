// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListCellSearch.h"

#include <algorithm>

#include "base/Ascii.h"
#include "base/Prefetch.h"
#include "model/UrlListColumns.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::int32_t kUnknownTime = -1;
constexpr std::size_t kCacheLine = 64;

char otherCase(char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<char>(c - 'a' + 'A');
    }
    return toLowerAscii(c);
}

} // namespace

UrlListCellSearch::UrlListCellSearch(std::string_view text, bool matchCase, const ColumnTable& columns)
    : m_needle(text, matchCase) {
    for (std::size_t entry = 0; entry < kColumnCount; ++entry) {
        const std::int32_t columnId = columns[entry].columnId;
        m_columnIds[entry] = columnId;
        // Without the case, a cell byte matches a letter of the text in either case.
        m_searched[entry] = columns[entry].shown != 0 && !m_needle.empty() &&
                            std::all_of(m_needle.text().begin(), m_needle.text().end(), [&](char c) {
                                return UrlListColumns::mayHold(columnId, c) ||
                                       (!matchCase && UrlListColumns::mayHold(columnId, otherCase(c)));
                            });
        m_titleSearched = m_titleSearched || (m_searched[entry] && columnId == ColumnEntry::kTitle);
    }
    // An unknown time shows an empty text, which holds no text; every other slot is filled
    // on its first use.
    m_dates.fill(DateAnswer{.time = kUnknownTime, .found = false});
}

bool UrlListCellSearch::matches(const WebNode& node, std::size_t entry) {
    const std::int32_t columnId = m_columnIds[entry];
    switch (columnId) {
    case ColumnEntry::kName:
        return m_needle.foundIn(node.address());
    case ColumnEntry::kLastModified:
        return lastModifiedMatches(node.lastModified());
    default:
        return m_needle.foundIn(UrlListColumns::cellView(node, columnId, m_buffer));
    }
}

bool UrlListCellSearch::lastModifiedMatches(std::int32_t time) {
    DateAnswer& answer = m_dates[static_cast<std::uint32_t>(time) % kDateAnswers];
    if (answer.time != time) {
        answer.time = time;
        answer.found = m_needle.foundIn(UrlListColumns::lastModifiedText(time));
    }
    return answer.found;
}

void UrlListCellSearch::fetch(const WebNode& node, Fetch step) const {
    switch (step) {
    case Fetch::Node: {
        const auto* bytes = reinterpret_cast<const char*>(&node);
        for (std::size_t offset = 0; offset < sizeof(WebNode); offset += kCacheLine) {
            prefetchMemory(bytes + offset);
        }
        break;
    }
    case Fetch::Storage:
        prefetchMemory(node.url().url().data());
        prefetchMemory(node.textSlot(WebNode::Text::RequestUrl));
        if (m_titleSearched) {
            prefetchMemory(node.textSlot(WebNode::Text::Title));
        }
        break;
    case Fetch::Texts:
        prefetchMemory(node.requestUrl().data());
        if (m_titleSearched) {
            prefetchMemory(node.title().data());
        }
        break;
    }
}

} // namespace corvida
