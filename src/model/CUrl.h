// SPDX-License-Identifier: MIT
#pragma once

// A CUrl is one normalised URL, split once into the parts the program keeps asking for:
// scheme, host, base directory, extension and fragment, with its scheme and MIME indexes in
// the MimeTable and two numbers (length and fold hash) that make comparisons cheap. Two
// CUrls name the same site-graph node exactly when compare() returns 0.
//
// The URL text is held once; the base directory, scheme, host and extension are views into
// it (the base directory may end in a '/' that is kept just past the URL's end). The views
// stay valid for the life of the CUrl and move with it. The fragment is held on its own,
// since stripping it removes it from the URL text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

// True when ':', '/', '/' occur together at any position before the last three characters.
bool hasAuthority(std::string_view text);
// True when the text holds a ':' anywhere.
bool isAbsolute(std::string_view text);

class CUrl {
public:
    // The longest local path that localPath() gives, terminator included.
    static constexpr std::size_t kMaxLocalPath = 4096;

    // Empty texts, all numbers 0; the state before a project file fills the record.
    CUrl();
    // Parses text, resolved against base when base is not empty and text holds no ':'.
    // Any bytes are accepted; a NUL ends either text, as it would end a C string.
    explicit CUrl(std::string_view text, std::string_view base = {});

    // Rebuilds a CUrl from a stored URL text without normalising it again: the parts are
    // taken from the text as it stands, the fragment and the indexes as given.
    static CUrl restore(std::string_view url, std::string_view fragment, std::uint32_t schemeIndex,
                        std::uint32_t mimeIndexByExtension, std::uint32_t mimeIndexByServer);

    std::string_view url() const { return std::string_view(m_text).substr(0, m_length); }
    std::string_view baseDirectory() const { return std::string_view(m_text).substr(0, m_baseLength); }
    std::string_view scheme() const { return std::string_view(m_text).substr(0, m_schemeLength); }
    std::string_view extension() const { return std::string_view(m_text).substr(m_extensionStart, m_extensionLength); }
    std::string_view host() const { return std::string_view(m_text).substr(m_hostStart, m_hostLength); }
    std::string_view fragment() const { return m_fragment; }

    std::uint32_t schemeIndex() const { return m_schemeIndex; }
    std::uint32_t mimeIndexByExtension() const { return m_mimeIndexByExtension; }
    std::uint32_t mimeIndexByServer() const { return m_mimeIndexByServer; }
    // The server's type when one was reported, else the extension's.
    std::uint32_t effectiveMimeIndex() const {
        return m_mimeIndexByServer != 0 ? m_mimeIndexByServer : m_mimeIndexByExtension;
    }
    std::uint32_t length() const { return m_length; }
    std::uint32_t foldHash() const { return m_foldHash; }
    // A well-mixed hash of the folded URL: equal CUrls have equal identity hashes. Not stored.
    std::size_t identityHash() const { return m_identityHash; }

    // http or https: the HTTP family, requested alike (https over TLS).
    bool isHttp() const;
    bool isHttps() const;
    bool isFile() const;
    bool isFtp() const;
    bool isGopher() const;
    bool isMailto() const;
    bool isDocument() const;
    bool isGif() const;
    bool isJpeg() const;
    // A picture that the program reads: GIF, JPEG, PNG, WebP, BMP or SVG.
    bool isPicture() const;
    bool isAudio() const;
    bool isVideo() const;

    // Takes the server's content type (one leading blank skipped, parameters after ';'
    // dropped) into the MimeTable and makes it the MIME index by server.
    void setMimeIndexByServer(std::string_view contentType);
    // Sets the MIME index by server directly (project files store names, resolved by the loader).
    void setMimeIndexByServer(std::uint32_t index) { m_mimeIndexByServer = index; }
    // Parses the URL again without its fragment, keeping the fragment text.
    void stripFragment();

    // Negative, zero or positive: the order of URLs by length, then fold hash, then the sign
    // of the last position at which the folded bytes differ. A strict total order.
    int compare(const CUrl& other) const;
    bool operator==(const CUrl& other) const { return compare(other) == 0; }

    // The local file path of a file: URL (or of a text without "://"), at most capacity - 1
    // bytes, ending at a '#'. Empty when the URL names no local file.
    std::string localPath(std::size_t capacity = kMaxLocalPath) const;

private:
    void parseParts();
    // Sets the scheme and extension indexes from the parsed parts.
    void classify();

    std::string m_text; // the URL followed by one '/', so that every base directory is a prefix
    std::string m_fragment;
    std::uint32_t m_length = 0;
    std::uint32_t m_foldHash = 0;
    std::uint32_t m_baseLength = 0;
    std::uint32_t m_hostStart = 0;
    std::uint32_t m_hostLength = 0;
    std::uint32_t m_extensionStart = 0;
    std::uint32_t m_extensionLength = 0;
    std::uint32_t m_schemeIndex = 0;
    std::uint32_t m_mimeIndexByExtension = 0;
    std::uint32_t m_mimeIndexByServer = 0;
    std::size_t m_identityHash = 0;
    std::uint8_t m_schemeLength = 0;
};

} // namespace corvida
