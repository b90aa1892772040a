// SPDX-License-Identifier: MIT
#include "model/MimeTable.h"

#include <memory>
#include <utility>

#include "base/Ascii.h"

namespace corvida {

namespace {

const std::string kUnknownName = "???";
const std::string kEmptyText;

struct BuiltInType {
    const char* name;
    std::uint32_t major;
};

constexpr const char* kBuiltInSchemes[] = {"???", "HTTP", "FILE", "FTP", "GOPHER", "MAILTO", "HTTPS"};
constexpr const char* kBuiltInMajors[] = {"???", "text", "image", "audio", "application", "video", "x-world"};
constexpr BuiltInType kBuiltInTypes[] = {
    {"???", 0},
    {"text/plain", 1},
    {"text/html", 1},
    {"image/gif", 2},
    {"image/jpeg", 2},
    {"video/avi", 5},
    {"video/quicktime", 5},
    {"audio/wav", 3},
    {"audio/basic", 3},
    {"application/postscript", 4},
    {"application/pdf", 4},
    {"application/x-director", 4},
    {"audio/x-pn-realaudio", 3},
    {"x-world/x-vrml", 6},
    // Pictures of today's web, after the rows that stored indexes rely on.
    {"image/png", 2},
    {"image/webp", 2},
    {"image/bmp", 2},
    {"image/svg+xml", 2},
};
constexpr std::pair<const char*, std::uint32_t> kBuiltInExtensions[] = {
    {"txt", 1},  {"htm", 2}, {"html", 2}, {"gif", 3},  {"jpe", 4},   {"jpeg", 4}, {"jpg", 4},
    {"avi", 5},  {"mov", 6}, {"wav", 7},  {"au", 8},   {"ps", 9},    {"pdf", 10}, {"dcr", 11},
    {"ram", 12}, {"ra", 12}, {"wrl", 13}, {"png", 14}, {"webp", 15}, {"bmp", 16}, {"svg", 17},
};

MimeTable::AssociationSource& installedSource() {
    static MimeTable::AssociationSource source;
    return source;
}

} // namespace

std::uint32_t MimeTable::NameList::findOrAppend(std::string_view name) {
    auto [it, inserted] = indexByLowerName.try_emplace(toLowerAscii(name), static_cast<std::uint32_t>(names.size()));
    if (inserted) {
        names.emplace_back(name);
    }
    return it->second;
}

void MimeTable::NameList::truncate(std::size_t size) {
    if (size >= names.size()) {
        return;
    }
    names.resize(size);
    std::erase_if(indexByLowerName, [size](const auto& entry) { return entry.second >= size; });
}

void MimeTable::rollBack(const Mark& mark) {
    m_schemes.truncate(mark.schemes);
    m_majors.truncate(mark.majors);
    m_typeNames.truncate(mark.types);
    // Extensions are only mapped while the table is built, so none points at a dropped type.
    if (mark.types < m_types.size()) {
        m_types.resize(mark.types);
    }
}

MimeTable::MimeTable(const std::vector<FileAssociation>& associations) {
    for (const char* scheme : kBuiltInSchemes) {
        m_schemes.findOrAppend(scheme);
    }
    for (const char* major : kBuiltInMajors) {
        m_majors.findOrAppend(major);
    }
    for (const BuiltInType& type : kBuiltInTypes) {
        m_typeNames.findOrAppend(type.name);
        m_types.push_back(TypeRow{type.name, type.major, {}});
    }
    for (const auto& [extension, type] : kBuiltInExtensions) {
        m_typeByLowerExtension.emplace(extension, type);
    }
    for (const FileAssociation& association : associations) {
        if (association.contentType.empty()) {
            continue;
        }
        TypeTexts texts;
        for (std::size_t i = 0; i < kTypeTextCount; ++i) {
            texts[i] = association.texts[i];
        }
        const std::uint32_t type = addType(association.contentType, texts);
        if (!association.extension.empty()) {
            m_typeByLowerExtension.try_emplace(toLowerAscii(association.extension), type);
        }
    }
}

MimeTable& MimeTable::instance() {
    static const std::unique_ptr<MimeTable> table = [] {
        const AssociationSource& source = installedSource();
        return std::make_unique<MimeTable>(source ? source() : std::vector<FileAssociation>{});
    }();
    return *table;
}

void MimeTable::setAssociationSource(AssociationSource source) {
    installedSource() = std::move(source);
}

std::uint32_t MimeTable::addScheme(std::string_view scheme) {
    return m_schemes.findOrAppend(scheme);
}

std::uint32_t MimeTable::addType(std::string_view type, const TypeTexts& texts) {
    const std::size_t slash = type.find('/');
    const std::uint32_t major =
        slash == std::string_view::npos ? kUnknown : m_majors.findOrAppend(type.substr(0, slash));
    const std::uint32_t index = m_typeNames.findOrAppend(type);
    if (index == m_types.size()) {
        m_types.push_back(TypeRow{std::string(type), major, {}});
    }
    TypeRow& row = m_types[index];
    for (std::size_t i = 0; i < kTypeTextCount; ++i) {
        if (texts[i]) {
            row.texts[i] = *texts[i];
        }
    }
    return index;
}

std::uint32_t MimeTable::findTypeByExtension(std::string_view extension) const {
    const auto it = m_typeByLowerExtension.find(toLowerAscii(extension));
    return it == m_typeByLowerExtension.end() ? kUnknown : it->second;
}

std::uint32_t MimeTable::majorOf(std::uint32_t typeIndex) const {
    return typeIndex < m_types.size() ? m_types[typeIndex].major : kUnknown;
}

const std::string& MimeTable::schemeName(std::uint32_t index) const {
    return index < m_schemes.names.size() ? m_schemes.names[index] : kUnknownName;
}

const std::string& MimeTable::majorName(std::uint32_t index) const {
    return index < m_majors.names.size() ? m_majors.names[index] : kUnknownName;
}

const std::string& MimeTable::typeName(std::uint32_t index) const {
    return index < m_types.size() ? m_types[index].name : kUnknownName;
}

const std::string& MimeTable::typeText(std::uint32_t typeIndex, TypeText which) const {
    return typeIndex < m_types.size() ? m_types[typeIndex].texts[static_cast<std::size_t>(which)] : kEmptyText;
}

} // namespace corvida
