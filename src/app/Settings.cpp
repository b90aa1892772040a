// SPDX-License-Identifier: MIT
#include "app/Settings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <utility>

#include "base/Ascii.h"
#include "platform/Profile.h"

namespace corvida {

namespace {

constexpr std::string_view kApplication = "Application";
constexpr std::string_view kPrograms = "Programs";
constexpr std::string_view kProject = "Project";
constexpr std::string_view kColumnSection = "URL list header";

constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";
constexpr std::string_view kNoLimit = "None";
constexpr std::int32_t kBytesPerKiB = 1024;
constexpr std::int32_t kMaxPort = 65535;

constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The usual decimal conversion: leading blanks, an optional sign and the digits that follow;
// anything else ends the number, and no digits read as 0. Values beyond 32 bits are clamped.
std::int32_t parseNumber(std::string_view text) {
    constexpr std::int64_t kMagnitudeLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kMagnitudeLimit);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Cuts text to at most limit bytes. A cut never splits a UTF-8 sequence, so a long text
// typed in any language stays valid when it is written back.
std::string cutText(std::string text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    const auto isContinuation = [&](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
    std::size_t back = 0;
    while (end > 0 && back < 3 && isContinuation(end)) {
        --end;
        ++back;
    }
    if (isContinuation(end) || static_cast<unsigned char>(text[end]) < 0xC0) {
        end = limit; // not a UTF-8 sequence: cut the bytes where they are
    }
    text.resize(end);
    return text;
}

// Every key of the record, in the order the profile is read and written: the column table,
// then Application, Programs and Project. Load and save both walk this one list, so no key
// can be read and never written or the other way round.
template <typename Record, typename Visitor>
void visitKeys(Record& s, Visitor& v) {
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const std::string n = std::to_string(i);
        auto& column = s.columns[i];
        v.text(kColumnSection, "Caption" + n, column.caption, ColumnEntry::kCaptionLimit);
        v.number(kColumnSection, "Index" + n, column.columnId);
        v.number(kColumnSection, "Width" + n, column.width);
        v.number(kColumnSection, "Shown" + n, column.shown);
        v.number(kColumnSection, "Format" + n, column.format);
    }

    v.text(kApplication, "UserAgent", s.userAgent, Settings::kTextLimit);
    v.text(kApplication, "ProxyServer", s.proxyServer, Settings::kTextLimit);
    v.flag(kApplication, "UseProxy", s.useProxy);
    v.text(kApplication, "EmailAddress", s.emailAddress, Settings::kTextLimit);
    v.number(kApplication, "NetworkBufferSize", s.networkBufferSize);
    v.number(kApplication, "NumberOfConnections", s.numberOfConnections);
    v.number(kApplication, "ConnectionsPerHost", s.connectionsPerHost);
    v.number(kApplication, "HostDelay", s.hostDelay);
    v.flag(kApplication, "AskForPassword", s.askForPassword);
    v.flag(kApplication, "UseRobotExclusion", s.useRobotExclusion);
    v.text(kApplication, "CaFile", s.caFile, Settings::kPathLimit);
    v.flag(kApplication, "InsecureTls", s.insecureTls);

    v.browser(kPrograms, "Browser", s.browser);
    v.text(kPrograms, "EditorProgram", s.editorProgram, Settings::kTextLimit);
    v.text(kPrograms, "EditorCommand", s.editorArguments, Settings::kTextLimit);
    v.flag(kPrograms, "UseSound", s.useSound);
    v.flag(kPrograms, "CheckLowDiskSpace", s.checkLowDiskSpace);
    v.number(kPrograms, "DiskSpaceLimit", s.diskSpaceLimit);
    v.text(kPrograms, "WorkingDirectory", s.workingDirectory, Settings::kTextLimit);
    v.text(kPrograms, "BrowserCommand", s.browserCommand, Settings::kTextLimit);
    v.number(kPrograms, "BrowserDebugPort", s.browserDebugPort);

    v.flag(kProject, "AutoReport", s.autoReport);
    v.flag(kProject, "AutoSiteImage", s.autoSiteImage);
    v.flag(kProject, "CheckExternal", s.checkExternal);
    v.flag(kProject, "DownloadHtml", s.downloadHtml);
    v.flag(kProject, "DownloadPictures", s.downloadPictures);
    v.flag(kProject, "DownloadAudio", s.downloadAudio);
    v.flag(kProject, "DownloadVideo", s.downloadVideo);
    v.level(kProject, "MaximumLevel", s.maximumLevel);
}

// Reads each key into a record that already holds the defaults; a missing key keeps them.
class KeyReader {
public:
    explicit KeyReader(const Profile& profile) : m_profile(profile) {}

