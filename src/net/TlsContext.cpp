// SPDX-License-Identifier: MIT
#include "net/TlsContext.h"

#include <algorithm>

#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace corvida {

namespace {

// OpenSSL hands every new session of a connection here; the connection's first extra data is
// the server it was made for, the context's is the context.
int sessionArrived(SSL* connection, SSL_SESSION* session) {
    auto* context = static_cast<TlsContext*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(connection), 0));
    const auto* server = static_cast<const std::string*>(SSL_get_ex_data(connection, 0));
    if (context == nullptr || server == nullptr) {
        return 0;
    }
    context->keepSession(*server, session);
    return 1; // the reference is the context's now
}

} // namespace

std::shared_ptr<TlsContext> TlsContext::make(const std::vector<x509_st*>& added, bool verifying) {
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (context == nullptr) {
        return nullptr;
    }
    std::shared_ptr<TlsContext> result(new TlsContext(context, verifying));
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    // Sessions are kept by the context per server, not in OpenSSL's cache, which a client
    // cannot look up by server.
    SSL_CTX_set_session_cache_mode(context, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_set_ex_data(context, 0, result.get());
    SSL_CTX_sess_set_new_cb(context, sessionArrived);
    if (verifying) {
        SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
        if (SSL_CTX_set_default_verify_paths(context) != 1) {
            return nullptr;
        }
        X509_STORE* store = SSL_CTX_get_cert_store(context);
        for (x509_st* certificate : added) {
            // The same CA twice is no error.
            static_cast<void>(X509_STORE_add_cert(store, certificate));
        }
    } else {
        SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
    }
    return result;
}

TlsContext::~TlsContext() {
    for (auto& [server, kept] : m_sessions) {
        SSL_SESSION_free(kept.session);
    }
    SSL_CTX_free(m_context);
}

ssl_st* TlsContext::newConnection(const std::string& server) {
    SSL* connection = SSL_new(m_context);
    if (connection == nullptr) {
        return nullptr;
    }
    SSL_set_ex_data(connection, 0, const_cast<std::string*>(&server));
    if (const auto kept = m_sessions.find(server); kept != m_sessions.end()) {
        static_cast<void>(SSL_set_session(connection, kept->second.session));
        // A session resumes in the protocol it was made in. Offering TLS 1.3 beside an older
        // session costs a key share that the server never uses, most of a resumed handshake's
        // time. The server chose the older protocol while TLS 1.3 was offered, in a handshake
        // that checked for a downgrade; a connection that does not resume after all drops
        // the session (see TlsSession), so the next one offers TLS 1.3 again.
        const int version = SSL_SESSION_get_protocol_version(kept->second.session);
        if (version < TLS1_3_VERSION) {
            SSL_set_max_proto_version(connection, version);
        }
    }
    return connection;
}

void TlsContext::forgetSession(const std::string& server) {
    if (const auto kept = m_sessions.find(server); kept != m_sessions.end()) {
        SSL_SESSION_free(kept->second.session);
        m_sessions.erase(kept);
    }
}

void TlsContext::keepSession(const std::string& server, ssl_session_st* session) {
    const auto found = m_sessions.find(server);
    if (found != m_sessions.end()) {
        SSL_SESSION_free(found->second.session);
        found->second = {session, ++m_clock};
        return;
    }
    if (m_sessions.size() >= kMaxSessions) {
        const auto oldest = std::min_element(m_sessions.begin(), m_sessions.end(),
                                             [](const auto& a, const auto& b) { return a.second.age < b.second.age; });
        SSL_SESSION_free(oldest->second.session);
        m_sessions.erase(oldest);
    }
    m_sessions.emplace(server, Kept{session, ++m_clock});
}

} // namespace corvida
