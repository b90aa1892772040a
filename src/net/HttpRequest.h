// SPDX-License-Identifier: MIT
#pragma once

// An HttpRequest is the part of one transfer that belongs to its caller: the URL and method,
// the listener that hears about it, and the output file that receives the reply body. The
// connection that runs it calls it as the transfer goes on; it passes everything on to the
// listener and writes body bytes straight to the file. It owns the output file and closes it
// when the transfer ends, stops or is destroyed.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "net/HttpEntityHeaders.h"
#include "net/HttpReplyHeaders.h"

namespace corvida {

class TransferListener;

class HttpRequest {
public:
    // output may be null (nothing is written: a HEAD request). listener must outlive the
    // request.
    HttpRequest(TransferListener& listener, std::string url, std::string method, std::FILE* output);
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;
    ~HttpRequest();

    const std::string& url() const { return m_url; }
    const std::string& method() const { return m_method; }
    bool hasOutput() const { return m_output != nullptr; }

    // Passed on to the listener.
    void statusText(std::string_view text);
    void percent(int value);
    void headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                 const HttpEntityHeaders& entity);

    // Writes size body bytes to the output file (dropped without one). Returns 0, or the
    // errno of a write that failed.
    int data(const char* bytes, std::size_t size);
    // Flushes and closes the output file. Returns 0, or the errno of a failure (the file's
    // data may then be incomplete). Later calls return 0.
    int closeOutput();
    // Closes the output file and then tells the listener; the last call the request makes.
    // The listener may stop the transfer during this call, but not destroy it.
    void end(bool success, int stringNumber, int errorCode);

private:
    TransferListener& m_listener;
    std::string m_url;
    std::string m_method;
    std::FILE* m_output;
};

} // namespace corvida
