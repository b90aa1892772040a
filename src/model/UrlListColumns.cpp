// SPDX-License-Identifier: MIT
#include "model/UrlListColumns.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "model/ColumnEntry.h"
#include "model/MimeTable.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::int32_t kUnknownTime = -1;

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string contentTypeText(const WebNode& node) {
    const CUrl& url = node.url();
    switch (url.schemeIndex()) {
    case MimeTable::kSchemeHttp:
    case MimeTable::kSchemeFile:
        return MimeTable::instance().typeName(url.effectiveMimeIndex()).substr(0, UrlListColumns::kContentTypeLimit);
    case MimeTable::kSchemeFtp:
        return "file transfer";
    case MimeTable::kSchemeGopher:
        return "gopher";
    case MimeTable::kSchemeMailto:
        return "mail";
    default:
        return "unknown";
    }
}

std::string nameText(const WebNode& node) {
    const std::string* requestUrl = node.text(WebNode::Text::RequestUrl);
    if (requestUrl != nullptr && !requestUrl->empty()) {
        return *requestUrl;
    }
    return std::string(node.url().url());
}

std::string titleText(const WebNode& node) {
    const std::string_view title = node.title();
    // Pages without a real title often repeat their address there; the list leaves it out.
    if (title.starts_with("http")) {
        return {};
    }
    return std::string(title);
}

} // namespace

std::string UrlListColumns::cellText(const WebNode& node, std::int32_t columnId) {
    switch (columnId) {
    case ColumnEntry::kName:
        return nameText(node);
    case ColumnEntry::kContentType:
        return contentTypeText(node);
    case ColumnEntry::kSize:
        return std::to_string(node.size());
    case ColumnEntry::kLastModified:
        return lastModifiedText(node.lastModified());
    case ColumnEntry::kDepth:
        return std::to_string(node.level());
    case ColumnEntry::kInLinks:
        return std::to_string(node.inCount());
    case ColumnEntry::kOutLinks:
        return std::to_string(node.outCount());
    case ColumnEntry::kTitle:
        return titleText(node);
    default:
        return {};
    }
}

std::string UrlListColumns::lastModifiedText(std::int32_t time) {
    if (time == kUnknownTime) {
        return {};
    }
    const std::time_t seconds = time;
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr || local.tm_mon < 0 || local.tm_mon > 11) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%s %02d, %02d %02d:%02d", kMonths[static_cast<std::size_t>(local.tm_mon)],
                  local.tm_mday, (local.tm_year + 1900) % 100, local.tm_hour, local.tm_min);
    return text;
}

} // namespace corvida
