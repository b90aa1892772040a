// SPDX-License-Identifier: MIT
#include "net/HttpRequest.h"

#include <cerrno>
#include <utility>

#include "net/TransferListener.h"

namespace corvida {

HttpRequest::HttpRequest(TransferListener& listener, std::string url, std::string method, std::FILE* output)
    : m_listener(listener), m_url(std::move(url)), m_method(std::move(method)), m_output(output) {}

HttpRequest::HttpRequest(TransferListener& listener, std::string url, std::string method, MemoryBody memory)
    : m_listener(listener), m_url(std::move(url)), m_method(std::move(method)), m_memory(std::move(memory)) {}

HttpRequest::~HttpRequest() {
    closeOutput();
}

void HttpRequest::statusText(std::string_view text) {
    m_listener.statusText(text);
}

void HttpRequest::percent(int value) {
    m_listener.percent(value);
}

void HttpRequest::headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                          const HttpEntityHeaders& entity) {
    m_listener.headers(statusCode, reason, reply, entity);
}

int HttpRequest::data(const char* bytes, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    if (m_memory && !m_leftMemory) {
        if (size <= m_memory->limit - m_body.size()) {
            m_body.append(bytes, size);
            return 0;
        }
        m_leftMemory = true;
        if (m_memory->spillPath.empty()) {
            m_body = std::string();
            return 0;
        }
        if (const int error = spill(); error != 0) {
            return error;
        }
    }
    if (m_output == nullptr) {
        return 0;
    }
    errno = 0;
    if (std::fwrite(bytes, 1, size, m_output) != size) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

int HttpRequest::spill() {
    errno = 0;
    m_output = std::fopen(m_memory->spillPath.c_str(), "wb");
    if (m_output == nullptr) {
        return errno != 0 ? errno : EIO;
    }
    const std::string body = std::exchange(m_body, std::string());
    if (std::fwrite(body.data(), 1, body.size(), m_output) != body.size()) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

int HttpRequest::closeOutput() {
    if (m_output == nullptr) {
        return 0;
    }
    std::FILE* output = std::exchange(m_output, nullptr);
    errno = 0;
    if (std::fclose(output) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

void HttpRequest::end(bool success, int stringNumber, int errorCode) {
    closeOutput();
    m_listener.end(success, stringNumber, errorCode);
}

std::optional<std::string> HttpRequest::takeBody() {
    if (!m_memory || m_leftMemory) {
        return std::nullopt;
    }
    m_leftMemory = true;
    return std::exchange(m_body, std::string());
}

} // namespace corvida
