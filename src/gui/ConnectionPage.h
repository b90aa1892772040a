// SPDX-License-Identifier: MIT
#pragma once

// ConnectionPage is the Customize sheet's page of the network: the receive buffer, the number
// of concurrent transfers of a crawl, how politely it treats each server (transfers at once
// and the time between request starts), the proxy server, and which https servers it trusts
// (a CA file besides the system's, or no check at all).

#include <optional>

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace corvida {

struct Settings;

class ConnectionPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumBufferKiB = 1;
    static constexpr int kMaximumBufferKiB = 128;
    static constexpr int kMinimumConnections = 1;
    static constexpr int kMaximumConnections = 64;
    static constexpr int kMaximumPort = 65535;
    static constexpr int kHostLength = 255; // characters the host edit takes

    explicit ConnectionPage(QWidget* parent = nullptr);

    // Shows the network values of settings, the proxy server split into host and port.
    void load(const Settings& settings);

    // The message for a value the sheet must not take, or nothing: a proxy host needs a port
    // from 1 to 65535.
    std::optional<QString> refusal() const;

    // Writes the page's values into settings: the buffer in kilobytes of 1024 bytes, and the
    // proxy server joined from host and port unless the host is empty, which keeps the stored
    // proxy server.
    void apply(Settings& settings) const;

private:
    QSpinBox* m_bufferKiB;
    QSpinBox* m_connections;
    QSpinBox* m_perHost;
    QSpinBox* m_hostDelay;
    QCheckBox* m_useProxy;
    QLineEdit* m_proxyHost;
    QSpinBox* m_proxyPort;
    QLineEdit* m_caFile;
    QCheckBox* m_insecure;
};

} // namespace corvida
