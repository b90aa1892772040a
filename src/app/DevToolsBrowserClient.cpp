// SPDX-License-Identifier: MIT
#include "app/DevToolsBrowserClient.h"

#include <utility>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkRequest>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr const char* kBrowserNames[] = {"chromium", "chromium-browser", "google-chrome", "google-chrome-stable"};

bool isPageUrl(std::string_view url) {
    for (const char c : url) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return startsWithIgnoreCase(url, "http://") || startsWithIgnoreCase(url, "https://") ||
           startsWithIgnoreCase(url, "file:");
}

} // namespace

DevToolsBrowserClient::DevToolsBrowserClient(std::string command, std::uint16_t port, std::string profileDirectory,
                                             std::chrono::milliseconds timeout)
    : m_command(std::move(command)), m_port(port), m_profileDirectory(std::move(profileDirectory)), m_timeout(timeout),
      m_guard(std::make_unique<QObject>()), m_network(std::make_unique<QNetworkAccessManager>()),
      m_pollTimer(std::make_unique<QTimer>()) {
    // The endpoint is on this machine: no proxy may stand between.
    m_network->setProxy(QNetworkProxy::NoProxy);
    m_pollTimer->setInterval(kPollInterval);
    QObject::connect(m_pollTimer.get(), &QTimer::timeout, m_guard.get(), [this] { poll(); });
}

DevToolsBrowserClient::~DevToolsBrowserClient() {
    m_guard.reset();
    if (m_process && m_process->state() != QProcess::NotRunning) {
        // Destroying a running QProcess would kill the browser; let it live on and clean up
        // after itself when it exits.
        QProcess* process = m_process.release();
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    }
}

std::string DevToolsBrowserClient::defaultProfileDirectory() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Corvida/browser-profile")
        .toStdString();
}

std::optional<BrowserPage> DevToolsBrowserClient::pageFromList(std::string_view json) {
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())));
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject target = entry.toObject();
        if (target.value("type").toString() != "page") {
            continue;
        }
        BrowserPage page{target.value("url").toString().toStdString(), target.value("title").toString().toStdString()};
        if (!isPageUrl(page.url)) {
            return std::nullopt;
        }
        return page;
    }
    return std::nullopt;
}

bool DevToolsBrowserClient::openUrl(const std::string& url) {
    const std::optional<std::string> accepted = acceptedUrl(url);
    if (!accepted) {
        return false;
    }
    if (launching()) {
        m_pending.push_back(*accepted);
    } else {
        sendOpen(*accepted, true);
    }
    return true;
}

void DevToolsBrowserClient::currentPage(PageCallback done) {
    request("GET", "/json/list", [done = std::move(done)](QNetworkReply::NetworkError error, const QByteArray& body) {
        done(error == QNetworkReply::NoError ? pageFromList(std::string_view(body.constData(), body.size()))
                                             : std::nullopt);
    });
}

void DevToolsBrowserClient::exitIfLaunched() {
    m_pollTimer->stop();
    m_pending.clear();
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        // Called as the program ends or changes its browser: a short wait lets the browser go
        // before its process object does, so that nothing of it outlives the client.
        static_cast<void>(m_process->waitForFinished(kExitWaitMs));
    }
}

void DevToolsBrowserClient::request(const QByteArray& verb, const QString& path, ReplyHandler handler) {
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port) + path));
    request.setTransferTimeout(static_cast<int>(m_timeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = verb == "PUT" ? m_network->put(request, QByteArray()) : m_network->get(request);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxReplyBytes) {
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, m_guard.get(), [reply, handler = std::move(handler)] {
        reply->deleteLater();
        QNetworkReply::NetworkError error = reply->error();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (error == QNetworkReply::NoError && (status < 200 || status > 299)) {
            error = QNetworkReply::ProtocolUnknownError;
        }
        handler(error, error == QNetworkReply::NoError ? reply->readAll() : QByteArray());
    });
}

void DevToolsBrowserClient::sendOpen(const std::string& url, bool mayLaunch) {
    // The endpoint takes the whole query, decoded, as the URL: '#', '%' and blanks must be
    // escaped to arrive whole.
    const QString path = "/json/new?" + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(url), ":/"));
    request("PUT", path, [this, url, mayLaunch](QNetworkReply::NetworkError error, const QByteArray& body) {
        if (error == QNetworkReply::ConnectionRefusedError && mayLaunch) {
            if (!launch(url)) {
                qWarning("No browser to open %s in", url.c_str());
            }
            return;
        }
        const QString id = QJsonDocument::fromJson(body).object().value("id").toString();
        if (error == QNetworkReply::NoError && !id.isEmpty()) {
            request("GET", "/json/activate/" + QString::fromLatin1(QUrl::toPercentEncoding(id)),
                    [](QNetworkReply::NetworkError, const QByteArray&) {});
        }
    });
}

bool DevToolsBrowserClient::launch(const std::string& url) {
    if (launching()) {
        m_pending.push_back(url);
        return true;
    }
    if (m_process && m_process->state() != QProcess::NotRunning) {
        // The browser launched before still runs but does not answer: a second one in the
        // same profile would only hand the URL to it.
        return false;
    }
    QStringList line = QProcess::splitCommand(QString::fromStdString(m_command));
    if (line.isEmpty()) {
        for (const char* name : kBrowserNames) {
            if (const QString found = QStandardPaths::findExecutable(name); !found.isEmpty()) {
                line.append(found);
                break;
            }
        }
    }
    if (line.isEmpty()) {
        return false;
    }
    const QString program = line.takeFirst();
    line << QStringLiteral("--remote-debugging-port=%1").arg(m_port)
         << "--user-data-dir=" + QString::fromStdString(m_profileDirectory) << QString::fromStdString(url);

    m_process = std::make_unique<QProcess>();
    // The browser writes much to its output; nobody reads it, so a full pipe must not stall it.
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(m_process.get(), &QProcess::finished, m_guard.get(), [this] { endLaunch(); });
    QObject::connect(m_process.get(), &QProcess::errorOccurred, m_guard.get(), [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            endLaunch();
        }
    });
    m_launchDeadline = std::chrono::steady_clock::now() + kLaunchDeadline;
    m_pollInFlight = false;
    m_pollTimer->start();
    m_process->start(program, line);
    return true;
}

void DevToolsBrowserClient::poll() {
    if (std::chrono::steady_clock::now() > m_launchDeadline) {
        endLaunch();
        return;
    }
    if (m_pollInFlight) {
        return;
    }
    m_pollInFlight = true;
    request("GET", "/json/version", [this](QNetworkReply::NetworkError error, const QByteArray&) {
        m_pollInFlight = false;
        if (error == QNetworkReply::NoError && launching()) {
            endLaunch();
        }
    });
}

void DevToolsBrowserClient::endLaunch() {
    m_pollTimer->stop();
    for (const std::string& url : std::exchange(m_pending, {})) {
        sendOpen(url, false);
    }
}

bool DevToolsBrowserClient::launching() const {
    return m_pollTimer->isActive();
}

} // namespace corvida