    void text(std::string_view section, std::string_view key, std::string& field, std::size_t limit) {
        if (std::optional<std::string> stored = m_profile.value(section, key)) {
            field = cutText(std::move(*stored), limit);
        }
    }
    void flag(std::string_view section, std::string_view key, bool& field) {
        if (const std::optional<std::string> stored = m_profile.value(section, key)) {
            field = *stored == kYes;
        }
    }
    void number(std::string_view section, std::string_view key, std::int32_t& field) {
        if (const std::optional<std::string> stored = m_profile.value(section, key)) {
            field = parseNumber(*stored);
        }
    }
    void browser(std::string_view section, std::string_view key, BrowserKind& field) {
        if (const std::optional<std::string> stored = m_profile.value(section, key)) {
            field = browserKindFromName(*stored);
        }
    }
    // "None" and an empty text are not numbers and so read as 0, no limit.
    void level(std::string_view section, std::string_view key, std::int32_t& field) { number(section, key, field); }

private:
    const Profile& m_profile;
};

class KeyWriter {
public:
    explicit KeyWriter(Profile& profile) : m_profile(profile) {}

    void text(std::string_view section, std::string_view key, const std::string& field, std::size_t) {
        m_profile.setValue(section, key, field);
    }
    void flag(std::string_view section, std::string_view key, bool field) {
        m_profile.setValue(section, key, field ? kYes : kNo);
    }
    void number(std::string_view section, std::string_view key, std::int32_t field) {
        m_profile.setValue(section, key, std::to_string(field));
    }
    void browser(std::string_view section, std::string_view key, BrowserKind field) {
        m_profile.setValue(section, key, browserKindName(field));
    }
    void level(std::string_view section, std::string_view key, std::int32_t field) {
        m_profile.setValue(section, key, field == 0 ? std::string() : std::to_string(field));
    }

private:
    Profile& m_profile;
};

// The URL list looks column contents up by id, so a table must name each content once.
bool isUsableColumnTable(const ColumnTable& columns) {
    std::array<bool, kColumnCount> seen{};
    for (const ColumnEntry& column : columns) {
        if (column.columnId < 0 || static_cast<std::size_t>(column.columnId) >= kColumnCount ||
            seen[static_cast<std::size_t>(column.columnId)]) {
            return false;
        }
        seen[static_cast<std::size_t>(column.columnId)] = true;
    }
    return true;
}

} // namespace

ProjectOptions Settings::projectOptions() const {
    ProjectOptions options;
    options.maximumLevel = maximumLevel > 0 ? static_cast<std::uint32_t>(maximumLevel) : 0;
    options.checkExternal = checkExternal;
    options.getDocuments = downloadHtml;
    options.getPictures = downloadPictures;
    options.getAudio = downloadAudio;
    options.getVideo = downloadVideo;
    options.autoReport = autoReport;
    options.autoLocalSite = autoSiteImage;
    return options;
}

void Settings::load(const Profile& profile, std::string defaultWorkingDirectory) {
    *this = Settings{};
    workingDirectory = cutText(std::move(defaultWorkingDirectory), kTextLimit);
    KeyReader reader(profile);
    visitKeys(*this, reader);
    if (browserDebugPort < 1 || browserDebugPort > kMaxPort) {
        browserDebugPort = kDefaultBrowserDebugPort;
    }
    if (!isUsableColumnTable(columns)) {
        columns = defaultColumnTable();
    }
}

Status Settings::save(Profile& profile) {
    if (!changed) {
        return Status::ok();
    }
    KeyWriter writer(profile);
    visitKeys(std::as_const(*this), writer);
    if (Status synced = profile.sync(); !synced.isOk()) {
        return synced;
    }
    changed = false;
    return Status::ok();
}

std::string Settings::proxyHost() const {
    const std::size_t colon = proxyServer.find(':');
    return colon == std::string::npos ? std::string() : proxyServer.substr(0, colon);
}

std::int32_t Settings::proxyPort() const {
    const std::size_t colon = proxyServer.find(':');
    return colon == std::string::npos ? 0 : parseNumber(std::string_view(proxyServer).substr(colon + 1));
}

void Settings::applyProxy(std::string_view host, std::int32_t port) {
    if (!host.empty()) {
        proxyServer = std::string(host) + ":" + std::to_string(port);
    }
}

std::int32_t Settings::networkBufferKiB() const {
    return networkBufferSize / kBytesPerKiB;
}

void Settings::setNetworkBufferKiB(std::int32_t kiB) {
    constexpr std::int32_t kMaxKiB = std::numeric_limits<std::int32_t>::max() / kBytesPerKiB;
    constexpr std::int32_t kMinKiB = std::numeric_limits<std::int32_t>::min() / kBytesPerKiB;
    networkBufferSize = std::clamp(kiB, kMinKiB, kMaxKiB) * kBytesPerKiB;
}

std::string Settings::maximumLevelText() const {
    return maximumLevel == 0 ? std::string(kNoLimit) : std::to_string(maximumLevel);
}

void Settings::applyMaximumLevelText(std::string_view text) {
    if (equalsIgnoreCase(text, kNoLimit)) {
        maximumLevel = 0;
        return;
    }
    if (const std::int32_t level = parseNumber(text); level != 0) {
        maximumLevel = level;
    }
}

} // namespace corvida
