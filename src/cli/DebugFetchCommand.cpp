// SPDX-License-Identifier: MIT
#include "cli/DebugFetchCommand.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

#include <QEventLoop>

#include "cli/CliOptionParser.h"
#include "net/HttpDate.h"
#include "net/HttpReplyParser.h"
#include "net/HttpRequestHeaders.h"
#include "net/HttpTransfer.h"
#include "net/StringTable.h"
#include "net/TransferListener.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug fetch URL [--head] [--proxy HOST:PORT] [--user-agent TEXT] [--from TEXT] "
                               "[--if-modified-since TIME] [--out FILE]";

struct Options {
    std::string url;
    bool head = false;
    std::string proxy;
    std::string out = "/dev/null";
    HttpRequestHeaders headers;
};

// A time given as a number of seconds, or as an HTTP date text.
std::int32_t readTime(const std::string& text) {
    std::int32_t time = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), time);
    if (error == std::errc() && end == text.data() + text.size()) {
        return time;
    }
    return HttpDate::parse(text);
}

std::optional<Options> readOptions(const std::vector<std::string>& args) {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    parser.addSwitch({"head"});
    for (const char* name : {"proxy", "user-agent", "from", "if-modified-since", "out"}) {
        parser.addValueOption(name);
    }
    const CliArguments parsed = parser.parse(args);
    if (parsed.fault != CliArguments::Fault::None) {
        return std::nullopt;
    }
    Options options;
    options.headers.accept = "*/*";
    for (const auto& [name, value] : parsed.options) {
        if (name == "head") {
            options.head = true;
        } else if (name == "proxy") {
            options.proxy = value;
        } else if (name == "user-agent") {
            options.headers.userAgent = value;
        } else if (name == "from") {
            options.headers.from = value;
        } else if (name == "if-modified-since") {
            options.headers.ifModifiedSince = readTime(value);
        } else if (name == "out") {
            options.out = value;
        }
    }
    for (const std::string& operand : parsed.operands) {
        // An empty text names no URL; a later one may still.
        if (!options.url.empty()) {
            return std::nullopt;
        }
        options.url = operand;
    }
    if (options.url.empty()) {
        return std::nullopt;
    }
    return options;
}

// Prints each report as it comes and stops the event loop at the end report.
class PrintingListener : public TransferListener {
public:
    PrintingListener(const HttpTransfer& transfer, std::ostream& out, QEventLoop& loop)
        : m_transfer(transfer), m_out(out), m_loop(loop) {}

    void statusText(std::string_view text) override {
        // The "request sent" text comes once every byte of the request has gone out.
        if (!m_requestShown && m_transfer.connection().state() == ConnectionState::Sending) {
            m_requestShown = true;
            std::string_view request = m_transfer.connection().requestText();
            for (std::size_t end; (end = request.find("\r\n")) != std::string_view::npos;) {
                m_out << "> " << request.substr(0, end) << '\n';
                request.remove_prefix(end + 2);
            }
        }
        m_out << "* " << text << '\n';
    }

    void percent(int /*value*/) override {}

    void headers(int /*statusCode*/, std::string_view /*reason*/, const HttpReplyHeaders& reply,
                 const HttpEntityHeaders& entity) override {
        const std::string& block = m_transfer.connection().reply().headerText();
        m_out << "< " << block.substr(0, block.find_first_of("\r\n")) << '\n';
        for (const auto& [name, value] : HttpReplyParser::storedFields(reply, entity)) {
            m_out << "header: " << name << ": " << value << '\n';
        }
    }

    void end(bool success, int stringNumber, int errorCode) override {
        m_success = success;
        m_ended = true;
        // A failure's text carries its details (a TLS reason); success names its string.
        m_out << "end: " << (success ? 1 : 0) << ' ' << stringNumber << ' ' << errorCode << ' '
              << (success ? std::string(StringTable::text(stringNumber)) : m_transfer.failureText()) << '\n';
        m_loop.quit();
    }

    bool ended() const { return m_ended; }
    bool success() const { return m_success; }

private:
    const HttpTransfer& m_transfer;
    std::ostream& m_out;
    QEventLoop& m_loop;
    bool m_requestShown = false;
    bool m_ended = false;
    bool m_success = false;
};

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = readOptions(args);
    if (!options) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    HttpTransfer transfer;
    QEventLoop loop;
    PrintingListener listener(transfer, out, loop);
    const TransferStart started =
        options->head ? transfer.head(listener, options->url, options->headers, options->proxy)
                      : transfer.getIntoFile(listener, options->url, options->out, options->headers, options->proxy);
    if (started == TransferStart::FileNotCreated) {
        err << "corvida-cli: cannot write " << options->out << '\n';
        return kExitFailure;
    }
    if (!listener.ended()) {
        loop.exec();
    }
    out.flush();
    return listener.success() ? kExitOk : kExitFailure;
}

} // namespace

CliCommand debugFetchCommand() {
    return CliCommand{{"debug", "fetch"}, kUsage, run};
}

} // namespace corvida
