// SPDX-License-Identifier: MIT
#pragma once

// TlsTrust decides which https servers the program believes: by default those whose
// certificate chain ends in the system's CA store; the user may add CAs of their own from PEM
// files (a company's or a test server's), or turn checking off altogether. context() makes the
// TLS context that the connections of a crawl share.

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct x509_st;

namespace corvida {

class TlsContext;

class TlsTrust {
public:
    // Adds the certificates of the PEM file at path to those trusted. Returns a text that says
    // why not when the file cannot be read or holds no certificate; nothing is added then.
    std::optional<std::string> addCaFile(const std::string& path);
    // Whether servers' certificates are checked (the default) or taken as they come.
    void setVerifying(bool verifying) { m_verifying = verifying; }
    bool verifying() const { return m_verifying; }
    // A context for secure connections: the system's CAs and the added ones, and the check
    // itself unless it is off. Null when TLS cannot be set up at all.
    std::shared_ptr<TlsContext> context() const;

private:
    std::vector<std::shared_ptr<x509_st>> m_added;
    bool m_verifying = true;
};

} // namespace corvida
