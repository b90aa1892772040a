// SPDX-License-Identifier: MIT
#include "cli/DebugHtmlCommand.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/CliOptionParser.h"
#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/LinkSink.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug html [--write] FILE [URL]";
// The crawl keeps titles and excerpts in buffers of this size.
constexpr std::size_t kTextCapacity = 260;

class PrintingSink : public LinkSink {
public:
    explicit PrintingSink(std::ostream& out) : m_out(out) {}

    void addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& /*origin*/) override {
        m_out << "link: " << (fetchAnyway ? 1 : 0) << ' ' << url.url() << '\n';
    }

private:
    std::ostream& m_out;
};

std::string fileUrl(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return "file://" + (error ? path : absolute.lexically_normal().string());
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::OptionsFirst);
    parser.addSwitch({"write"});
    const CliArguments parsed = parser.parse(args);
    const bool write = parsed.has("write");
    const std::vector<std::string>& words = parsed.operands;
    if (words.empty() || words.size() > 2) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const std::string& path = words[0];
    const std::string url = words.size() == 2 ? words[1] : fileUrl(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        err << "corvida-cli: cannot read '" << path << "'; it reads as an empty page\n";
    }

    HtmlDocument document(path, url);
    if (write) {
        document.writeAll(out);
        return kExitOk;
    }
    document.dumpAll(out);
    out << "title: " << document.title(kTextCapacity) << '\n';
    out << "excerpt: " << document.excerpt(kTextCapacity) << '\n';
    out << "base: " << document.baseUrl().url() << '\n';
    PrintingSink sink(out);
    LinkExtractor(document).extract(sink);
    return kExitOk;
}

} // namespace

CliCommand debugHtmlCommand() {
    return CliCommand{{"debug", "html"}, kUsage, run};
}

} // namespace corvida
