// SPDX-License-Identifier: MIT
#include "report/ReportListPages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Writes entries ruled by link level: a ruler closes the entries of one level before those
// of the next. The previous level carries over from one pass to the next, so a pass that
// goes on with the last level joins it.
class RuledList {
public:
    RuledList(const ReportContext& context, PageFile& page) : m_context(context), m_page(page) {}

    // Opens a new level when node's level differs from the last entry's.
    void beginEntry(const WebNode& node) {
        const std::int32_t ruler = m_context.rulerOf(node);
        if (ruler != m_previousRuler) {
            if (m_open) {
                m_page.out() += "</DIR><HR>";
            }
            m_page.out() += "<DIR>";
            m_open = true;
            m_previousRuler = ruler;
        }
    }
    void finish() {
        if (m_open) {
            m_page.out() += "</DIR><HR>";
            m_open = false;
        }
    }

private:
    const ReportContext& m_context;
    PageFile& m_page;
    std::int32_t m_previousRuler = -1;
    bool m_open = false;
};

using Selector = std::function<bool(const WebNode&)>;
using EntryWriter = std::function<void(std::string&, const WebNode&)>;
using BodyWriter = std::function<void(PageFile&)>;

struct Pass {
    Selector select;
    EntryWriter entry;
};

// Every pass walks the report order and writes the selected nodes' entries, ruled by level.
BodyWriter ruledBody(const ReportContext& context, std::vector<Pass> passes) {
    return [&context, passes = std::move(passes)](PageFile& page) {
        RuledList list(context, page);
        for (const Pass& pass : passes) {
            for (const WebNode* node : context.order()) {
                if (pass.select(*node)) {
                    list.beginEntry(*node);
                    pass.entry(page.out(), *node);
                    page.spill();
                }
            }
        }
        list.finish();
    };
}

// One list of every node that select takes, without rulers.
BodyWriter plainListBody(const ReportContext& context, Selector select) {
    return [&context, select = std::move(select)](PageFile& page) {
        bool any = false;
        for (const WebNode* node : context.order()) {
            if (select(*node)) {
                if (!any) {
                    page.out() += "<DIR>";
                    any = true;
                }
                Entries::untestedEntry(page.out(), *node);
                page.spill();
            }
        }
        if (any) {
            page.out() += "</DIR><HR>";
        }
    };
}

void writePage(ReportContext& context, std::string_view fileName, std::string_view title, std::string_view heading,
               const BodyWriter& body) {
    PageFile page(context.directory(), fileName);
    page.append(ReportFrame::open(title, heading));
    body(page);
    page.append(ReportFrame::kEnd);
    context.commit(page);
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
    LocalNames::appendReportAnchor(out, node);
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
    writePage(context, "p_idocl.htm", "Tested documents", "Tested documents",
              ruledBody(context, {{[](const WebNode& node) {
                                       return node.hasAnyFlag(kFlagDocument) && Entries::isFetched(node.flags()) &&
                                              !node.hasAnyFlag(kFlagStartAlias);
                                   },
                                   fetchedDocumentEntry},
                                  {[](const WebNode& node) {
                                       return node.hasAnyFlag(kFlagDocument) && Entries::isTested(node.flags()) &&
                                              !node.hasAnyFlag(kFlagStart | kFlagStartAlias);
                                   },
                                   testedEntry}}));
}

void ReportListPages::writeTestedPictures(ReportContext& context) {
    writePage(context, "p_ipicl.htm", "Tested pictures", "Tested pictures",
              ruledBody(context, {{kindWith(kFlagPicture, Entries::isFetched), fetchedPictureEntry},
                                  {kindWith(kFlagPicture, Entries::isTested), testedPictureEntry}}));
}

void ReportListPages::writeTestedOtherMedia(ReportContext& context) {
    writePage(context, "p_iothl.htm", "Tested other media", "Tested other media",
              ruledBody(context, {{kindWith(kFlagAudio, Entries::isFetched), fetchedDocumentEntry},
                                  {kindWith(kFlagAudio, Entries::isTested), testedEntry},
                                  {kindWith(kFlagVideo, Entries::isFetched), fetchedDocumentEntry},
                                  {kindWith(kFlagVideo, Entries::isTested), testedEntry}}));
}

void ReportListPages::writeBrokenLinks(ReportContext& context) {
    writePage(context, "p_ulink.htm", "Broken links", "Broken links", ruledBody(context, {{isBroken, brokenEntry}}));
}

void ReportListPages::writeDocumentsWithBrokenLinks(ReportContext& context) {
    const BodyWriter body = [&context](PageFile& file) {
        std::string& out = file.out();
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
                    out += "<DIR>";
                    any = true;
                }
                if (!pageWritten) {
                    Entries::webLink(out, *page);
                    out += Entries::kSpace4;
                    Entries::documentLocalPart(out, *page);
                    Entries::profileLink(out, *page);
                    pageWritten = true;
                }
                out += "<LI>";
                out += Entries::kSpace16;
                Entries::bareWebLink(out, *target);
                Entries::localBlank(out);
                statusProfileLink(out, *target);
                file.spill();
            }
        }
        if (any) {
            out += "</DIR><HR><P></P>";
        }
    };
    writePage(context, "p_udlink.htm", "Documents with broken links", "Documents with broken links", body);
}

void ReportListPages::writeUntestedDocuments(ReportContext& context) {
    writePage(context, "p_edocl.htm", "Untested documents", "Untested documents",
              ruledBody(context, {{kindWith(kFlagDocument, Entries::isUntested), Entries::untestedEntry}}));
}

void ReportListPages::writeUntestedPictures(ReportContext& context) {
    writePage(context, "p_epicl.htm", "Untested pictures", "Untested pictures",
              ruledBody(context, {{kindWith(kFlagPicture, Entries::isUntested), Entries::untestedEntry}}));
}

void ReportListPages::writeUntestedOtherMedia(ReportContext& context) {
    writePage(context, "p_eothl.htm", "Untested media", "Untested other media",
              ruledBody(context, {{kindWith(kFlagAudio, Entries::isUntested), Entries::untestedEntry},
                                  {kindWith(kFlagVideo, Entries::isUntested), Entries::untestedEntry}}));
    writePage(context, "p_eukl.htm", "Unknown links", "Unknown links",
              ruledBody(context, {{anyOf(kFlagOther), Entries::untestedEntry}}));
    writePage(context, "p_eupl.htm", "Unprocessed links", "Unprocessed links",
              ruledBody(context, {{[](const WebNode& node) { return !node.hasAnyFlag(kFlagProcessed); },
                                   Entries::untestedEntry}}));
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
    writePage(context, "p_stats.htm", "Web Statistics", "Web Statistics",
              [&body](PageFile& page) { page.append(body); });
}

} // namespace corvida
