// SPDX-License-Identifier: MIT
#include "net/HttpRequest.h"

#include <cerrno>
#include <utility>

#include "net/TransferListener.h"

namespace corvida {

HttpRequest::HttpRequest(TransferListener& listener, std::string url, std::string method, std::FILE* output)
    : m_listener(listener), m_url(std::move(url)), m_method(std::move(method)), m_output(output) {}

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
    if (m_output == nullptr || size == 0) {
        return 0;
    }
    errno = 0;
    if (std::fwrite(bytes, 1, size, m_output) != size) {
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

} // namespace corvida
