// SPDX-License-Identifier: MIT
#include "model/CUrl.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/Ascii.h"
#include "base/AsciiChars.h"
#include "model/MimeTable.h"

namespace corvida {

namespace {

constexpr std::string_view kAuthorityMark = "://";
constexpr std::string_view kSchemeWords[] = {"HTTP:", "HTTPS:", "FILE:", "MAILTO:", "GOPHER:", "FTP:"};

// The byte as URL comparison sees it: ':' as '|', '\' as '/', ASCII upper case as lower case,
// then taken as a signed 8-bit number.
constexpr int foldByte(char c) {
    if (c == ':') {
        c = '|';
    } else if (c == '\\') {
        c = '/';
    } else {
        c = toLowerAscii(c);
    }
    return static_cast<signed char>(c);
}

constexpr std::array<std::int8_t, 256> makeFoldTable() {
    std::array<std::int8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(foldByte(static_cast<char>(i)));
    }
    return table;
}

constexpr std::array<std::int8_t, 256> kFold = makeFoldTable();

int folded(char c) {
    return kFold[static_cast<unsigned char>(c)];
}

bool isLeadingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A text ends at its first NUL, as every text of the program does.
std::string_view untilNul(std::string_view text) {
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

// Backslashes become slashes, leading white space goes, CR and LF go everywhere.
std::string preClean(std::string_view text) {
    text = untilNul(text);
    std::size_t start = 0;
    while (start < text.size() && isLeadingSpace(text[start])) {
        ++start;
    }
    std::string clean;
    clean.reserve(text.size() - start);
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            continue;
        }
        clean.push_back(c == '\\' ? '/' : c);
    }
    return clean;
}

// Resolves a relative text against a base directory or page URL.
std::string combine(const std::string& base, const std::string& text) {
    const bool textHasRoot = !text.empty() && text.front() == '/';
    const bool baseEndsWithSlash = !base.empty() && base.back() == '/';
    if (textHasRoot) {
        const std::size_t mark = base.find(kAuthorityMark);
        if (mark != std::string::npos) {
            const std::size_t hostEnd = base.find('/', mark + kAuthorityMark.size());
            return base.substr(0, hostEnd) + text;
        }
    }
    if (baseEndsWithSlash && textHasRoot) {
        return base.substr(0, base.size() - 1) + text;
    }
    if (!baseEndsWithSlash && !textHasRoot) {
        return base + "/" + text;
    }
    return base + text;
}

void percentDecode(std::string& url) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < url.size(); ++in) {
        if (url[in] == '%' && in + 2 < url.size() && hexDigitValue(url[in + 1]) >= 0 &&
            hexDigitValue(url[in + 2]) >= 0) {
            url[out++] = static_cast<char>(hexDigitValue(url[in + 1]) * 16 + hexDigitValue(url[in + 2]));
            in += 2;
        } else {
            url[out++] = url[in];
        }
    }
    url.resize(out);
    // A decoded %00 ends the text, as it would end a C string.
    url.resize(untilNul(url).size());
}

void collapseDotSegments(std::string& url) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < url.size(); ++in) {
        url[out++] = url[in];
        // Each "/./" becomes "/"; the kept '/' can start the next one, so runs collapse too.
        while (out >= 1 && url[out - 1] == '/' && in + 2 < url.size() && url[in + 1] == '.' && url[in + 2] == '/') {
            in += 2;
        }
    }
    url.resize(out);
}

void resolveParentSegments(std::string& url) {
    const std::size_t doubleSlash = url.find("//");
    if (doubleSlash == std::string::npos || doubleSlash + 2 >= url.size()) {
        return;
    }
    const std::size_t root = url.find('/', doubleSlash + 2);
    if (root == std::string::npos) {
        return;
    }
    std::size_t pos = root;
    while (pos + 4 <= url.size()) {
        const bool isParent = url.compare(pos, 4, "/../") == 0;
        if (!isParent || (pos > 0 && url[pos - 1] == '/')) {
            ++pos;
            continue;
        }
        // The segment before the "/.." starts at the previous '/', never left of the root.
        std::size_t segmentStart = pos;
        while (segmentStart > root && url[segmentStart - 1] != '/') {
            --segmentStart;
        }
        segmentStart = segmentStart > root ? segmentStart - 1 : root;
        url.erase(segmentStart, pos + 3 - segmentStart);
        pos = segmentStart;
    }
}

