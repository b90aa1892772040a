// SPDX-License-Identifier: MIT
#include "report/ReportListPages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/ReportContext.h"
#include "report/ReportEntries.h"
#include "report/ReportFrame.h"

namespace corvida {

namespace {

using Entries = ReportEntries;

// Writes entries ruled into groups of equal group number. The previous group carries over
// from one pass to the next, so a pass that goes on with the last group number joins it.
class GroupedList {
public:
    explicit GroupedList(std::string& out) : m_out(out) {}

    // Opens a new group when node's group number differs from the last entry's.
    void beginEntry(const WebNode& node) {
        if (node.groupNumber() != m_previousGroup) {
            if (m_open) {
                m_out += "</DIR><HR>";
            }
            m_out += "<DIR>";
            m_open = true;
            m_previousGroup = node.groupNumber();
        }
    }
    void finish() {
        if (m_open) {
            m_out += "</DIR><HR>";
            m_open = false;
        }
    }

private:
    std::string& m_out;
    std::int32_t m_previousGroup = -1;
    bool m_open = false;
};

using Selector = std::function<bool(const WebNode&)>;
using EntryWriter = std::function<void(std::string&, const WebNode&)>;

struct Pass {
    Selector select;
    EntryWriter entry;
};

// Every pass walks the report order and writes the selected nodes' entries in groups.
std::string groupedBody(const ReportContext& context, const std::vector<Pass>& passes) {
    std::string body;
    GroupedList list(body);
    for (const Pass& pass : passes) {
        for (const WebNode* node : context.order()) {
            if (pass.select(*node)) {
                list.beginEntry(*node);
                pass.entry(body, *node);
            }
        }
    }
    list.finish();
    return body;
}

// One list of every node that select takes, without groups.
std::string plainListBody(const ReportContext& context, const Selector& select) {
    std::string body;
    bool any = false;
    for (const WebNode* node : context.order()) {
        if (select(*node)) {
            if (!any) {
                body += "<DIR>";
                any = true;
            }
            Entries::untestedEntry(body, *node);
        }
    }
    if (any) {
        body += "</DIR><HR>";
    }
    return body;
}

void writePage(ReportContext& context, std::string_view fileName, std::string_view title, std::string_view heading,
               std::string_view body) {
    std::string page = ReportFrame::open(title, heading);
    page += body;
    page += ReportFrame::kEnd;
    context.writeFile(fileName, page);
}

Selector kindWith(std::uint32_t kind, bool (*category)(std::uint32_t)) {
    return [kind, category](const WebNode& node) { return node.hasAnyFlag(kind) && category(node.flags()); };
}

Selector anyOf(std::uint32_t mask) {
    return [mask](const WebNode& node) { return node.hasAnyFlag(mask); };
}

void fetchedDocumentEntry(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::documentLocalPart(out, node);
    Entries::profileLink(out, node);
}

void testedEntry(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::localBlank(out);
    Entries::profileLink(out, node);
}

void fetchedPictureEntry(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::pictureLocalPart(out, node);
    Entries::thumbnailCell(out, node);
    Entries::profileLink(out, node);
}

// A tested picture has neither local copy nor thumbnail; spacers keep its profile link in
// line with the fetched ones.
void testedPictureEntry(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::localBlank(out);
    out += Entries::kSpace4;
    out += Entries::kSpace32;
    Entries::profileLink(out, node);
}

// "(status) label" as the link to the node's profile, closing the entry.
void statusProfileLink(std::string& out, const WebNode& node) {
    out += R"(<A HREF=")";
    out += LocalNames::reportAnchor(node);
    out += R"(">()";
    Entries::appendNumber(out, node.httpStatus());
    out += ") ";
    Entries::appendText(out, Entries::label(node));
    out += "</A></LI>";
}

void brokenEntry(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    out += Entries::kSpace4;
    statusProfileLink(out, node);
}

bool isBroken(const WebNode& node) {
    return node.isBroken();
}

} // namespace

void ReportListPages::writeTestedDocuments(ReportContext& context) {
    const std::string body =
        groupedBody(context, {{[](const WebNode& node) {
                                   return node.hasAnyFlag(kFlagDocument) && Entries::isFetched(node.flags()) &&
                                          !node.hasAnyFlag(kFlagStartAlias);
                               },
                               fetchedDocumentEntry},
                              {[](const WebNode& node) {
                                   return node.hasAnyFlag(kFlagDocument) && Entries::isTested(node.flags()) &&
                                          !node.hasAnyFlag(kFlagStart | kFlagStartAlias);
                               },
                               testedEntry}});
    writePage(context, "p_idocl.htm", "Tested documents", "Tested documents", body);
}

void ReportListPages::writeTestedPictures(ReportContext& context) {
    const std::string body = groupedBody(context, {{kindWith(kFlagPicture, Entries::isFetched), fetchedPictureEntry},
                                                   {kindWith(kFlagPicture, Entries::isTested), testedPictureEntry}});
    writePage(context, "p_ipicl.htm", "Tested pictures", "Tested pictures", body);
}

void ReportListPages::writeTestedOtherMedia(ReportContext& context) {
    const std::string body = groupedBody(context, {{kindWith(kFlagAudio, Entries::isFetched), fetchedDocumentEntry},
                                                   {kindWith(kFlagAudio, Entries::isTested), testedEntry},
                                                   {kindWith(kFlagVideo, Entries::isFetched), fetchedDocumentEntry},
                                                   {kindWith(kFlagVideo, Entries::isTested), testedEntry}});
    writePage(context, "p_iothl.htm", "Tested other media", "Tested other media", body);
}

