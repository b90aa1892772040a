// SPDX-License-Identifier: MIT
#pragma once

// An HttpTransfer is one HTTP request of the program, the crawl's Transfer over a socket: a
// GET whose body goes into a file or into memory, or a HEAD. It owns its HttpConnection and HttpRequest and
// ends with exactly one end report to its TransferListener, or with none when its output file
// cannot be opened or it is stopped.
//
// The listener may stop the transfer from inside any report: no further report follows and
// nothing of the request is touched afterwards. It must not destroy the transfer there, nor
// start another request on it; that happens from the event loop or later, once the report
// has returned.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/HttpConnection.h"
#include "net/HttpRequest.h"
#include "net/Transfer.h"

namespace corvida {

struct HttpRequestHeaders;
class TransferListener;

class HttpTransfer : public Transfer {
public:
    // bufferSize is the most bytes read from the socket at once (see HttpConnection).
    explicit HttpTransfer(int bufferSize = HttpConnection::kDefaultBufferSize,
                          std::chrono::milliseconds timeout = HttpConnection::kDefaultTimeout);
    HttpTransfer(const HttpTransfer&) = delete;
    HttpTransfer& operator=(const HttpTransfer&) = delete;
    // Stops a running transfer silently.
    ~HttpTransfer() override;

    // Fetches url with GET into filePath (created anew, truncated). headers are read during
    // the call only; proxy is "host:port" or empty; listener must outlive the transfer.
    TransferStart getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                              const HttpRequestHeaders& headers, std::string_view proxy = {}) override;
    // Fetches url with GET into memory (see Transfer::getIntoMemory).
    TransferStart getIntoMemory(TransferListener& listener, std::string_view url, std::size_t memoryLimit,
                                const std::string& spillPath, const HttpRequestHeaders& headers,
                                std::string_view proxy = {}) override;
    std::optional<std::string> takeBody() override;
    // Tests url with HEAD; no body is kept.
    TransferStart head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                       std::string_view proxy = {}) override;

    // Stops the request and closes its file; the listener is not told. May be called from
    // inside a report.
    void stop() override;

    // How long the transfer may go without progress before it fails (default 60 s); applies
    // to the next request started.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // The TLS context of https requests (see HttpConnection); applies to the next request
    // started.
    void setTlsContext(std::shared_ptr<TlsContext> context) { m_tlsContext = std::move(context); }

    std::string failureText() const override { return m_connection->failureText(); }

    // The connection of the current (or last) request.
    const HttpConnection& connection() const { return *m_connection; }

private:
    TransferStart start(std::unique_ptr<HttpRequest> request, const HttpRequestHeaders& headers,
                        std::string_view proxy);

    int m_bufferSize;
    std::chrono::milliseconds m_timeout = HttpConnection::kDefaultTimeout;
    // Unset: Qt's default (looked at only when an https request is made).
    std::shared_ptr<TlsContext> m_tlsContext;
    std::unique_ptr<HttpConnection> m_connection;
    std::unique_ptr<HttpRequest> m_request;
};

} // namespace corvida
