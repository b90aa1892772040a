// SPDX-License-Identifier: MIT
#include "report/UrlListExport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/UrlListColumns.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::string_view kHtmlStart = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 3.0//EN//\" [] >\n"
                                        "<HTML>\n<HEAD>\n<TITLE>";
constexpr std::string_view kHtmlEnd = "</TABLE></BODYTEXT>\n</BODY>\n</HTML>";

} // namespace

UrlListExport::UrlListExport(const ColumnTable& table, Columns which, std::string_view projectName) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ColumnEntry& entry = table[i];
        if (entry.columnId == ColumnEntry::kType || (which == Columns::OnlyVisible && entry.shown == 0)) {
            continue;
        }
        if (i + 1 == table.size()) {
            m_lastEntryPosition = m_columns.size();
        }
        m_columns.push_back(entry);
    }
    m_caption = "URL list of the ";
    m_caption += projectName;
    m_caption += " project.";
}

std::string UrlListExport::html(const std::vector<const WebNode*>& rows) const {
    std::string out(kHtmlStart);
    out += kTitle;
    out += "</TITLE></HEAD>\n<BODY>\n<BODYTEXT>\n<H1>";
    out += kTitle;
    out += "</H1><HR>\n<TABLE LANG=\"en.us\" BORDER=\"3\" UNITS=\"EN\">\n<CAPTION>";
    out += escapeHtml(m_caption);
    out += "</CAPTION>\n<TR>\n";
    for (const ColumnEntry& column : m_columns) {
        out += "<TH>";
        out += escapeHtml(column.caption);
        out += "</TH>";
    }
    out += "</TR>\n";
    for (const WebNode* node : rows) {
        out += "<TR>";
        for (const ColumnEntry& column : m_columns) {
            const std::string cell = escapeHtml(UrlListColumns::cellText(*node, column.columnId));
            out += "<TD>";
            if (column.columnId == ColumnEntry::kName) {
                out += "<A HREF=\"";
                out += cell;
                out += "\">";
                out += cell;
                out += "</A>";
            } else {
                out += cell;
            }
            out += "</TD>";
        }
        out += "</TR>\n";
    }
    out += kHtmlEnd;
    return out;
}

std::string UrlListExport::commaSeparated(const std::vector<const WebNode*>& rows) const {
    std::string out;
    out += csvField(kTitle);
    out += '\n';
    out += csvField(m_caption);
    out += '\n';
    out += clipboardText(rows);
    return out;
}

std::string UrlListExport::clipboardText(const std::vector<const WebNode*>& rows) const {
    std::string out;
    appendHeaderLine(out);
    for (const WebNode* node : rows) {
        appendRowLine(out, *node);
    }
    return out;
}

void UrlListExport::appendHeaderLine(std::string& out) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        out += csvField(m_columns[i].caption);
        // Only the table's last entry goes without a comma, wherever it stands among the
        // written columns; sheets made from earlier exports expect exactly this line.
        if (i != m_lastEntryPosition) {
            out += ',';
        }
    }
    out += '\n';
}

void UrlListExport::appendRowLine(std::string& out, const WebNode& node) const {
    for (const ColumnEntry& column : m_columns) {
        std::string cell = UrlListColumns::cellText(node, column.columnId);
        if (column.columnId == ColumnEntry::kLastModified) {
            // "Jan 05, 96 10:20" is written "Jan 05- 96 10:20", as every export always has.
            if (const std::size_t comma = cell.find(','); comma != std::string::npos) {
                cell[comma] = '-';
            }
        }
        out += csvField(cell);
        out += ',';
    }
    out += '\n';
}

std::string UrlListExport::escapeHtml(std::string_view text) {
    // Unlike the report, the export escapes '&' as well. A cell is the plain text the list
    // shows, and a title that holds "&amp;" shows those five characters there; escaping
    // '&' makes the page show the same text, and makes query strings valid in the HREF.
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UrlListExport::csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

Status UrlListExport::writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return Status::ioError(path + ": " + std::strerror(errno));
    }
    errno = 0;
    const std::size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    int error = written == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    errno = 0;
    if (std::fclose(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (error != 0) {
        std::string message = path + ": " + std::strerror(error);
        // Only a regular file of ours is removed; a device or a link named by path stays.
        std::error_code status;
        if (std::filesystem::symlink_status(path, status).type() == std::filesystem::file_type::regular) {
            std::error_code removal;
            if (!std::filesystem::remove(path, removal) && removal) {
                message += " (the part written stays: " + removal.message() + ")";
            }
        }
        return Status::ioError(message);
    }
    return Status::ok();
}

} // namespace corvida
