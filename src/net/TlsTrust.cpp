// SPDX-License-Identifier: MIT
#include "net/TlsTrust.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include "net/TlsContext.h"

namespace corvida {

std::optional<std::string> TlsTrust::addCaFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return "cannot read the CA file " + path + ": " + std::strerror(errno);
    }
    std::vector<std::shared_ptr<x509_st>> certificates;
    // Other blocks (a key) are passed over; reading stops at the end or at a damaged block.
    while (X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr)) {
        certificates.emplace_back(certificate, X509_free);
    }
    std::fclose(file);
    ERR_clear_error();
    if (certificates.empty()) {
        return "the CA file " + path + " holds no PEM certificate";
    }
    m_added.insert(m_added.end(), certificates.begin(), certificates.end());
    return std::nullopt;
}

std::shared_ptr<TlsContext> TlsTrust::context() const {
    std::vector<x509_st*> added;
    added.reserve(m_added.size());
    for (const std::shared_ptr<x509_st>& certificate : m_added) {
        added.push_back(certificate.get());
    }
    return TlsContext::make(added, m_verifying);
}

} // namespace corvida
