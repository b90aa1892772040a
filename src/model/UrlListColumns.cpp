// SPDX-License-Identifier: MIT
#include "model/UrlListColumns.h"

#include <algorithm>
#include <array>
#include <cstring>
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

std::string_view contentTypeText(const WebNode& node) {
    const CUrl& url = node.url();
    switch (url.schemeIndex()) {
    case MimeTable::kSchemeHttp:
    case MimeTable::kSchemeHttps:
    case MimeTable::kSchemeFile:
        return std::string_view(MimeTable::instance().typeName(url.effectiveMimeIndex()))
            .substr(0, UrlListColumns::kContentTypeLimit);
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

std::string_view titleText(const WebNode& node) {
    const std::string_view title = node.title();
    // Pages without a real title often repeat their address there; the list leaves it out.
    if (title.starts_with("http")) {
        return {};
    }
    return title;
}

// Appends separator and number (0..99) as two digits.
void appendTwoDigits(std::string& text, char separator, int number) {
    const int value = number < 0 ? 0 : number % 100;
    text += separator;
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

std::string_view numberText(std::int64_t number, std::string& buffer) {
    buffer = std::to_string(number);
    return buffer;
}

} // namespace

std::string UrlListColumns::cellText(const WebNode& node, std::int32_t columnId) {
    std::string buffer;
    return std::string(cellView(node, columnId, buffer));
}

std::string_view UrlListColumns::cellView(const WebNode& node, std::int32_t columnId, std::string& buffer) {
    switch (columnId) {
    case ColumnEntry::kName:
        return node.address();
    case ColumnEntry::kContentType:
        return contentTypeText(node);
    case ColumnEntry::kSize:
        return numberText(node.size(), buffer);
    case ColumnEntry::kLastModified:
        buffer = lastModifiedText(node.lastModified());
        return buffer;
    case ColumnEntry::kDepth:
        return numberText(node.level(), buffer);
    case ColumnEntry::kInLinks:
        return numberText(node.inCount(), buffer);
    case ColumnEntry::kOutLinks:
        return numberText(node.outCount(), buffer);
    case ColumnEntry::kTitle:
        return titleText(node);
    default:
        return {};
    }
}

bool UrlListColumns::mayHold(std::int32_t columnId, char byte) {
    const bool digit = byte >= '0' && byte <= '9';
    switch (columnId) {
    case ColumnEntry::kType:
        return false;
    case ColumnEntry::kSize:
    case ColumnEntry::kDepth:
    case ColumnEntry::kInLinks:
    case ColumnEntry::kOutLinks:
        return digit || byte == '-';
    case ColumnEntry::kLastModified:
        return digit || byte == ' ' || byte == ',' || byte == ':' ||
               std::any_of(kMonths.begin(), kMonths.end(),
                           [byte](const char* month) { return byte != 0 && std::strchr(month, byte) != nullptr; });
    default:
        return true;
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
    // Written by hand: a find over a million dates would spend most of its time in a
    // formatted print.
    std::string text(kMonths[static_cast<std::size_t>(local.tm_mon)]);
    appendTwoDigits(text, ' ', local.tm_mday);
    text += ',';
    appendTwoDigits(text, ' ', (local.tm_year + 1900) % 100);
    appendTwoDigits(text, ' ', local.tm_hour);
    appendTwoDigits(text, ':', local.tm_min);
    return text;
}

} // namespace corvida
