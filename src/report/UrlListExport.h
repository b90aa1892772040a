// SPDX-License-Identifier: MIT
#pragma once

// UrlListExport writes the rows of a URL list as an HTML table, a comma-separated file or
// clipboard text. It writes every column of a column table except the icon column, in table
// order, or only the shown ones; each cell holds the text the list shows for the row's node.
//
// Cells come from crawled sites and may hold any byte, so the HTML table escapes every text
// it writes and the comma-separated forms quote a field that holds a comma, a quote or a line
// break. The export reads the nodes only while it runs; it keeps no reference to them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/ColumnEntry.h"

#include "base/Status.h"

namespace corvida {

class WebNode;

class UrlListExport {
public:
    enum class Columns { OnlyVisible, All };

    // The title of every export.
    static constexpr std::string_view kTitle = "URL list made by Vantorix 2.0.";

    // An export of the columns of table (copied) named by which, for the project projectName.
    UrlListExport(const ColumnTable& table, Columns which, std::string_view projectName);

    // "URL list of the NAME project."
    const std::string& caption() const { return m_caption; }
    // The column-table entries written, in order.
    const std::vector<ColumnEntry>& columns() const { return m_columns; }

    // The HTML table page of rows, in the given order, without a final line break.
    std::string html(const std::vector<const WebNode*>& rows) const;
    // The comma-separated file: the title line, the caption line, the header line and one
    // line per row, each ended by "\n".
    std::string commaSeparated(const std::vector<const WebNode*>& rows) const;
    // The clipboard text: the comma-separated file without its title and caption lines.
    std::string clipboardText(const std::vector<const WebNode*>& rows) const;

    // Writes bytes to the file at path, replacing it. On failure (IoError, the message names
    // path and the reason) a file that could not be written whole is removed.
    static Status writeFile(const std::string& path, std::string_view bytes);

    // text with '&', '<', '>' and '"' written as entities.
    static std::string escapeHtml(std::string_view text);
    // text as one comma-separated field: in double quotes, with each quote doubled, when it
    // holds a comma, a quote or a line break; else as it is.
    static std::string csvField(std::string_view text);

private:
    void appendHeaderLine(std::string& out) const;
    void appendRowLine(std::string& out, const WebNode& node) const;

    std::vector<ColumnEntry> m_columns;
    // Where among m_columns the table's last entry is, or npos: the header line writes ','
    // after every caption but that one.
    std::size_t m_lastEntryPosition = std::string::npos;
    std::string m_caption;
};

} // namespace corvida
