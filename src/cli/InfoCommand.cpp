// SPDX-License-Identifier: MIT
#include "cli/InfoCommand.h"

#include <array>
#include <optional>
#include <ostream>
#include <utility>

#include "cli/ProjectArgument.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "info FILE.zpj";

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

void printProject(std::ostream& out, const ProjectOptions& options, const Web& web) {
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
    out << "start_node: " << (web.startNode() != nullptr ? web.startNode()->number() : -1) << '\n'
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
    out << "always_fetch: " << int{settings.alwaysFetch} << '\n' << "nodes: " << web.nodeCount() << '\n';
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const std::optional<ProjectFile::Loaded> project = loadProjectArgument(args, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }
    const ProjectFile::Loaded& loaded = *project;
    printProject(out, loaded.options, *loaded.web);
    return kExitOk;
}

} // namespace

CliCommand infoCommand() {
    return CliCommand{{"info"}, kUsage, run};
}

} // namespace corvida
