// SPDX-License-Identifier: MIT
#pragma once

// A NetworkTransfer is the crawl's Transfer over a real socket: it runs an HttpTransfer and
// passes every report on to the crawl's listener, noting the end report so that
// waitUntilEnded() can run a local event loop until then.

#include <chrono>

#include <QEventLoop>

#include "model/Transfer.h"
#include "net/HttpTransfer.h"
#include "net/TransferListener.h"

namespace corvida {

class NetworkTransfer : public Transfer, private TransferListener {
public:
    NetworkTransfer(int bufferSize, std::chrono::milliseconds timeout);

    int getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                    const HttpRequestHeaders& headers, std::string_view proxy) override;
    int head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
             std::string_view proxy) override;
    void stop() override;
    void waitUntilEnded() override;

private:
    void statusText(std::string_view text) override;
    void percent(int value) override;
    void headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                 const HttpEntityHeaders& entity) override;
    void end(bool success, int stringNumber, int errorCode) override;

    HttpTransfer m_transfer;
    TransferListener* m_listener = nullptr;
    bool m_running = false;
    QEventLoop* m_waiting = nullptr;
};

} // namespace corvida
