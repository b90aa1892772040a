// SPDX-License-Identifier: MIT
#pragma once

// The StringTable holds every numbered text of the program: the status texts a connection
// shows while it works and the error texts its end report names by number. Reports carry
// the number; whoever shows the text looks it up here. The texts are kept byte for byte,
// including the two spaces after each full stop, since users and stored project files see
// them exactly so.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

// Success: an end report without an error names string 0, whose text is empty.
inline constexpr int kStringNone = 0;

// Error texts of a failed transfer.
inline constexpr int kStringWrongSocketVersion = 64;
inline constexpr int kStringConnectionRefused = 66;
inline constexpr int kStringNetworkFailure = 67;
inline constexpr int kStringHostNotFound = 68;
inline constexpr int kStringCannotInitialise = 69;
inline constexpr int kStringMalformedUrl = 70;

// Status texts; "%s" is the host connected to, "%ld" a byte count or percentage.
inline constexpr int kStringLookingUpHost = 71;
inline constexpr int kStringTransferComplete = 61211;
inline constexpr int kStringConnecting = 61213;
inline constexpr int kStringConnectedSending = 61214;
inline constexpr int kStringRequestSent = 61216;
inline constexpr int kStringBytesOfLengthReceived = 61217;
inline constexpr int kStringBytesReceived = 61218;

// Failures of a transfer that misbehaving servers cause, and of a redirect loop.
inline constexpr int kStringReplyHeaderTooLong = 80;
inline constexpr int kStringNoAnswerInTime = 81;
inline constexpr int kStringClosedBeforeComplete = 82;
inline constexpr int kStringTooManyRedirects = 83;
// A transfer whose body could not be written to its output file.
inline constexpr int kStringWriteFailed = 84;
// Failures of secure (https) connections; "%s" is the reason.
inline constexpr int kStringTlsFailed = 85;
inline constexpr int kStringCertificateRejected = 86;
inline constexpr int kStringTunnelRefused = 87;
inline constexpr int kStringTlsUnavailable = 88;

class StringTable {
public:
    // Returns the text of string number, or an empty view for 0 and for unknown numbers.
    // The view points into static storage and stays valid for the life of the program.
    static std::string_view text(int number);

    // True when number names a text of the table (0 excluded).
    static bool contains(int number) { return !text(number).empty(); }

    // Returns the text of number with each "%s" replaced by host; for the status texts
    // 71, 61213, 61214 and 61216.
    static std::string withHost(int number, std::string_view host);

    // Returns the text of number with "%s" replaced by reason; for the failure texts 85 to 87.
    // Any other text comes back as it stands.
    static std::string withReason(int number, std::string_view reason);

    // Returns "N bytes received." (string 61218).
    static std::string bytesReceived(std::int64_t received);

    // Returns "N of L bytes received (P%)." (string 61217).
    static std::string bytesReceived(std::int64_t received, std::int64_t length, std::int64_t percent);
};

} // namespace corvida
