// SPDX-License-Identifier: MIT
#pragma once

// TlsTrust decides which https servers the program believes: by default those whose
// certificate chain ends in the system's CA store; the user may add CAs of their own from PEM
// files (a company's or a test server's), or turn checking off altogether. configuration()
// gives the TLS configuration that the connections use.

#include <optional>
#include <string>

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>

namespace corvida {

class TlsTrust {
public:
    // Adds the certificates of the PEM file at path to those trusted. Returns a text that says
    // why not when the file cannot be read or holds no certificate; nothing is added then.
    std::optional<std::string> addCaFile(const std::string& path);
    // Whether servers' certificates are checked (the default) or taken as they come.
    void setVerifying(bool verifying) { m_verifying = verifying; }
    bool verifying() const { return m_verifying; }
    // The configuration of a secure connection: the system's CAs and the added ones, and the
    // check itself unless it is off.
    QSslConfiguration configuration() const;

private:
    QList<QSslCertificate> m_added;
    bool m_verifying = true;
};

} // namespace corvida
