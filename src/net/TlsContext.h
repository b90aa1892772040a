// SPDX-License-Identifier: MIT
#pragma once

// A TlsContext is what every secure connection of a crawl shares: one OpenSSL client context,
// with the trusted certificates set up once, and the sessions that servers handed out. A new
// connection to a server that gave a session resumes it: no certificate is sent, checked or
// signed again, which on a site of thousands of pages is most of the cost of TLS.
//
// Trust is the system's CA store (looked up per issuer when a chain is checked, not loaded
// whole), plus certificates added by the user, or no check at all. Every connection names the
// server it expects; see TlsSession. The context is used on one thread only.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

// OpenSSL's types, declared as its own headers do.
struct ssl_ctx_st;
struct ssl_session_st;
struct ssl_st;
struct x509_st;

namespace corvida {

class TlsContext {
public:
    // How many servers' sessions are kept; the oldest one goes first.
    static constexpr std::size_t kMaxSessions = 256;

    // A context that trusts the system's CAs and added (each certificate is copied), and checks
    // servers' certificates unless verifying is false. Null when OpenSSL cannot make one.
    static std::shared_ptr<TlsContext> make(const std::vector<x509_st*>& added, bool verifying);
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;
    ~TlsContext();

    bool verifying() const { return m_verifying; }

    // A new connection to server ("host:port"; the text must outlive the connection) that
    // resumes the server's kept session, if any, and keeps the sessions the server hands out
    // on it. Null when OpenSSL cannot make one. The caller frees it with SSL_free.
    ssl_st* newConnection(const std::string& server);

    // Keeps session for server in place of the one it had, taking over the caller's reference.
    void keepSession(const std::string& server, ssl_session_st* session);
    // Drops the server's kept session, if any.
    void forgetSession(const std::string& server);
    // How many servers have a session kept.
    std::size_t sessionCount() const { return m_sessions.size(); }

private:
    TlsContext(ssl_ctx_st* context, bool verifying) : m_context(context), m_verifying(verifying) {}

    struct Kept {
        ssl_session_st* session;
        std::size_t age;
    };

    ssl_ctx_st* m_context;
    bool m_verifying;
    std::map<std::string, Kept> m_sessions;
    std::size_t m_clock = 0;
};

} // namespace corvida
