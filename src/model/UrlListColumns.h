// SPDX-License-Identifier: MIT
#pragma once

// UrlListColumns gives the text that each column of the URL list shows for a node. The list,
// its find command and its exports all read cells through here, so they always agree.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

class WebNode;

class UrlListColumns {
public:
    // Content type texts are cut to this many bytes.
    static constexpr std::size_t kContentTypeLimit = 255;

    // The text of column columnId (a ColumnEntry column id) for node:
    //   Type: empty (the column shows an icon);
    //   Name: the request URL, or the URL when there is none;
    //   Content Type: for http and file URLs the MIME type name, else "file transfer",
    //     "gopher", "mail" or "unknown" by scheme;
    //   Size, Depth, # In Links, # Out Links: decimal numbers;
    //   Last Modified: lastModifiedText();
    //   Title: the title, empty when there is none or it begins with "http".
    // An unknown column id gives an empty text.
    static std::string cellText(const WebNode& node, std::int32_t columnId);
    // The same text as a view, without a copy where the node or the MIME table holds it;
    // numbers and dates are written into buffer. The view lives as long as the node and the
    // buffer stay unchanged.
    static std::string_view cellView(const WebNode& node, std::int32_t columnId, std::string& buffer);
    // Whether a text of column columnId can hold byte at all: Type texts are empty; Size,
    // Depth and the link counts hold digits and '-'; Last Modified texts digits, the letters
    // of the month names, ' ', ',' and ':'. True for every byte in the other columns.
    static bool mayHold(std::int32_t columnId, char byte);

    // time (seconds since 1970, UTC) as local time in the form "Jan 05, 96 10:20", with
    // English month names whatever the locale. Empty for -1 (unknown) or a time that cannot
    // be converted.
    static std::string lastModifiedText(std::int32_t time);
};

} // namespace corvida
