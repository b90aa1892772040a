// SPDX-License-Identifier: MIT
#pragma once

// A Transfer is one request of the crawl, seen from the crawl: a GET into a file or into
// memory, or a HEAD, reported to a TransferListener with status texts, a percentage, the reply headers and one
// end report. HttpTransfer implements it on sockets; tests may implement it in memory. No
// transfer ever waits: every report comes later from the event loop, or at once from the
// starting call when the request fails before it could begin.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvida {

struct HttpRequestHeaders;
class TransferListener;

// How the start of a transfer went.
enum class TransferStart {
    Started,        // under way: reports follow, the end report last
    FailedAtOnce,   // failed while starting: the end report has been made already
    FileNotCreated, // the output file could not be created: no report at all
};

class Transfer {
public:
    virtual ~Transfer() = default;

    // Fetches url with GET into filePath (created anew). headers are read during the call
    // only; proxy is "host:port" or empty; listener must outlive the transfer.
    virtual TransferStart getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                                      const HttpRequestHeaders& headers, std::string_view proxy) = 0;
    // Fetches url with GET into memory. A body of at most memoryLimit bytes stays there for
    // takeBody(); a longer one goes, from its first byte, into spillPath (created only then;
    // failing that fails the transfer), or is dropped when spillPath is empty. Never
    // FileNotCreated.
    virtual TransferStart getIntoMemory(TransferListener& listener, std::string_view url, std::size_t memoryLimit,
                                        const std::string& spillPath, const HttpRequestHeaders& headers,
                                        std::string_view proxy) = 0;
    // The body of the last GET into memory, as far as it arrived, when all of it stayed in
    // memory; nullopt for a body that was spilled or dropped, or for other requests. Hands
    // the bytes over: a second call gives nullopt.
    virtual std::optional<std::string> takeBody() = 0;
    // Tests url with HEAD. Never FileNotCreated.
    virtual TransferStart head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                               std::string_view proxy) = 0;
    // Stops the request without an end report.
    virtual void stop() = 0;
    // After a failed end report: the failure's text as the user sees it (the string table's
    // text of its number, with details such as a TLS reason filled in).
    virtual std::string failureText() const = 0;
};

} // namespace corvida
