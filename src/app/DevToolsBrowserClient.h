// SPDX-License-Identifier: MIT
#pragma once

// DevToolsBrowserClient talks to a Chromium-family browser through its remote-debugging HTTP
// endpoint on 127.0.0.1: it reads the current page from the list of targets, opens pages as
// new targets and activates them. When the endpoint does not answer, it starts the browser
// itself, in a profile of its own (current browsers open the endpoint only for a profile other
// than the user's everyday one), and polls the endpoint until the browser is up; pages asked
// for meanwhile are opened then. Everything runs on the event loop; no call waits. The client
// talks to no address but 127.0.0.1, and it trusts nothing the endpoint says: only http,
// https and file URLs are taken from it, and replies are bounded in time and size.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QNetworkReply>

#include "app/BrowserClient.h"

class QNetworkAccessManager;
class QObject;
class QProcess;
class QTimer;

namespace corvida {

class DevToolsBrowserClient : public BrowserClient {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{3000};
    static constexpr std::chrono::milliseconds kPollInterval{250};
    // How long a launched browser may take until its endpoint answers.
    static constexpr std::chrono::milliseconds kLaunchDeadline{30000};
    // Replies longer than this are cut off and count as no answer.
    static constexpr std::int64_t kMaxReplyBytes = std::int64_t{4} << 20;
    // How long exitIfLaunched waits for a launched browser to end.
    static constexpr int kExitWaitMs = 2000;

    // command: the browser's command line, or empty for the first Chromium-family browser on
    // the PATH; port: the debugging port; profileDirectory: the profile a launched browser
    // uses; timeout: how long one request to the endpoint may take.
    DevToolsBrowserClient(std::string command, std::uint16_t port, std::string profileDirectory,
                          std::chrono::milliseconds timeout = kDefaultTimeout);
    // Does not stop a launched browser (exitIfLaunched does); pending callbacks are dropped.
    ~DevToolsBrowserClient() override;

    // The profile directory a launched browser uses: Corvida/browser-profile under the user's
    // data directory.
    static std::string defaultProfileDirectory();

    // The current page in a target list as the endpoint sends it: the first entry whose type
    // is "page", when its URL is an http, https or file URL without control characters.
    // nullopt for anything else, malformed text included.
    static std::optional<BrowserPage> pageFromList(std::string_view json);

    // Opens url as a new target and activates it; when the endpoint refuses the connection,
    // launches the browser with url. False only when url is refused: the rest is known later.
    bool openUrl(const std::string& url) override;
    bool canReadCurrentPage() const override { return true; }
    void currentPage(PageCallback done) override;
    // Terminates the browser this client launched, when it still runs.
    void exitIfLaunched() override;

private:
    using ReplyHandler = std::function<void(QNetworkReply::NetworkError error, QByteArray body)>;

    // Sends verb to path (with its query, already encoded) on the endpoint; handler gets the
    // error (a status other than 2xx counts as ProtocolUnknownError) and, without one, the body.
    void request(const QByteArray& verb, const QString& path, ReplyHandler handler);
    // PUT /json/new, then activate the new target; when the endpoint refuses and mayLaunch is
    // set, launch the browser with url.
    void sendOpen(const std::string& url, bool mayLaunch);
    // Starts the browser with url, or queues url when a launched browser is still starting.
    bool launch(const std::string& url);
    void poll();
    // The launched browser answers, exited or ran out of time: opens what waited, no launch.
    void endLaunch();
    bool launching() const;

    std::string m_command;
    std::uint16_t m_port;
    std::string m_profileDirectory;
    std::chrono::milliseconds m_timeout;
    // The context of every connection; destroyed first so no callback reaches a dying client.
    std::unique_ptr<QObject> m_guard;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<QTimer> m_pollTimer;
    std::unique_ptr<QProcess> m_process; // the browser this client launched
    std::chrono::steady_clock::time_point m_launchDeadline;
    bool m_pollInFlight = false;
    std::vector<std::string> m_pending; // URLs to open once the launched browser answers
};

} // namespace corvida
