// SPDX-License-Identifier: MIT
#include "net/HttpTransfer.h"

#include <utility>

#include "net/HttpRequestHeaders.h"

namespace corvida {

HttpTransfer::HttpTransfer(int bufferSize, std::chrono::milliseconds timeout)
    : m_bufferSize(bufferSize), m_timeout(timeout), m_connection(std::make_unique<HttpConnection>(bufferSize)) {}

HttpTransfer::~HttpTransfer() {
    // The connection goes first: it must not call a request that no longer exists.
    m_connection.reset();
    m_request.reset();
}

TransferStart HttpTransfer::getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                                        const HttpRequestHeaders& headers, std::string_view proxy) {
    std::FILE* output = std::fopen(filePath.c_str(), "wb");
    if (output == nullptr) {
        return TransferStart::FileNotCreated;
    }
    return start(std::make_unique<HttpRequest>(listener, std::string(url), "GET", output), headers, proxy);
}

TransferStart HttpTransfer::getIntoMemory(TransferListener& listener, std::string_view url, std::size_t memoryLimit,
                                          const std::string& spillPath, const HttpRequestHeaders& headers,
                                          std::string_view proxy) {
    return start(std::make_unique<HttpRequest>(listener, std::string(url), "GET",
                                               HttpRequest::MemoryBody{memoryLimit, spillPath}),
                 headers, proxy);
}

std::optional<std::string> HttpTransfer::takeBody() {
    return m_request ? m_request->takeBody() : std::nullopt;
}

TransferStart HttpTransfer::head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                                 std::string_view proxy) {
    return start(std::make_unique<HttpRequest>(listener, std::string(url), "HEAD", nullptr), headers, proxy);
}

void HttpTransfer::stop() {
    m_connection->stop();
    if (m_request) {
        m_request->closeOutput();
    }
}

TransferStart HttpTransfer::start(std::unique_ptr<HttpRequest> request, const HttpRequestHeaders& headers,
                                  std::string_view proxy) {
    // Every request gets a fresh connection, so no reply field of an earlier one lingers.
    if (m_connection->state() != ConnectionState::Made) {
        m_connection = std::make_unique<HttpConnection>(m_bufferSize);
    }
    m_connection->setTimeout(m_timeout);
    if (m_tlsContext) {
        m_connection->setTlsContext(m_tlsContext);
    }
    m_request = std::move(request);
    return m_connection->start(*m_request, headers, proxy) == 1 ? TransferStart::Started : TransferStart::FailedAtOnce;
}

} // namespace corvida
