// SPDX-License-Identifier: MIT
#include "report/ReportEntries.h"

#include <algorithm>
#include <charconv>

#include "model/LocalNames.h"
#include "model/WebNode.h"
#include "report/ReportFrame.h"

namespace corvida {

namespace {

constexpr std::uint32_t kFetchedBoth = kFlagFetchStarted | kFlagFetched;
constexpr std::uint32_t kTestedBoth = kFlagTestStarted | kFlagTested;
constexpr std::int32_t kThumbnailColumn = 36;
constexpr std::int32_t kWidestThumbnail = 32;

} // namespace

bool ReportEntries::isFetched(std::uint32_t flags) {
    return (flags & kFetchedBoth) == kFetchedBoth;
}

bool ReportEntries::isTested(std::uint32_t flags) {
    return (flags & kTestedBoth) == kTestedBoth;
}

bool ReportEntries::isUntested(std::uint32_t flags) {
    return (flags & (kFlagFetchStarted | kFlagTestStarted)) == 0;
}

void ReportEntries::appendText(std::string& out, std::string_view text) {
    ReportFrame::appendText(out, text);
}

void ReportEntries::appendNumber(std::string& out, std::int64_t number) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

std::string_view ReportEntries::label(const WebNode& node) {
    // An empty title would make a link without text, so it counts as none.
    const std::string_view title = node.title();
    return title.empty() ? node.url().url() : title;
}

std::string ReportEntries::documentLocalReference(const WebNode& node) {
    if (!node.hasAnyFlag(kFlagDocument | kFlagAudio | kFlagVideo)) {
        return {};
    }
    return LocalNames::reportLink(node);
}

std::string ReportEntries::pictureLocalReference(const WebNode& node) {
    if (!node.hasAnyFlag(kFlagPicture)) {
        return {};
    }
    return LocalNames::reportLink(node);
}

std::string ReportEntries::thumbnailReference(const WebNode& node) {
    return LocalNames::reportThumbnailLink(node);
}

void ReportEntries::bareWebLink(std::string& out, const WebNode& node) {
    out += R"(<A HREF=")";
    appendText(out, node.url().url());
    out += R"(">)";
    out += kGlobalIcon;
    out += "</A>";
}

void ReportEntries::webLink(std::string& out, const WebNode& node) {
    out += "<LI>";
    bareWebLink(out, node);
}

void ReportEntries::localLink(std::string& out, const std::string& reference) {
    out += kSpace4;
    out += R"(<A HREF=")";
    appendText(out, reference);
    out += R"("><img height="12" width="12" src="local.gif"></A>)";
    out += kSpace4;
}

void ReportEntries::documentLocalPart(std::string& out, const WebNode& node) {
    const std::string reference = documentLocalReference(node);
    if (reference.empty()) {
        localBlank(out);
    } else {
        localLink(out, reference);
    }
}

void ReportEntries::pictureLocalPart(std::string& out, const WebNode& node) {
    const std::string reference = pictureLocalReference(node);
    if (reference.empty()) {
        localBlank(out);
    } else {
        localLink(out, reference);
    }
}

void ReportEntries::localBlank(std::string& out) {
    out += kSpace4;
    out += kSpace16;
    out += kSpace4;
}

void ReportEntries::smallGap(std::string& out) {
    out += kSpace4;
}

void ReportEntries::thumbnailCell(std::string& out, const WebNode& node) {
    const std::int32_t padding = kThumbnailColumn - std::clamp(node.thumbnailWidth(), 0, kWidestThumbnail);
    out += R"(<img height="12" width=")";
    appendNumber(out, padding);
    out += R"(" src="space)";
    appendNumber(out, padding);
    out += R"(.gif">)";
    const std::string reference = thumbnailReference(node);
    if (!reference.empty()) {
        out += R"(<IMG HEIGHT=")";
        appendNumber(out, node.thumbnailHeight());
        out += R"(" WIDTH=")";
        appendNumber(out, node.thumbnailWidth());
        out += R"(" SRC=")";
        appendText(out, reference);
        out += R"(">)";
    }
    smallGap(out);
}

void ReportEntries::profileLink(std::string& out, const WebNode& node) {
    out += R"(<A HREF=")";
    LocalNames::appendReportAnchor(out, node);
    out += R"(">)";
    appendText(out, label(node));
    out += "</A></LI>";
}

void ReportEntries::untestedEntry(std::string& out, const WebNode& node) {
    webLink(out, node);
    smallGap(out);
    profileLink(out, node);
}

} // namespace corvida
