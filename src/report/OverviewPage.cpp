// SPDX-License-Identifier: MIT
#include "report/OverviewPage.h"

#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/ReportContext.h"
#include "report/ReportFrame.h"

namespace corvida {

std::string OverviewPage::bytes(const Web& web) {
    const WebNode* start = web.startNode();
    std::string heading = "Overview for ";
    if (start != nullptr) {
        ReportFrame::appendText(heading, start->url().url());
    }
    std::string out = ReportFrame::open("Vantorix", heading);
    out += "<OL>";
    out += "<LI><A HREF=\"usererpt.htm\">How to use this report</A></LI>";
    // A project that was never crawled has no root document to point to.
    if (start != nullptr) {
        out += "<LI><A HREF=\"";
        out += LocalNames::reportAnchor(*start);
        out += "\">Root document</A></LI>";
    }
    out += "<LI><A HREF=\"p_stats.htm\">Summary statistics for analyzed Website</A></LI>";
    out += "<LI><B>Problems:</B>";
    out += "<OL>";
    out += "<LI>Broken Links:";
    out += "<UL>";
    out += "<LI><A HREF=\"p_ulink.htm\">By links</A></LI>";
    out += "<LI><A HREF=\"p_udlink.htm\">By document</A></LI>";
    out += "</UL></LI>";
    out += "<LI><A HREF=\"p_sim.htm\">Duplicated documents and media</A></LI>";
    out += "</OL></LI>";
    out += "<LI><B>Tested links:</B>";
    out += "<UL>";
    out += "<LI><A HREF=\"p_idocl.htm\">Documents</A></LI>";
    out += "<LI><A HREF=\"p_ipicl.htm\">Pictures</A></LI>";
    out += "<LI><A HREF=\"p_iothl.htm\">Other media</A></LI>";
    out += "</UL></LI>";
    out += "<LI><B>Untested links:</B>";
    out += "<UL>";
    out += "<LI><A HREF=\"p_edocl.htm\">Documents</A></LI>";
    out += "<LI><A HREF=\"p_epicl.htm\">Pictures</A></LI>";
    out += "<LI><A HREF=\"p_eothl.htm\">Other media</A></LI>";
    out += "<LI><A HREF=\"p_eukl.htm\">Unknown links</A></LI>";
    out += "<LI><A HREF=\"p_eupl.htm\">Unprocessed links</A></LI>";
    out += "<LI><A HREF=\"p_mail.htm\">Mail</A></LI>";
    out += "<LI><A HREF=\"p_ftp.htm\">FTP</A></LI>";
    out += "<LI><A HREF=\"p_gopher.htm\">Gopher</A></LI>";
    out += "</UL></LI>";
    out += "</OL><HR>";
    out += ReportFrame::kEnd;
    return out;
}

void OverviewPage::write(ReportContext& context) {
    context.writeFile("overview.htm", bytes(context.web()));
}

} // namespace corvida
