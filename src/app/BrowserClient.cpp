// SPDX-License-Identifier: MIT
#include "app/BrowserClient.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include "app/DesktopBrowserClient.h"
#include "app/DevToolsBrowserClient.h"
#include "app/Settings.h"
#include "base/Ascii.h"

namespace corvida {

std::unique_ptr<BrowserClient> BrowserClient::create(BrowserKind kind, const Settings& settings) {
    switch (kind) {
    case BrowserKind::NetscapeNavigator:
        return std::make_unique<DesktopBrowserClient>(settings.browserCommand);
    case BrowserKind::InternetExplorer: {
        const std::int32_t port = settings.browserDebugPort >= 1 && settings.browserDebugPort <= 65535
                                      ? settings.browserDebugPort
                                      : Settings::kDefaultBrowserDebugPort;
        return std::make_unique<DevToolsBrowserClient>(settings.browserCommand, static_cast<std::uint16_t>(port),
                                                       DevToolsBrowserClient::defaultProfileDirectory());
    }
    default:
        return nullptr;
    }
}

std::optional<std::string> BrowserClient::acceptedUrl(std::string_view text) {
    for (const std::string_view scheme : {"http://", "https://", "file:"}) {
        if (startsWithIgnoreCase(text, scheme)) {
            return std::string(text);
        }
    }
    if (!text.empty() && text.front() == '/') {
        return QUrl::fromLocalFile(QDir::cleanPath(QString::fromStdString(std::string(text))))
            .toString(QUrl::FullyEncoded)
            .toStdString();
    }
    return std::nullopt;
}

} // namespace corvida
