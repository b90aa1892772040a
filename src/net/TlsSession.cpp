// SPDX-License-Identifier: MIT
#include "net/TlsSession.h"

#include <algorithm>
#include <arpa/inet.h>
#include <climits>
#include <utility>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include "net/TlsContext.h"

namespace corvida {

namespace {

bool isAddress(const std::string& host) {
    unsigned char bytes[16];
    return inet_pton(AF_INET, host.c_str(), bytes) == 1 || inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

} // namespace

TlsSession::TlsSession(std::shared_ptr<TlsContext> context, std::string_view host, std::uint16_t port)
    : m_context(std::move(context)), m_server(std::string(host) + ':' + std::to_string(port)) {
    if (m_context) {
        m_connection = m_context->newConnection(m_server);
    }
    if (m_connection == nullptr) {
        m_failed = true;
        m_failureReason = "TLS could not be set up";
        return;
    }
    m_incoming = BIO_new(BIO_s_mem());
    m_outgoing = BIO_new(BIO_s_mem());
    if (m_incoming == nullptr || m_outgoing == nullptr) {
        BIO_free(m_incoming);
        BIO_free(m_outgoing);
        m_incoming = m_outgoing = nullptr;
        m_failed = true;
        m_failureReason = "TLS could not be set up";
        return;
    }
    // An empty input means "wait for more", never the end of the stream.
    BIO_set_mem_eof_return(m_incoming, -1);
    SSL_set_bio(m_connection, m_incoming, m_outgoing);
    SSL_set_connect_state(m_connection);

    std::string name(host);
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    if (isAddress(name)) {
        // Addresses are not sent as server names; the certificate must list the address.
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_connection), name.c_str());
    } else {
        // SSL_set_tlsext_host_name(), without the C cast of its macro.
        SSL_ctrl(m_connection, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name, name.data());
        SSL_set1_host(m_connection, name.c_str());
    }
}

TlsSession::~TlsSession() {
    if (m_connection != nullptr && !m_failed) {
        // An HTTP/1.0 exchange ends with the connection, not with a close alert of ours.
        // Without this mark OpenSSL takes the session for a broken one, which is never
        // resumed; a failed session is.
        SSL_set_shutdown(m_connection, SSL_SENT_SHUTDOWN | SSL_RECEIVED_SHUTDOWN);
    }
    SSL_free(m_connection); // frees both memory streams too
}

void TlsSession::receive(std::string_view bytes) {
    while (!bytes.empty() && m_incoming != nullptr) {
        const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
        if (BIO_write(m_incoming, bytes.data(), chunk) <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(chunk));
    }
}

void TlsSession::takeOutgoing(std::string& outgoing) {
    outgoing.clear();
    if (m_outgoing == nullptr) {
        return;
    }
    const std::size_t pending = BIO_ctrl_pending(m_outgoing);
    outgoing.resize(pending);
    std::size_t taken = 0;
    if (pending > 0 && BIO_read_ex(m_outgoing, outgoing.data(), pending, &taken) != 1) {
        taken = 0;
    }
    outgoing.resize(taken);
}

TlsSession::Progress TlsSession::handshake() {
    if (m_failed) {
        return Progress::Failed;
    }
    ERR_clear_error();
    const int result = SSL_do_handshake(m_connection);
    if (result == 1) {
        const long offered = SSL_get_max_proto_version(m_connection);
        if (!resumed() && offered != 0 && offered < TLS1_3_VERSION) {
            // Offered an older protocol only to resume a session, and did not: the next
            // connection offers every protocol again.
            m_context->forgetSession(m_server);
        }
        return Progress::Ready;
    }
    if (!settle(result)) {
        return Progress::Failed;
    }
    if (m_closedByServer) {
        // Closed in order before the handshake ended: no session came about.
        m_failed = true;
        m_failureReason = "the server closed the connection";
        return Progress::Failed;
    }
    return Progress::Pending;
}

bool TlsSession::send(std::string_view plaintext) {
    if (m_failed) {
        return false;
    }
    ERR_clear_error();
    std::size_t written = 0;
    // The memory stream takes everything at once.
    if (!plaintext.empty() && SSL_write_ex(m_connection, plaintext.data(), plaintext.size(), &written) != 1) {
        settle(0);
        m_failed = true;
        return false;
    }
    return true;
}

std::ptrdiff_t TlsSession::read(char* buffer, std::size_t capacity) {
    if (m_failed) {
        return -1;
    }
    if (m_closedByServer || capacity == 0) {
        return 0;
    }
    ERR_clear_error();
    std::size_t got = 0;
    const int result = SSL_read_ex(m_connection, buffer, capacity, &got);
    if (result == 1) {
        return static_cast<std::ptrdiff_t>(got);
    }
    return settle(result) ? 0 : -1;
}

bool TlsSession::resumed() const {
    return m_connection != nullptr && SSL_session_reused(m_connection) == 1;
}

bool TlsSession::settle(int value) {
    const int error = SSL_get_error(m_connection, value);
    switch (error) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        return true;
    case SSL_ERROR_ZERO_RETURN:
        m_closedByServer = true;
        return true;
    default:
        break;
    }
    m_failed = true;
    const long verified = SSL_get_verify_result(m_connection);
    if (m_context->verifying() && verified != X509_V_OK) {
        m_certificateRefused = true;
        m_failureReason = verifyResultText(verified);
    } else if (const unsigned long code = ERR_peek_error(); code != 0 && ERR_reason_error_string(code) != nullptr) {
        m_failureReason = ERR_reason_error_string(code);
    } else {
        m_failureReason = "the TLS protocol was broken";
    }
    ERR_clear_error();
    return false;
}

std::string TlsSession::verifyResultText(long result) {
    // The reasons users meet most, in the words of other secure-connection messages.
    static constexpr std::pair<long, const char*> kTexts[] = {
        {X509_V_ERR_CERT_HAS_EXPIRED, "The certificate has expired"},
        {X509_V_ERR_CERT_NOT_YET_VALID, "The certificate is not yet valid"},
        {X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT, "The certificate is self-signed, and untrusted"},
        {X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN,
         "The root certificate of the certificate chain is self-signed, and untrusted"},
        {X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY,
         "The issuer certificate of a locally looked up certificate could not be found"},
        {X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT, "The issuer certificate could not be found"},
        {X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE, "No certificates could be verified"},
        {X509_V_ERR_CERT_SIGNATURE_FAILURE, "The signature of the certificate is invalid"},
        {X509_V_ERR_CERT_REVOKED, "The certificate has been revoked"},
        {X509_V_ERR_INVALID_CA, "One of the CA certificates is invalid"},
        {X509_V_ERR_INVALID_PURPOSE, "The supplied certificate is unsuitable for this purpose"},
        {X509_V_ERR_HOSTNAME_MISMATCH, "The host name did not match any of the valid hosts for this certificate"},
        {X509_V_ERR_IP_ADDRESS_MISMATCH, "The host name did not match any of the valid hosts for this certificate"},
    };
    for (const auto& [code, text] : kTexts) {
        if (code == result) {
            return text;
        }
    }
    std::string text = X509_verify_cert_error_string(result);
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') {
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    }
    return text;
}

} // namespace corvida