// Position of the extension's dot in text[from, to): scanning backwards from the last byte
// towards (not including) the first, a '.' not followed by '/' and not preceded by '/' or '.'.
std::size_t findExtensionDot(std::string_view text, std::size_t from) {
    for (std::size_t i = text.size(); i-- > from + 1;) {
        if (text[i] != '.') {
            continue;
        }
        const bool followedBySlash = i + 1 < text.size() && text[i + 1] == '/';
        const bool precededBySlashOrDot = text[i - 1] == '/' || text[i - 1] == '.';
        if (!followedBySlash && !precededBySlashOrDot) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::uint32_t foldHashOf(std::string_view url) {
    std::uint32_t sum = 0;
    for (const char c : url) {
        sum += static_cast<std::uint32_t>(folded(c));
    }
    return sum;
}

std::size_t identityHashOf(std::string_view url) {
    // FNV-1a over the folded bytes, so that URLs equal under compare() hash alike.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : url) {
        hash ^= static_cast<std::uint8_t>(folded(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

} // namespace

bool hasAuthority(std::string_view text) {
    text = untilNul(text);
    const std::size_t mark = text.find(kAuthorityMark);
    return mark != std::string_view::npos && mark + kAuthorityMark.size() < text.size();
}

bool isAbsolute(std::string_view text) {
    return untilNul(text).find(':') != std::string_view::npos;
}

CUrl::CUrl() = default;

CUrl::CUrl(std::string_view text, std::string_view base) {
    std::string url = preClean(text);
    const std::string cleanBase = preClean(base);
    if (!cleanBase.empty() && url.find(':') == std::string::npos) {
        url = combine(cleanBase, url);
    }
    percentDecode(url);
    collapseDotSegments(url);
    resolveParentSegments(url);
    m_text = std::move(url);
    parseParts();
    classify();
}

void CUrl::classify() {
    if (m_schemeLength > 0) {
        m_schemeIndex = MimeTable::instance().addScheme(scheme());
    }
    if (m_extensionLength > 0) {
        m_mimeIndexByExtension = MimeTable::instance().findTypeByExtension(extension());
    }
}

CUrl CUrl::restore(std::string_view url, std::string_view fragment, std::uint32_t schemeIndex,
                   std::uint32_t mimeIndexByExtension, std::uint32_t mimeIndexByServer) {
    CUrl restored;
    restored.m_text = std::string(untilNul(url));
    restored.parseParts();
    restored.m_fragment = std::string(untilNul(fragment));
    restored.m_schemeIndex = schemeIndex;
    restored.m_mimeIndexByExtension = mimeIndexByExtension;
    restored.m_mimeIndexByServer = mimeIndexByServer;
    return restored;
}

// Splits m_text (the bare URL) into its parts and appends the trailing '/' the base uses.
void CUrl::parseParts() {
    const std::string_view url = m_text;
    m_length = static_cast<std::uint32_t>(url.size());
    m_foldHash = foldHashOf(url);
    m_identityHash = identityHashOf(url);

    m_schemeLength = 0;
    for (const std::string_view word : kSchemeWords) {
        if (startsWithIgnoreCase(url, word)) {
            m_schemeLength = static_cast<std::uint8_t>(word.size() - 1);
            break;
        }
    }

    const std::size_t hash = url.find('#');
    m_fragment = hash == std::string_view::npos ? std::string() : std::string(url.substr(hash + 1));

    const std::size_t mark = url.find(kAuthorityMark);
    std::size_t hostEnd = std::string_view::npos;
    m_hostStart = 0;
    m_hostLength = 0;
    if (mark != std::string_view::npos) {
        const std::size_t hostStart = mark + kAuthorityMark.size();
        hostEnd = std::min(url.find('/', hostStart), url.size());
        m_hostStart = static_cast<std::uint32_t>(hostStart);
        m_hostLength = static_cast<std::uint32_t>(hostEnd - hostStart);
    }

    const std::size_t dot = url.size() > 1 ? findExtensionDot(url, 0) : std::string_view::npos;
    m_extensionStart = 0;
    m_extensionLength = 0;
    if (dot != std::string_view::npos) {
        const std::size_t end = std::min(url.find('#', dot + 1), url.size());
        m_extensionStart = static_cast<std::uint32_t>(dot + 1);
        m_extensionLength = static_cast<std::uint32_t>(end - dot - 1);
    }

    std::size_t baseLength = url.size() + 1; // the whole URL and the appended '/'
    if (!url.empty() && url.back() == '/') {
        baseLength = url.size();
    } else if (mark != std::string_view::npos) {
        if (hostEnd < url.size()) {
            const std::size_t pathDot = findExtensionDot(url, hostEnd);
            if (pathDot != std::string_view::npos) {
                baseLength = url.rfind('/', pathDot) + 1;
            }
        }
    } else if (dot != std::string_view::npos) {
        const std::size_t slash = url.rfind('/', dot);
        if (slash != std::string_view::npos) {
            baseLength = slash + 1;
        }
    }
    m_baseLength = static_cast<std::uint32_t>(baseLength);
    m_text.push_back('/');
}

bool CUrl::isHttp() const {
    return m_schemeIndex == MimeTable::kSchemeHttp || m_schemeIndex == MimeTable::kSchemeHttps;
}

bool CUrl::isHttps() const {
    return m_schemeIndex == MimeTable::kSchemeHttps;
}

bool CUrl::isFile() const {
    return m_schemeIndex == MimeTable::kSchemeFile;
}

bool CUrl::isFtp() const {
    return m_schemeIndex == MimeTable::kSchemeFtp;
}

bool CUrl::isGopher() const {
    return m_schemeIndex == MimeTable::kSchemeGopher;
}

bool CUrl::isMailto() const {
    return m_schemeIndex == MimeTable::kSchemeMailto;
}

bool CUrl::isDocument() const {
    return effectiveMimeIndex() == MimeTable::kTypeHtml;
}

bool CUrl::isGif() const {
    return effectiveMimeIndex() == MimeTable::kTypeGif;
}

bool CUrl::isJpeg() const {
    return effectiveMimeIndex() == MimeTable::kTypeJpeg;
}

bool CUrl::isPicture() const {
    const std::uint32_t type = effectiveMimeIndex();
    if (type == MimeTable::kTypeGif || type == MimeTable::kTypeJpeg ||
        (type >= MimeTable::kTypePng && type <= MimeTable::kTypeSvg)) {
        return true;
    }
    // Other names servers give the same pictures.
    const std::string_view name = MimeTable::instance().typeName(type);
    return equalsIgnoreCase(name, "image/x-ms-bmp") || equalsIgnoreCase(name, "image/x-png") ||
           equalsIgnoreCase(name, "image/pjpeg");
}

bool CUrl::isAudio() const {
    return MimeTable::instance().majorOf(effectiveMimeIndex()) == MimeTable::kMajorAudio;
}

bool CUrl::isVideo() const {
    return MimeTable::instance().majorOf(effectiveMimeIndex()) == MimeTable::kMajorVideo;
}

void CUrl::setMimeIndexByServer(std::string_view contentType) {
    contentType = untilNul(contentType);
    if (!contentType.empty() && contentType.front() == ' ') {
        contentType.remove_prefix(1);
    }
    // Parameters ("text/html; charset=utf-8") are not part of the type.
    contentType = contentType.substr(0, std::min(contentType.find(';'), contentType.size()));
    while (!contentType.empty() && (contentType.back() == ' ' || contentType.back() == '\t')) {
        contentType.remove_suffix(1);
    }
    m_mimeIndexByServer = MimeTable::instance().addType(contentType);
}

void CUrl::stripFragment() {
    const std::size_t hash = url().find('#');
    if (hash == std::string_view::npos) {
        return;
    }
    // The text is decoded and normalised already: it is cut, not parsed again, since a second
    // decoding would turn an escaped '%' into another byte ("%2541" into "A").
    std::string fragment = m_fragment;
    CUrl stripped;
    stripped.m_text = std::string(url().substr(0, hash));
    stripped.parseParts();
    stripped.classify();
    *this = std::move(stripped);
    m_fragment = std::move(fragment);
}

int CUrl::compare(const CUrl& other) const {
    if (m_length != other.m_length) {
        return m_length < other.m_length ? -1 : 1;
    }
    if (m_foldHash != other.m_foldHash) {
        return m_foldHash < other.m_foldHash ? -1 : 1;
    }
    // The sign is that of the last differing position: walking backwards, the first
    // difference found decides.
    const char* a = m_text.data();
    const char* b = other.m_text.data();
    if (std::memcmp(a, b, m_length) == 0) {
        return 0;
    }
    for (std::uint32_t i = m_length; i-- > 0;) {
        const int difference = folded(a[i]) - folded(b[i]);
        if (difference != 0) {
            return difference < 0 ? -1 : 1;
        }
    }
    return 0;
}

std::string CUrl::localPath(std::size_t capacity) const {
    const std::string_view text = url();
    std::string_view path;
    bool driveForm = false;
    if (startsWithIgnoreCase(text, "file:///")) {
        path = text.substr(7);
        // Old drive-letter URLs (file:///C|/web/a.htm) give C:/web/a.htm.
        if (path.size() >= 3 && ((path[1] >= 'A' && path[1] <= 'Z') || (path[1] >= 'a' && path[1] <= 'z')) &&
            (path[2] == '|' || path[2] == ':') && (path.size() == 3 || path[3] == '/')) {
            path.remove_prefix(1);
            driveForm = true;
        }
    } else if (startsWithIgnoreCase(text, "file://")) {
        path = text.substr(5);
    } else if (text.find(kAuthorityMark) == std::string_view::npos) {
        path = text;
        driveForm = path.size() >= 2 && (path[1] == '|' || path[1] == ':');
    } else {
        return {};
    }
    path = path.substr(0, std::min(path.find('#'), path.size()));
    if (capacity == 0) {
        return {};
    }
    std::string result(path.substr(0, std::min(path.size(), capacity - 1)));
    if (driveForm && result.size() >= 2 && result[1] == '|') {
        result[1] = ':';
    }
    return result;
}

} // namespace corvida
