// SPDX-License-Identifier: MIT
#pragma once

// A Transfer is one request of the crawl, seen from the crawl: a GET into a file or a HEAD,
// reported to a TransferListener with status texts, a percentage, the reply headers and one
// end report. The network layer implements it on sockets; tests may implement it in memory.

#include <string>
#include <string_view>

namespace corvida {

struct HttpRequestHeaders;
class TransferListener;

class Transfer {
public:
    virtual ~Transfer() = default;

    // Fetches url with GET into filePath. Returns 0 without any report when the file cannot
    // be created; else 1 when under way, or 0 when it failed at once (end already reported).
    // headers are read during the call only; listener must outlive the transfer.
    virtual int getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                            const HttpRequestHeaders& headers, std::string_view proxy) = 0;
    // Tests url with HEAD. Returns as getIntoFile().
    virtual int head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                     std::string_view proxy) = 0;
    // Stops the request without an end report.
    virtual void stop() = 0;
    // Runs the event loop until this transfer's end report has been made (or it was stopped).
    // Used where the crawl must wait for one request, as for robots.txt at the start.
    virtual void waitUntilEnded() = 0;
};

} // namespace corvida
