// SPDX-License-Identifier: MIT
#include "report/ProfilePages.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <vector>

#include "base/Prefetch.h"
#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/PageFile.h"
#include "report/ReportContext.h"
#include "report/ReportEntries.h"
#include "report/ReportFrame.h"

namespace corvida {

namespace {

using Entries = ReportEntries;

// Pictures' pages never describe levels past this one.
constexpr std::int32_t kHighestPictureLevel = 128;

// The kind bits that the links-from section walks one at a time; a neighbour with none of
// them comes in the last walk.
constexpr std::uint32_t kListedKinds =
    kFlagFtp | kFlagGopher | kFlagMail | kFlagDocument | kFlagPicture | kFlagAudio | kFlagVideo;

void appendSize(std::string& out, std::int32_t size) {
    if (size == -1) {
        out += "???";
    } else {
        Entries::appendNumber(out, size);
    }
}

void appendAnchor(std::string& out, const WebNode& node) {
    out += R"(<A NAME="ww)";
    Entries::appendNumber(out, node.number());
}

// Writes the pages of one kind, one page per group number, in report order. A new page
// starts where the group number changes.
class GroupPages {
public:
    GroupPages(ReportContext& context, const char* prefix) : m_context(context), m_prefix(prefix) {}

    PageFile& pageFor(const WebNode& node) {
        if (m_page == nullptr || node.groupNumber() != m_group) {
            finish();
            m_group = node.groupNumber();
            char name[48];
            std::snprintf(name, sizeof name, "%s%d.htm", m_prefix, m_group);
            m_page = std::make_unique<PageFile>(m_context.directory(), name);
        }
        return *m_page;
    }
    void finish() {
        if (m_page == nullptr) {
            return;
        }
        m_page->append(ReportFrame::kEnd);
        m_context.commit(*m_page);
        m_page.reset();
    }

private:
    ReportContext& m_context;
    const char* m_prefix;
    std::unique_ptr<PageFile> m_page;
    std::int32_t m_group = -1;
};

// A link entry writes the neighbour's URL and label: both are asked of the memory for all
// neighbours of a profile before the first entry is written.
void askForTexts(const WebNode& neighbour) {
    prefetchMemory(neighbour.url().url().data());
    prefetchMemory(neighbour.textSlot(WebNode::Text::Title));
}

void linkFromEntry(std::string& out, const WebNode& target, std::uint32_t kind) {
    Entries::webLink(out, target);
    if (kind == kFlagPicture) {
        Entries::pictureLocalPart(out, target);
        Entries::thumbnailCell(out, target);
        Entries::profileLink(out, target);
        return;
    }
    if ((kind & (kFlagDocument | kFlagAudio | kFlagVideo)) != 0) {
        Entries::documentLocalPart(out, target);
    } else {
        Entries::localBlank(out);
    }
    out += Entries::kSpace4;
    out += Entries::kSpace32;
    if (kind != kFlagMail) {
        Entries::smallGap(out);
    }
    Entries::profileLink(out, target);
}

void appendLinksFrom(PageFile& page, const WebNode& node) {
    std::string& out = page.out();
    static constexpr std::uint32_t kWalks[] = {kFlagDocument, kFlagPicture, kFlagAudio,  kFlagVideo,
                                               kFlagMail,     kFlagFtp,     kFlagGopher, 0};
    // The kind bits of every neighbour, read once for all the walks: on a large site the
    // neighbours lie all over memory.
    struct Neighbour {
        std::uint32_t kinds;
        const WebNode* node;
    };
    std::vector<Neighbour> neighbours;
    neighbours.reserve(node.outNeighbours().sorted().size());
    for (const WebNode* target : node.outNeighbours().sorted()) {
        if (target != nullptr) {
            neighbours.push_back({target->flags() & kListedKinds, target});
            askForTexts(*target);
        }
    }
    bool any = false;
    for (const std::uint32_t kind : kWalks) {
        for (const Neighbour& target : neighbours) {
            const bool takes = kind != 0 ? (target.kinds & kind) != 0 : target.kinds == 0;
            if (!takes) {
                continue;
            }
            if (!any) {
                out += "<H3>Links from this document:</H3><DIR>";
                any = true;
            }
            linkFromEntry(out, *target.node, kind);
            page.spill();
        }
    }
    if (any) {
        out += "</DIR>";
    }
}

void appendLinksTo(PageFile& page, const WebNode& node) {
    std::string& out = page.out();
    bool any = false;
    const std::vector<WebNode*>& sources = node.inNeighbours().sorted();
    for (const WebNode* source : sources) {
        if (source != nullptr) {
            askForTexts(*source);
        }
    }
    for (const WebNode* source : sources) {
        if (source == nullptr || !source->hasAnyFlag(kFlagDocument)) {
            continue;
        }
        if (!any) {
            out += "<H3>Links to this document:</H3><DIR>";
            any = true;
        }
        Entries::webLink(out, *source);
        Entries::documentLocalPart(out, *source);
        Entries::profileLink(out, *source);
        page.spill();
    }
    if (any) {
        out += "</DIR>";
    }
}

void appendOtherAccessPoints(std::string& out, const Web& web) {
    bool any = false;
    for (const WebNode* alias : web.nodes()) {
        if (!alias->hasAnyFlag(kFlagStartAlias)) {
            continue;
        }
        if (!any) {
            out += "<H3>Other access points:</H3>";
            any = true;
        }
        out += R"(<P><A HREF=")";
        out += LocalNames::reportAnchor(*alias);
        out += R"("><B>)";
        Entries::appendText(out, alias->url().url());
        out += "</B></A></P>";
    }
}

