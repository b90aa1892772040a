// SPDX-License-Identifier: MIT
#pragma once

// An HttpRequest is the part of one transfer that belongs to its caller: the URL and method,
// the listener that hears about it, and where the reply body goes. The connection that runs
// it calls it as the transfer goes on; it passes everything on to the listener and the body
// bytes to their place: straight into an output file, or into memory.
//
// A body kept in memory is held up to a limit. Past it the request either spills (what came
// so far and everything after it go into a spill file, created only then, as if the body had
// been written to that file from the start) or, without a spill file, drops the bytes past
// the limit. Only a body that stayed whole in memory can be taken with takeBody(). The
// request owns its output file and closes it when the transfer ends, stops or is destroyed.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/HttpEntityHeaders.h"
#include "net/HttpReplyHeaders.h"

namespace corvida {

class TransferListener;

class HttpRequest {
public:
    // Where a body kept in memory goes once it is longer than limit bytes: into spillPath, or
    // nowhere when spillPath is empty.
    struct MemoryBody {
        std::size_t limit = 0;
        std::string spillPath;
    };

    // output may be null (nothing is written: a HEAD request). listener must outlive the
    // request.
    HttpRequest(TransferListener& listener, std::string url, std::string method, std::FILE* output);
    // A request whose body is kept in memory as memory says.
    HttpRequest(TransferListener& listener, std::string url, std::string method, MemoryBody memory);
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;
    ~HttpRequest();

    const std::string& url() const { return m_url; }
    const std::string& method() const { return m_method; }

    // Passed on to the listener.
    void statusText(std::string_view text);
    void percent(int value);
    void headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                 const HttpEntityHeaders& entity);

    // Writes size body bytes to the output file or memory (dropped without either). Returns 0,
    // or the errno of a write (or of the spill file's creation) that failed.
    int data(const char* bytes, std::size_t size);
    // Flushes and closes the output file. Returns 0, or the errno of a failure (the file's
    // data may then be incomplete). Later calls return 0.
    int closeOutput();
    // Closes the output file and then tells the listener; the last call the request makes.
    // The listener may stop the transfer during this call, but not destroy it.
    void end(bool success, int stringNumber, int errorCode);

    // The body received so far when it is kept in memory and nothing of it was spilled or
    // dropped; nullopt otherwise. Hands the bytes over: the request keeps none of them.
    std::optional<std::string> takeBody();

private:
    // Moves the body received so far into the spill file, which becomes the output file.
    int spill();

    TransferListener& m_listener;
    std::string m_url;
    std::string m_method;
    std::FILE* m_output = nullptr;
    // The memory body, when the body goes to memory.
    std::optional<MemoryBody> m_memory;
    std::string m_body;
    // The body is no longer in memory: spilled, dropped or taken.
    bool m_leftMemory = false;
};

} // namespace corvida
