// SPDX-License-Identifier: MIT
#include "cli/CrawlSession.h"

#include <cstdio>
#include <ostream>

#include "html/LocalSiteWriter.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "report/ReportWriter.h"

namespace corvida {

void CrawlSession::run(Web& web, bool startFirst) {
    web.setTransferFactory(&m_transfers);
    web.setImagingLibrary(&m_imaging);
    m_driver.run(web, startFirst);
}

void CrawlSession::printCounters(const Web& web, std::ostream& out) {
    std::size_t broken = 0;
    for (const WebNode* node : web.nodes()) {
        broken += node->isBroken() ? 1 : 0;
    }
    out << "nodes: " << web.nodeCount() << '\n'
        << "processed: " << web.processedCount() << '\n'
        << "documents: " << web.count(NodeKind::Document) << '\n'
        << "pictures: " << web.count(NodeKind::Picture) << '\n'
        << "audio: " << web.count(NodeKind::Audio) << '\n'
        << "video: " << web.count(NodeKind::Video) << '\n'
        << "ftp: " << web.count(NodeKind::Ftp) << '\n'
        << "gopher: " << web.count(NodeKind::Gopher) << '\n'
        << "mail: " << web.count(NodeKind::Mail) << '\n'
        << "other: " << web.count(NodeKind::Other) << '\n'
        << "highest_level: " << web.highestLevel() << '\n'
        << "broken: " << broken << '\n';
}

void CrawlSession::printNodes(const Web& web, std::ostream& out) {
    for (const WebNode* node : web.nodes()) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%08x", node->flags());
        out << node->number() << '\t' << node->level() << '\t' << node->httpStatus() << '\t' << flags << '\t'
            << node->url().url() << '\n';
    }
}

bool CrawlSession::writeOutputs(Web& web, ProjectOptions& options, bool report, bool localSite, std::ostream& out,
                                std::ostream& err) {
    bool ok = true;
    if (report) {
        const std::string failures = ReportWriter::write(web);
        options.reportMade = true;
        if (!failures.empty()) {
            err << "corvida-cli: " << failures << '\n';
            ok = false;
        }
        out << "Report stored in: " << ReportWriter::location(web) << '\n';
    }
    if (localSite && web.startNode() != nullptr) {
        const LocalSiteWriter::Result result = LocalSiteWriter::write(web);
        options.localSiteMade = true;
        for (const std::string& page : result.unwritten) {
            err << "corvida-cli: cannot write " << page << '\n';
        }
        ok = ok && result.ok();
        out << "Web image starts at: " << web.workingDirectory() << LocalSiteWriter::kStartPage << '\n';
    }
    return ok;
}

bool CrawlSession::saveProject(const std::string& path, const ProjectOptions& options, const Web& web,
                               std::ostream& err) {
    const std::string error = ProjectFile::save(path, options, &web);
    if (!error.empty()) {
        err << "corvida-cli: " << path << ": " << error << '\n';
        return false;
    }
    return true;
}

} // namespace corvida
