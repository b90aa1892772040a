// SPDX-License-Identifier: MIT
#pragma once

// The MimeTable is the process-wide list of URL schemes, MIME major types, MIME types and
// file-name extensions. It starts with fixed rows whose indexes the site graph relies on
// (type 2 "text/html", 3 "image/gif", 4 "image/jpeg", then 14 to 17 the pictures of today's
// web: PNG, WebP, BMP, SVG; major 3 "audio", 5 "video"; schemes 1 HTTP to 5 MAILTO, then
// 6 HTTPS), then takes the desktop's file associations, and grows whenever a
// server reports a content type it does not hold yet. Indexes never change once given.
// Lookups by name ignore ASCII letter case.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/FileAssociation.h"

namespace corvida {

class MimeTable {
public:
    // The six texts kept per type, in their fixed order.
    enum class TypeText { DefaultIcon, OpenCommand, PlayCommand, DdeExecute, DdeApplication, DdeTopic };
    static constexpr std::size_t kTypeTextCount = 6;
    using TypeTexts = std::array<std::optional<std::string>, kTypeTextCount>;
    using AssociationSource = std::function<std::vector<FileAssociation>()>;

    static constexpr std::uint32_t kUnknown = 0;
    static constexpr std::uint32_t kSchemeHttp = 1;
    static constexpr std::uint32_t kSchemeFile = 2;
    static constexpr std::uint32_t kSchemeFtp = 3;
    static constexpr std::uint32_t kSchemeGopher = 4;
    static constexpr std::uint32_t kSchemeMailto = 5;
    static constexpr std::uint32_t kSchemeHttps = 6;
    static constexpr std::uint32_t kTypeTextPlain = 1;
    static constexpr std::uint32_t kTypeHtml = 2;
    static constexpr std::uint32_t kTypeGif = 3;
    static constexpr std::uint32_t kTypeJpeg = 4;
    static constexpr std::uint32_t kTypePostscript = 9;
    static constexpr std::uint32_t kTypePdf = 10;
    static constexpr std::uint32_t kTypeDirector = 11;
    static constexpr std::uint32_t kTypeVrml = 13;
    static constexpr std::uint32_t kTypePng = 14;
    static constexpr std::uint32_t kTypeWebp = 15;
    static constexpr std::uint32_t kTypeBmp = 16;
    static constexpr std::uint32_t kTypeSvg = 17;
    static constexpr std::uint32_t kMajorImage = 2;
    static constexpr std::uint32_t kMajorAudio = 3;
    static constexpr std::uint32_t kMajorVideo = 5;

    // Builds the built-in rows, then adds the given associations in order: each content type
    // is added with its texts, and its extension unless the map already holds it.
    explicit MimeTable(const std::vector<FileAssociation>& associations = {});

    // The process-wide table, created on first use from the installed association source.
    static MimeTable& instance();
    // Sets where instance() takes the desktop's associations from. Call before the first
    // instance(); without a source the table holds the built-in rows only.
    static void setAssociationSource(AssociationSource source);

    // Finds a scheme ignoring case or appends it; returns its index.
    std::uint32_t addScheme(std::string_view scheme);
    // Finds a type ignoring case or appends it with its major type (the part before the first
    // '/', found or appended; a type without '/' gets major 0). Each given text replaces the
    // type's earlier one; absent texts leave it. Returns the type's index.
    std::uint32_t addType(std::string_view type, const TypeTexts& texts = {});
    // The type index of an extension (without dot, any case), or 0.
    std::uint32_t findTypeByExtension(std::string_view extension) const;

    // Index of the major type of a type index; 0 for an index out of range.
    std::uint32_t majorOf(std::uint32_t typeIndex) const;
    // Names by index; "???" for an index out of range.
    const std::string& schemeName(std::uint32_t index) const;
    const std::string& majorName(std::uint32_t index) const;
    const std::string& typeName(std::uint32_t index) const;
    // One of the six texts of a type; empty when unset or out of range.
    const std::string& typeText(std::uint32_t typeIndex, TypeText which) const;

    // How far the table has grown: rows added after a mark can be dropped again.
    struct Mark {
        std::size_t schemes = 0;
        std::size_t majors = 0;
        std::size_t types = 0;
    };
    Mark mark() const { return Mark{m_schemes.names.size(), m_majors.names.size(), m_types.size()}; }
    // Drops every scheme, major type and type added since mark was taken, as when
    // a project file that named them is refused. No index of a dropped row may be in use.
    void rollBack(const Mark& mark);

    std::size_t schemeCount() const { return m_schemes.names.size(); }
    std::size_t majorCount() const { return m_majors.names.size(); }
    std::size_t typeCount() const { return m_types.size(); }

private:
    struct TypeRow {
        std::string name;
        std::uint32_t major = 0;
        std::array<std::string, kTypeTextCount> texts;
    };
    struct NameList {
        std::vector<std::string> names;
        std::unordered_map<std::string, std::uint32_t> indexByLowerName;
        std::uint32_t findOrAppend(std::string_view name);
        void truncate(std::size_t size);
    };

    NameList m_schemes;
    NameList m_majors;
    NameList m_typeNames;
    std::vector<TypeRow> m_types;
    std::unordered_map<std::string, std::uint32_t> m_typeByLowerExtension;
};

} // namespace corvida