// Every redirect the node followed, one row each: its HTTP code, the location as the server
// gave it (shown as text: it may be relative or malformed) and the URL it led to.
void appendRedirects(std::string& out, const WebNode& node) {
    const std::vector<RedirectHop>& hops = node.redirects();
    if (hops.empty()) {
        return;
    }
    out += "<TABLE><TR><TD><B>Redirects</B></TD><TD><B>HTTP Code</B></TD><TD><B>Location</B></TD><TD><B>To</B></TD>"
           "</TR>";
    for (std::size_t i = 0; i < hops.size(); ++i) {
        out += "<TR><TD>";
        Entries::appendNumber(out, static_cast<std::int64_t>(i + 1));
        out += "</TD><TD>";
        Entries::appendNumber(out, hops[i].status);
        out += "</TD><TD>";
        Entries::appendText(out, hops[i].location);
        out += R"(</TD><TD><A HREF=")";
        Entries::appendText(out, hops[i].target);
        out += R"(">)";
        Entries::appendText(out, hops[i].target);
        out += "</A></TD></TR>";
    }
    out += "</TABLE><P></P>";
}

} // namespace

std::string ProfilePages::formatTime(std::int32_t time) {
    if (time == -1) {
        return "???";
    }
    const std::time_t seconds = time;
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return "???";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%4d/%02d/%02d %2d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

void ProfilePages::appendProfileBlock(PageFile& page, const WebNode& node) {
    std::string& out = page.out();
    out += "<P></P><H3>Stats:</H3><TABLE>";
    out += "<TR><TD>Size:</TD><TD>";
    appendSize(out, node.size());
    out += "</TD><TD>Last modified:</TD><TD>";
    out += formatTime(node.lastModified());
    out += "</TD></TR><TR><TD>Download Size:</TD><TD>";
    appendSize(out, node.localSize());
    out += "</TD><TD>Processed:</TD><TD>";
    out += formatTime(node.checked());
    out += "</TD></TR>";
    if (node.expires() != -1) {
        out += "<TR><TD></TD><TD></TD><TD>Expires:</TD><TD>";
        out += formatTime(node.expires());
        out += "</TD></TR>";
    }
    out += "</TABLE><P></P>";

    if (!node.requestUrl().empty()) {
        const auto selfLink = [&out](std::string_view url) {
            out += R"(<A HREF=")";
            Entries::appendText(out, url);
            out += R"(">)";
            Entries::appendText(out, url);
            out += "</A>";
        };
        out += "<TABLE><TR><TD><B>URL moved from</B></TD><TD><B>To</B></TD></TR><TR><TD>";
        selfLink(node.url().url());
        out += "</TD><TD>";
        selfLink(node.requestUrl());
        out += "</TD></TR></TABLE><P></P>";
        appendRedirects(out, node);
    }
    if (node.httpStatus() != -1) {
        out += "<TABLE><TR><TD><B>HTTP Code ";
        Entries::appendNumber(out, node.httpStatus());
        out += "</B></TD><TD>";
        Entries::appendText(out, node.statusDetail());
        out += "</TD><TD>";
        Entries::appendText(out, node.statusText());
        out += "</TD></TR></TABLE><P></P>";
    }
    if (node.isBroken()) {
        out += "<P><B>BROKEN</B></P>";
    }
    if (!node.hasAnyFlag(kFlagProcessed)) {
        out += "<P><B>UNPROCESSED</B></P>";
    }
    if (!node.excerpt().empty()) {
        out += "<H3>Excerpt:</H3><P>";
        Entries::appendText(out, node.excerpt());
        out += "</P>";
    }
    page.spill();
    if (node.hasAnyFlag(kFlagDocument)) {
        appendLinksFrom(page, node);
    }
    appendLinksTo(page, node);
}

