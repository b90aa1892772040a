// SPDX-License-Identifier: MIT
#include "cli/MapCommand.h"

#include <optional>
#include <ostream>

#include "cli/CliOptionParser.h"
#include "cli/ProjectMap.h"
#include "model/FilterSet.h"
#include "viewlogic/WavefrontLayout.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "map FILE.zpj -o FILE [--zoom N] [--max-level N] [--thumbnails] [--links URL] [--filter N]";

struct MapOptions {
    std::string projectPath;
    std::string outputPath;
    int zoom = WavefrontLayout::kDefaultZoom;
    int maxLevel = WavefrontLayout::kDefaultMaxLevel;
    bool thumbnails = false;
    std::optional<std::string> linksUrl;
    int filterSlot = static_cast<int>(FilterSet::kAllSlot);
};

// Parses args; returns nothing on a usage error.
std::optional<MapOptions> parse(const std::vector<std::string>& args) {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    parser.addSwitch({"thumbnails"});
    for (const char* name : {"o", "zoom", "max-level", "links", "filter"}) {
        parser.addValueOption(name);
    }
    const CliArguments parsed = parser.parse(args);
    if (parsed.fault != CliArguments::Fault::None || parsed.operands.size() != 1 || parsed.operands[0].empty()) {
        return std::nullopt;
    }
    MapOptions options;
    options.projectPath = parsed.operands[0];
    options.thumbnails = parsed.has("thumbnails");
    for (const auto& [name, value] : parsed.options) {
        if (name == "o") {
            options.outputPath = value;
        } else if (name == "links") {
            options.linksUrl = value;
        } else {
            const std::optional<int> number =
                name == "zoom"     ? parseNumber(value, WavefrontLayout::kMinZoom, WavefrontLayout::kMaxZoom)
                : name == "filter" ? parseNumber(value, 0, static_cast<int>(FilterSet::kSlotCount) - 1)
                                   : parseNumber(value, 1, WavefrontLayout::kMaxMaxLevel);
            if (!number) {
                return std::nullopt;
            }
            (name == "zoom" ? options.zoom : name == "filter" ? options.filterSlot : options.maxLevel) = *number;
        }
    }
    if (options.outputPath.empty() || (options.linksUrl && options.linksUrl->empty())) {
        return std::nullopt;
    }
    return options;
}

int run(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    const std::optional<MapOptions> options = parse(args);
    if (!options) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    ProjectMap map;
    // The window's settings apply before the nodes arrive, as the map is laid out while they do.
    map.nodes().setZoom(options->zoom);
    map.nodes().setMaxLevel(options->maxLevel);
    map.nodes().setThumbnails(options->thumbnails);
    if (const Status loaded = map.load(options->projectPath, static_cast<std::size_t>(options->filterSlot));
        !loaded.isOk()) {
        err << "corvida-cli: " << options->projectPath << ": " << loaded.message() << '\n';
        return kExitFailure;
    }
    if (options->linksUrl) {
        if (const Status found = map.showLinks(*options->linksUrl); !found.isOk()) {
            err << "corvida-cli: " << found.message() << '\n';
            return kExitFailure;
        }
    }
    if (const Status written = map.write(options->outputPath); !written.isOk()) {
        err << "corvida-cli: " << options->outputPath << ": " << written.message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

CliCommand mapCommand() {
    return CliCommand{{"map"}, kUsage, run};
}

} // namespace corvida
