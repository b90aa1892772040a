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
    return start(listener, url, "GET", output, headers, proxy);
}

TransferStart HttpTransfer::head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                                 std::string_view proxy) {
    return start(listener, url, "HEAD", nullptr, headers, proxy);
}

void HttpTransfer::stop() {
    m_connection->stop();
    if (m_request) {
        m_request->closeOutput();
    }
}

TransferStart HttpTransfer::start(TransferListener& listener, std::string_view url, std::string method,
                                  std::FILE* output, const HttpRequestHeaders& headers, std::string_view proxy) {
    // Every request gets a fresh connection, so no reply field of an earlier one lingers.
    if (m_connection->state() != ConnectionState::Made) {
        m_connection = std::make_unique<HttpConnection>(m_bufferSize);
    }
    m_connection->setTimeout(m_timeout);
    if (m_tlsContext) {
        m_connection->setTlsContext(m_tlsContext);
    }
    m_request = std::make_unique<HttpRequest>(listener, std::string(url), std::move(method), output);
    return m_connection->start(*m_request, headers, proxy) == 1 ? TransferStart::Started : TransferStart::FailedAtOnce;
}

} // namespace corvida
