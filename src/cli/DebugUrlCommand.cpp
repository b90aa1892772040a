// SPDX-License-Identifier: MIT
#include "cli/DebugUrlCommand.h"

#include <ostream>

#include "cli/CliOptionParser.h"
#include "model/CUrl.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug url TEXT [BASE] | debug url --compare A B";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::OptionsFirst);
    parser.addSwitch({"compare"});
    const CliArguments parsed = parser.parse(args);
    const std::vector<std::string>& texts = parsed.operands;
    if (parsed.has("compare")) {
        if (texts.size() != 2) {
            err << "usage: corvida-cli " << kUsage << '\n';
            return kExitUsage;
        }
        const int sign = CUrl(texts[0]).compare(CUrl(texts[1]));
        out << (sign < 0 ? -1 : sign > 0 ? 1 : 0) << '\n';
        return kExitOk;
    }
    if (texts.empty() || texts.size() > 2) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const CUrl url(texts[0], texts.size() == 2 ? std::string_view(texts[1]) : std::string_view());
    out << "url: " << url.url() << '\n'
        << "base: " << url.baseDirectory() << '\n'
        << "scheme: " << url.scheme() << '\n'
        << "extension: " << url.extension() << '\n'
        << "host: " << url.host() << '\n'
        << "fragment: " << url.fragment() << '\n'
        << "scheme_index: " << url.schemeIndex() << '\n'
        << "mime_by_extension: " << url.mimeIndexByExtension() << '\n'
        << "length: " << url.length() << '\n'
        << "hash: " << url.foldHash() << '\n'
        << "local_path: " << (url.isFile() ? url.localPath() : std::string()) << '\n';
    return kExitOk;
}

} // namespace

CliCommand debugUrlCommand() {
    return CliCommand{{"debug", "url"}, kUsage, run};
}

} // namespace corvida
