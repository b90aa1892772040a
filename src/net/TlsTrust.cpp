// SPDX-License-Identifier: MIT
#include "net/TlsTrust.h"

#include <QFile>
#include <QSslSocket>

namespace corvida {

std::optional<std::string> TlsTrust::addCaFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return "cannot read the CA file " + path + ": " + file.errorString().toStdString();
    }
    const QList<QSslCertificate> certificates = QSslCertificate::fromDevice(&file, QSsl::Pem);
    if (certificates.isEmpty()) {
        return "the CA file " + path + " holds no PEM certificate";
    }
    m_added += certificates;
    return std::nullopt;
}

QSslConfiguration TlsTrust::configuration() const {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    if (!m_added.isEmpty()) {
        // Setting CAs replaces the system's, which must stay trusted beside the added ones.
        configuration.setCaCertificates(QSslConfiguration::systemCaCertificates() + m_added);
    }
    if (!m_verifying) {
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    }
    return configuration;
}

} // namespace corvida