void ProfilePages::writeDocumentProfiles(ReportContext& context) {
    GroupPages pages(context, "docs");
    for (const WebNode* node : context.order()) {
        if (!node->hasAnyFlag(kFlagDocument)) {
            continue;
        }
        PageFile& page = pages.pageFor(*node);
        std::string& out = page.out();
        appendAnchor(out, *node);
        out += R"("></A>)";
        Entries::bareWebLink(out, *node);
        Entries::documentLocalPart(out, *node);
        out += "<B>";
        if (!node->title().empty()) {
            Entries::appendText(out, node->title());
            out += " - ";
        }
        Entries::appendText(out, node->url().url());
        if (node->hasAnyFlag(kFlagStart)) {
            out += "</B><HR>";
            appendOtherAccessPoints(out, context.web());
        } else {
            out += "</B>";
        }
        appendProfileBlock(page, *node);
        out += "<HR>";
        page.spill();
    }
    pages.finish();
}

void ProfilePages::writePictureProfiles(ReportContext& context) {
    Web& web = context.web();
    if (web.highestLevel() > kHighestPictureLevel) {
        web.setHighestLevel(kHighestPictureLevel);
    }
    GroupPages pages(context, "pics");
    for (const WebNode* node : context.order()) {
        if (!node->hasAnyFlag(kFlagPicture)) {
            continue;
        }
        PageFile& page = pages.pageFor(*node);
        std::string& out = page.out();
        appendAnchor(out, *node);
        out += R"("></A>)";
        Entries::bareWebLink(out, *node);
        Entries::pictureLocalPart(out, *node);
        Entries::thumbnailCell(out, *node);
        out += "<B>";
        Entries::appendText(out, node->url().url());
        out += "</B><P>";
        appendProfileBlock(page, *node);
        out += "<HR>";
        page.spill();
    }
    pages.finish();
}

void ProfilePages::writeOtherProfiles(ReportContext& context) {
    PageFile page(context.directory(), "p_oths.htm");
    std::string& out = page.out();
    out += ReportFrame::open("Other Media", "Other media");
    static constexpr std::uint32_t kPasses[] = {kFlagAudio, kFlagVideo,
                                                kFlagFtp | kFlagGopher | kFlagMail | kFlagOther};
    for (const std::uint32_t kinds : kPasses) {
        for (const WebNode* node : context.order()) {
            if (!node->hasAnyFlag(kinds)) {
                continue;
            }
            appendAnchor(out, *node);
            out += R"(" HREF=")";
            Entries::appendText(out, node->url().url());
            out += R"(">)";
            out += Entries::kGlobalIcon;
            out += "</A>";
            if ((kinds & (kFlagAudio | kFlagVideo)) != 0) {
                Entries::documentLocalPart(out, *node);
            } else {
                Entries::localBlank(out);
            }
            out += "<B>";
            Entries::appendText(out, node->url().url());
            out += "</B>";
            appendProfileBlock(page, *node);
            out += "<HR>";
            page.spill();
        }
    }
    page.append(ReportFrame::kEnd);
    context.commit(page);
}

} // namespace corvida
