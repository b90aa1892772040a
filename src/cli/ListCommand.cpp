// SPDX-License-Identifier: MIT
#include "cli/ListCommand.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/CliOptionParser.h"
#include "cli/CliSettings.h"
#include "cli/ProjectArgument.h"
#include "model/ColumnEntry.h"
#include "model/FilterSet.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/UrlListExport.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "list FILE.zpj [--csv|--html] [--all-columns] [--filter N] [-o FILE]";

struct ListOptions {
    std::string projectPath;
    bool html = false;
    bool allColumns = false;
    std::size_t filterSlot = FilterSet::kAllSlot;
    std::optional<std::string> outputPath;
};

// Parses args; returns nothing on a usage error.
std::optional<ListOptions> parse(const std::vector<std::string>& args) {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    parser.addSwitch({"csv"});
    parser.addSwitch({"html"});
    parser.addSwitch({"all-columns"});
    parser.addValueOption("filter");
    parser.addValueOption("o");
    const CliArguments parsed = parser.parse(args);
    // One format at most, and the same one twice is no exception.
    if (parsed.fault != CliArguments::Fault::None || parsed.count("csv") + parsed.count("html") > 1) {
        return std::nullopt;
    }
    ListOptions options;
    for (const auto& [name, value] : parsed.options) {
        if (name == "filter") {
            if (value.size() != 1 || value[0] < '0' || value[0] >= static_cast<char>('0' + FilterSet::kSlotCount)) {
                return std::nullopt;
            }
            options.filterSlot = static_cast<std::size_t>(value[0] - '0');
        } else if (name == "o") {
            if (value.empty()) {
                return std::nullopt;
            }
            options.outputPath = value;
        }
    }
    if (parsed.operands.size() != 1 || parsed.operands[0].empty()) {
        return std::nullopt;
    }
    options.projectPath = parsed.operands[0];
    options.html = parsed.has("html");
    options.allColumns = parsed.has("all-columns");
    return options;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<ListOptions> options = parse(args);
    if (!options) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    int exitCode = kExitOk;
    const std::optional<ProjectFile::Loaded> project =
        loadProjectArgument({options->projectPath}, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }

    // Rows in discovery order, as a list fills while the crawl finds the nodes.
    std::vector<const WebNode*> rows(project->web->nodes().begin(), project->web->nodes().end());
    std::sort(rows.begin(), rows.end(), [](const WebNode* a, const WebNode* b) { return a->number() < b->number(); });
    const FilterSet filters;
    const Filter& filter = filters.at(options->filterSlot);
    std::erase_if(rows, [&filter](const WebNode* node) { return !filter.passes(*node); });

    // The columns, their order and which are shown come from the settings, as in the lists.
    const ColumnTable& columns = CliSettings::settings().columns;
    const std::string projectName = std::filesystem::path(options->projectPath).stem().string();
    const UrlListExport exporter(
        columns, options->allColumns ? UrlListExport::Columns::All : UrlListExport::Columns::OnlyVisible, projectName);
    const std::string bytes = options->html ? exporter.html(rows) : exporter.commaSeparated(rows);
    if (!options->outputPath) {
        out << bytes;
        return kExitOk;
    }
    if (const Status written = UrlListExport::writeFile(*options->outputPath, bytes); !written.isOk()) {
        err << "corvida-cli: " << written.message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

CliCommand listCommand() {
    return CliCommand{{"list"}, kUsage, run};
}

} // namespace corvida
