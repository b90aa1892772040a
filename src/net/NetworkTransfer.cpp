// SPDX-License-Identifier: MIT
#include "net/NetworkTransfer.h"

namespace corvida {

NetworkTransfer::NetworkTransfer(int bufferSize, std::chrono::milliseconds timeout) : m_transfer(bufferSize) {
    m_transfer.setTimeout(timeout);
}

int NetworkTransfer::getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                                 const HttpRequestHeaders& headers, std::string_view proxy) {
    m_listener = &listener;
    m_running = true;
    const int result = m_transfer.getIntoFile(*this, url, filePath, headers, proxy);
    m_running = m_running && result == 1;
    return result;
}

int NetworkTransfer::head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                          std::string_view proxy) {
    m_listener = &listener;
    m_running = true;
    const int result = m_transfer.head(*this, url, headers, proxy);
    m_running = m_running && result == 1;
    return result;
}

void NetworkTransfer::stop() {
    m_transfer.stop();
    m_running = false;
    if (m_waiting != nullptr) {
        m_waiting->quit();
    }
}

void NetworkTransfer::waitUntilEnded() {
    if (!m_running) {
        return;
    }
    QEventLoop loop;
    m_waiting = &loop;
    loop.exec();
    m_waiting = nullptr;
}

void NetworkTransfer::statusText(std::string_view text) {
    m_listener->statusText(text);
}

void NetworkTransfer::percent(int value) {
    m_listener->percent(value);
}

void NetworkTransfer::headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                              const HttpEntityHeaders& entity) {
    m_listener->headers(statusCode, reason, reply, entity);
}

void NetworkTransfer::end(bool success, int stringNumber, int errorCode) {
    m_running = false;
    if (m_waiting != nullptr) {
        m_waiting->quit();
    }
    m_listener->end(success, stringNumber, errorCode);
}

} // namespace corvida
