// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the HTML tests: reading fixture files and rendering a document the way
// `corvida-cli debug html` prints it, so fixture expectations serve both.

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/LinkSink.h"

namespace corvida::test {

// The parts joined into one text.
inline std::string cat(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (const std::string_view part : parts) {
        joined += part;
    }
    return joined;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RecordingSink : public LinkSink {
public:
    void addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& /*origin*/) override {
        lines += "link: ";
        lines += fetchAnyway ? '1' : '0';
        lines += ' ';
        lines += url.url();
        lines += '\n';
    }
    std::string lines;
};

inline std::string dumpOf(const HtmlDocument& document) {
    std::ostringstream out;
    document.dumpAll(out);
    return out.str();
}

// Dump, title, excerpt, base and links, as the debug command prints them.
inline std::string debugText(HtmlDocument& document) {
    std::ostringstream out;
    out << dumpOf(document) << "title: " << document.title(260) << '\n';
    out << "excerpt: " << document.excerpt(260) << '\n';
    out << "base: " << document.baseUrl().url() << '\n';
    RecordingSink sink;
    LinkExtractor(document).extract(sink);
    out << sink.lines;
    return out.str();
}

inline std::string writtenOf(const HtmlDocument& document) {
    std::ostringstream out;
    document.writeAll(out);
    return out.str();
}

} // namespace corvida::test
