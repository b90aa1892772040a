// SPDX-License-Identifier: MIT
#include "cli/InfoCommand.h"

#include <array>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>

#include "cli/CliOptionParser.h"
#include "cli/ProjectArgument.h"
#include "doc/ProjectStore.h"
#include "model/MimeTable.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "info FILE.zpj [--node URL]";

constexpr std::array<std::pair<NodeKind, const char*>, kNodeKindCount> kCounters = {{
    {NodeKind::Document, "documents"},
    {NodeKind::Picture, "pictures"},
    {NodeKind::Audio, "audio"},
    {NodeKind::Video, "video"},
    {NodeKind::Ftp, "ftp"},
    {NodeKind::Gopher, "gopher"},
    {NodeKind::Mail, "mail"},
    {NodeKind::Other, "other"},
}};

constexpr std::array<std::pair<KindRow, const char*>, 4> kRows = {{
    {KindRow::Documents, "documents"},
    {KindRow::Pictures, "pictures"},
    {KindRow::Audio, "audio"},
    {KindRow::Video, "video"},
}};

// Prints the project's record from its summary: the graph is never built, so a big project
// answers at once and in little memory.
void printProject(std::ostream& out, const ProjectFile::Summary& summary) {
    const ProjectOptions& options = summary.options;
    const Web& web = *summary.web;
    out << "start_url: " << options.startUrl << '\n'
        << "auto_report: " << int{options.autoReport} << '\n'
        << "auto_local_site: " << int{options.autoLocalSite} << '\n'
        << "check_external: " << int{options.checkExternal} << '\n'
        << "get_documents: " << int{options.getDocuments} << '\n'
        << "get_pictures: " << int{options.getPictures} << '\n'
        << "get_audio: " << int{options.getAudio} << '\n'
        << "get_video: " << int{options.getVideo} << '\n'
        << "maximum_level: " << options.maximumLevel << '\n'
        << "local_site_made: " << int{options.localSiteMade} << '\n'
        << "report_made: " << int{options.reportMade} << '\n';

    const CrawlSettings& settings = web.settings();
    out << "start_node: " << summary.startNumber << '\n'
        << "working_directory: " << settings.workingDirectory << '\n'
        << "working_file_name: " << settings.workingFileName << '\n'
        << "web_start_url: " << settings.startUrl << '\n'
        << "user_agent: " << settings.userAgent << '\n'
        << "proxy: " << settings.proxy << '\n'
        << "buffer_size: " << settings.bufferSize << '\n'
        << "robots_exclusion: " << int{settings.robotsExclusion} << '\n'
        << "email_address: " << settings.emailAddress << '\n'
        << "next_node_number: " << web.nextNodeNumber() << '\n';
    for (const auto& [kind, name] : kCounters) {
        out << "count_" << name << ": " << web.count(kind) << '\n';
    }
    out << "highest_level: " << web.highestLevel() << '\n';
    for (const auto& [row, name] : kRows) {
        out << "maximum_level_" << name << ": " << settings.maximumLevel(row) << '\n';
    }
    for (const auto& [row, name] : kRows) {
        out << "option_byte_" << name << ": " << settings.optionByte(row) << '\n';
    }
    out << "always_fetch: " << int{settings.alwaysFetch} << '\n' << "nodes: " << summary.nodeCount << '\n';
}

constexpr std::array<std::pair<std::uint32_t, const char*>, 8> kKinds = {{
    {kFlagDocument, "document"},
    {kFlagPicture, "picture"},
    {kFlagAudio, "audio"},
    {kFlagVideo, "video"},
    {kFlagFtp, "ftp"},
    {kFlagGopher, "gopher"},
    {kFlagMail, "mail"},
    {kFlagOther, "other"},
}};

const char* kindName(const WebNode& node) {
    for (const auto& [flag, name] : kKinds) {
        if (node.hasAnyFlag(flag)) {
            return name;
        }
    }
    return "none";
}

// Texts from crawled sites go to a terminal: control bytes are written as \xHH so that none
// of them can act on it.
struct Printable {
    std::string_view text;
};

std::ostream& operator<<(std::ostream& out, Printable printable) {
    for (const char c : printable.text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out << escaped;
        } else {
            out << c;
        }
    }
    return out;
}

void printNode(std::ostream& out, const WebNode& node) {
    out << "url: " << Printable{node.url().url()} << '\n'
        << "number: " << node.number() << '\n'
        << "level: " << node.level() << '\n'
        << "status: " << node.httpStatus() << '\n'
        << "status_text: " << Printable{node.statusText()} << '\n'
        << "status_detail: " << Printable{node.statusDetail()} << '\n'
        << "type: " << kindName(node) << '\n'
        << "mime_type: " << MimeTable::instance().typeName(node.url().effectiveMimeIndex()) << '\n'
        << "size: " << node.size() << '\n'
        << "request_url: " << Printable{node.requestUrl()} << '\n'
        << "redirects: " << node.redirects().size() << '\n';
    int hopNumber = 0;
    for (const RedirectHop& hop : node.redirects()) {
        out << "redirect_" << ++hopNumber << ": " << hop.status << ' ' << Printable{hop.location} << " -> "
            << Printable{hop.target} << '\n';
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    parser.addValueOption("node");
    const CliArguments parsed = parser.parse(args);
    const std::optional<std::string> nodeUrl = parsed.lastValue("node");
    if (parsed.fault != CliArguments::Fault::None || parsed.count("node") > 1 || (nodeUrl && nodeUrl->empty())) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    int exitCode = kExitOk;
    if (!nodeUrl) {
        const std::optional<std::string> path = projectPathArgument(parsed.operands, kUsage, err);
        if (!path) {
            return kExitUsage;
        }
        const ProjectFile::Summary summary = ProjectStore::loadSummary(*path);
        if (summary.web == nullptr) {
            err << "corvida-cli: " << *path << ": " << summary.status.message() << '\n';
            return kExitFailure;
        }
        printProject(out, summary);
        return kExitOk;
    }
    const std::optional<ProjectFile::Loaded> project = loadProjectArgument(parsed.operands, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }
    const ProjectFile::Loaded& loaded = *project;
    // Nodes are known without fragments, as the links that reached them are.
    CUrl url(*nodeUrl);
    url.stripFragment();
    const WebNode* node = loaded.web->findNode(url);
    if (node == nullptr) {
        err << "corvida-cli: " << parsed.operands[0] << ": no node has the URL " << Printable{*nodeUrl} << '\n';
        return kExitFailure;
    }
    printNode(out, *node);
    return kExitOk;
}

} // namespace

CliCommand infoCommand() {
    return CliCommand{{"info"}, kUsage, run};
}

} // namespace corvida
