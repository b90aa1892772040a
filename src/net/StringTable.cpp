// SPDX-License-Identifier: MIT
#include "net/StringTable.h"

#include <array>

namespace corvida {

namespace {

struct Entry {
    int number;
    std::string_view text;
};

// Sorted by number. The double spaces and the doubled full stop in 68 are part of the texts.
constexpr std::array kEntries{
    Entry{kStringWrongSocketVersion,
          "The WINSOCK.DLL which you are using does not support Winsock 1.1, which is required by this "
          "application.  Obtain a newer version of your WINSOCK.DLL."},
    Entry{kStringConnectionRefused, "Connection to this server was refused.  Either there is no server running on "
                                    "that machine, or the remote server is down."},
    Entry{kStringNetworkFailure, "There was a failure in your networking software.  Check your network "
                                 "configuration, or attempt the connection again."},
    Entry{kStringHostNotFound, "No server could be found with the specified hostname..  Either this host does not "
                               "exist, or your DNS server is not responding.  Check the hostname and try again."},
    Entry{kStringCannotInitialise,
          "The networking connection could not be initialized.  Check that your WINSOCK.DLL is properly "
          "installed.  If you are using dial-up networking, be sure that your network connection is up."},
    Entry{kStringMalformedUrl, "The given URL is malformed."},
    Entry{kStringLookingUpHost, "Looking up host %s..."},
    Entry{kStringReplyHeaderTooLong, "The server's reply header is too long."},
    Entry{kStringNoAnswerInTime, "The server did not answer in time."},
    Entry{kStringClosedBeforeComplete, "The connection was closed before the reply was complete."},
    Entry{kStringTooManyRedirects, "Too many redirects."},
    Entry{kStringWriteFailed, "The received data could not be written to the file."},
    Entry{kStringTlsFailed, "The secure connection to the server failed: %s."},
    Entry{kStringCertificateRejected, "The server's certificate was not accepted: %s."},
    Entry{kStringTunnelRefused, "The proxy did not open a tunnel to the server: %s."},
    Entry{kStringTlsUnavailable, "Secure connections are not available: the system has no usable TLS library."},
    Entry{kStringTransferComplete, "Document transfer complete."},
    Entry{kStringConnecting, "Connecting to %s..."},
    Entry{kStringConnectedSending, "Connected to %s, sending request..."},
    Entry{kStringRequestSent, "Request sent to %s, waiting for reply..."},
    Entry{kStringBytesOfLengthReceived, "%ld of %ld bytes received (%ld%%)."},
    Entry{kStringBytesReceived, "%ld bytes received."},
};

// Replaces "%s" with the next text argument, "%ld" with the next number and "%%" with '%'.
std::string substitute(std::string_view pattern, std::string_view text, const std::int64_t* numbers,
                       std::size_t numberCount) {
    std::string out;
    std::size_t nextNumber = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("%%")) {
            out += '%';
            i += 1;
        } else if (rest.starts_with("%s")) {
            out += text;
            i += 1;
        } else if (rest.starts_with("%ld") && nextNumber < numberCount) {
            out += std::to_string(numbers[nextNumber++]);
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

std::string_view StringTable::text(int number) {
    for (const Entry& entry : kEntries) {
        if (entry.number == number) {
            return entry.text;
        }
    }
    return {};
}

std::string StringTable::withHost(int number, std::string_view host) {
    return substitute(text(number), host, nullptr, 0);
}

std::string StringTable::withReason(int number, std::string_view reason) {
    return substitute(text(number), reason, nullptr, 0);
}

std::string StringTable::bytesReceived(std::int64_t received) {
    const std::int64_t numbers[] = {received};
    return substitute(text(kStringBytesReceived), {}, numbers, 1);
}

std::string StringTable::bytesReceived(std::int64_t received, std::int64_t length, std::int64_t percent) {
    const std::int64_t numbers[] = {received, length, percent};
    return substitute(text(kStringBytesOfLengthReceived), {}, numbers, 3);
}

} // namespace corvida
