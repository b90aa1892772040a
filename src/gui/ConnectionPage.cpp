// SPDX-License-Identifier: MIT
#include "gui/ConnectionPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "gui/Named.h"

namespace corvida {

ConnectionPage::ConnectionPage(QWidget* parent)
    : QWidget(parent), m_bufferKiB(named(new QSpinBox, "bufferSizeSpin")),
      m_connections(named(new QSpinBox, "connectionsSpin")), m_perHost(named(new QSpinBox, "perHostSpin")),
      m_hostDelay(named(new QSpinBox, "hostDelaySpin")),
      m_useProxy(named(new QCheckBox(QStringLiteral("Connect through proxy")), "useProxyCheck")),
      m_proxyHost(named(new QLineEdit, "proxyHostEdit")), m_proxyPort(named(new QSpinBox, "proxyPortSpin")),
      m_caFile(named(new QLineEdit, "caFileEdit")),
      m_insecure(named(new QCheckBox(QStringLiteral("Do not check certificates")), "insecureTlsCheck")) {
    m_bufferKiB->setRange(kMinimumBufferKiB, kMaximumBufferKiB);
    m_connections->setRange(kMinimumConnections, kMaximumConnections);
    m_perHost->setRange(1, Settings::kMaxConnectionsPerHost);
    m_hostDelay->setRange(0, Settings::kMaxHostDelay);
    m_hostDelay->setSuffix(QStringLiteral(" ms"));
    m_caFile->setMaxLength(static_cast<int>(Settings::kPathLimit));
    m_caFile->setPlaceholderText(QStringLiteral("PEM file of CAs trusted besides the system's"));
    m_proxyHost->setMaxLength(kHostLength);
    m_proxyPort->setRange(0, kMaximumPort);

    auto* bufferRow = new QHBoxLayout;
    bufferRow->addWidget(m_bufferKiB);
    bufferRow->addWidget(new QLabel(QStringLiteral("KiloBytes")));
    bufferRow->addStretch();
    auto* traffic = new QGroupBox(QStringLiteral("Traffic Control"));
    auto* trafficLayout = new QFormLayout(traffic);
    trafficLayout->addRow(QStringLiteral("Buffer Size:"), bufferRow);
    trafficLayout->addRow(QStringLiteral("Number of Connections:"), m_connections);
    trafficLayout->addRow(QStringLiteral("Connections per Server:"), m_perHost);
    trafficLayout->addRow(QStringLiteral("Delay between Requests:"), m_hostDelay);

    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(m_proxyHost, 1);
    serverRow->addWidget(new QLabel(QStringLiteral(":")));
    serverRow->addWidget(m_proxyPort);
    auto* proxy = new QGroupBox(QStringLiteral("Proxy Server"));
    auto* proxyLayout = new QVBoxLayout(proxy);
    proxyLayout->addWidget(m_useProxy);
    proxyLayout->addLayout(serverRow);

    auto* secure = new QGroupBox(QStringLiteral("Secure Connections"));
    auto* secureLayout = new QFormLayout(secure);
    secureLayout->addRow(QStringLiteral("CA File:"), m_caFile);
    secureLayout->addRow(m_insecure);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(traffic);
    layout->addWidget(proxy);
    layout->addWidget(secure);
    layout->addStretch();
}

void ConnectionPage::load(const Settings& settings) {
    m_bufferKiB->setValue(settings.networkBufferKiB());
    m_connections->setValue(settings.numberOfConnections);
    m_perHost->setValue(settings.connectionsPerHost);
    m_hostDelay->setValue(settings.hostDelay);
    m_caFile->setText(QString::fromStdString(settings.caFile));
    m_insecure->setChecked(settings.insecureTls);
    m_useProxy->setChecked(settings.useProxy);
    m_proxyHost->setText(QString::fromStdString(settings.proxyHost()));
    m_proxyPort->setValue(settings.proxyPort());
}

std::optional<QString> ConnectionPage::refusal() const {
    // Port 0 can never connect; it is allowed only while there is no host to go with it.
    if (!m_proxyHost->text().trimmed().isEmpty() && m_proxyPort->value() == 0) {
        return QStringLiteral("Please enter an integer between %1 and %2.").arg(1).arg(kMaximumPort);
    }
    return std::nullopt;
}

void ConnectionPage::apply(Settings& settings) const {
    settings.setNetworkBufferKiB(m_bufferKiB->value());
    settings.numberOfConnections = m_connections->value();
    settings.connectionsPerHost = m_perHost->value();
    settings.hostDelay = m_hostDelay->value();
    settings.caFile = m_caFile->text().trimmed().toStdString();
    settings.insecureTls = m_insecure->isChecked();
    settings.useProxy = m_useProxy->isChecked();
    settings.applyProxy(m_proxyHost->text().trimmed().toStdString(), m_proxyPort->value());
}

} // namespace corvida