void ReportListPages::writeBrokenLinks(ReportContext& context) {
    const std::string body = groupedBody(context, {{isBroken, brokenEntry}});
    writePage(context, "p_ulink.htm", "Broken links", "Broken links", body);
}

void ReportListPages::writeDocumentsWithBrokenLinks(ReportContext& context) {
    std::string body;
    bool any = false;
    for (const WebNode* page : context.order()) {
        if (!page->hasAnyFlag(kFlagDocument) || !Entries::isFetched(page->flags())) {
            continue;
        }
        bool pageWritten = false;
        for (const WebNode* target : page->outNeighbours().sorted()) {
            if (target == nullptr || !target->isBroken()) {
                continue;
            }
            if (!any) {
                body += "<DIR>";
                any = true;
            }
            if (!pageWritten) {
                Entries::webLink(body, *page);
                body += Entries::kSpace4;
                Entries::documentLocalPart(body, *page);
                Entries::profileLink(body, *page);
                pageWritten = true;
            }
            body += "<LI>";
            body += Entries::kSpace16;
            Entries::bareWebLink(body, *target);
            Entries::localBlank(body);
            statusProfileLink(body, *target);
        }
    }
    if (any) {
        body += "</DIR><HR><P></P>";
    }
    writePage(context, "p_udlink.htm", "Documents with broken links", "Documents with broken links", body);
}

void ReportListPages::writeUntestedDocuments(ReportContext& context) {
    const std::string body =
        groupedBody(context, {{kindWith(kFlagDocument, Entries::isUntested), Entries::untestedEntry}});
    writePage(context, "p_edocl.htm", "Untested documents", "Untested documents", body);
}

void ReportListPages::writeUntestedPictures(ReportContext& context) {
    const std::string body =
        groupedBody(context, {{kindWith(kFlagPicture, Entries::isUntested), Entries::untestedEntry}});
    writePage(context, "p_epicl.htm", "Untested pictures", "Untested pictures", body);
}

void ReportListPages::writeUntestedOtherMedia(ReportContext& context) {
    const std::string media =
        groupedBody(context, {{kindWith(kFlagAudio, Entries::isUntested), Entries::untestedEntry},
                              {kindWith(kFlagVideo, Entries::isUntested), Entries::untestedEntry}});
    writePage(context, "p_eothl.htm", "Untested media", "Untested other media", media);

    const std::string unknown = groupedBody(context, {{anyOf(kFlagOther), Entries::untestedEntry}});
    writePage(context, "p_eukl.htm", "Unknown links", "Unknown links", unknown);

    const std::string unprocessed = groupedBody(
        context, {{[](const WebNode& node) { return !node.hasAnyFlag(kFlagProcessed); }, Entries::untestedEntry}});
    writePage(context, "p_eupl.htm", "Unprocessed links", "Unprocessed links", unprocessed);
}

void ReportListPages::writeFtp(ReportContext& context) {
    writePage(context, "p_ftp.htm", "Ftp", "FTP", plainListBody(context, anyOf(kFlagFtp)));
}

void ReportListPages::writeGopher(ReportContext& context) {
    writePage(context, "p_gopher.htm", "Gopher", "Gopher", plainListBody(context, anyOf(kFlagGopher)));
}

void ReportListPages::writeMail(ReportContext& context) {
    writePage(context, "p_mail.htm", "Mail", "Mail", plainListBody(context, anyOf(kFlagMail)));
}

void ReportListPages::writeStatistics(ReportContext& context) {
    const Web& web = context.web();
    // Sums are 64-bit: a large site's byte total must not wrap into a negative number.
    std::int64_t pictures = 0;
    std::int64_t documents = 0;
    std::int64_t audio = 0;
    std::int64_t video = 0;
    for (const WebNode* node : web.nodes()) {
        if (node->hasAnyFlag(kFlagPicture)) {
            pictures += node->localSize();
        } else if (node->hasAnyFlag(kFlagDocument)) {
            documents += node->localSize();
        } else if (node->hasAnyFlag(kFlagAudio)) {
            audio += node->localSize();
        } else if (node->hasAnyFlag(kFlagVideo)) {
            video += node->localSize();
        }
    }

    std::string body =
        R"(<TABLE BORDER="1" ALIGN="CENTER"><TR><TH ALIGN="LEFT"><FONT SIZE="5">Type</FONT></TH>)"
        R"(<TH ALIGN="RIGHT"><FONT SIZE="5">#</FONT></TH><TH><FONT SIZE="5">Size</FONT> (bytes)</TH></TR>)";
    const auto row = [&body](std::string_view label, std::uint32_t count, const std::int64_t* size) {
        body += "<TR><TD>";
        body += label;
        body += R"(</TD><TD ALIGN="RIGHT">)";
        Entries::appendNumber(body, count);
        body += R"(</TD><TD ALIGN="RIGHT">)";
        if (size != nullptr) {
            Entries::appendNumber(body, *size);
        } else {
            body += "n/a";
        }
        body += "</TD></TR>";
    };
    row("Docs", web.count(NodeKind::Document), &documents);
    row("Pictures", web.count(NodeKind::Picture), &pictures);
    row("Audios", web.count(NodeKind::Audio), &audio);
    row("Videos", web.count(NodeKind::Video), &video);
    row("FTP", web.count(NodeKind::Ftp), nullptr);
    row("Gopher", web.count(NodeKind::Gopher), nullptr);
    row("Mail", web.count(NodeKind::Mail), nullptr);
    body += "</TABLE>";
    writePage(context, "p_stats.htm", "Web Statistics", "Web Statistics", body);
}

} // namespace corvida
