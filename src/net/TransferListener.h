// SPDX-License-Identifier: MIT
#pragma once

// A TransferListener hears what one HttpTransfer does: status texts while it works, the
// percentage of a body of known length, the reply headers once they have arrived, and one
// end report. The crawl's fetch slots implement it; so does `corvida-cli debug fetch`.
//
// Every call comes from the event loop's thread. The end report is the last call of a
// transfer. A listener may stop the transfer from inside any of these calls; the transfer then
// makes no further call. It must not destroy the transfer (or start the transfer's next
// request) from inside them: it keeps a finished or stopped transfer until the event loop
// runs again, or later.

#include <string_view>

#include "net/HttpEntityHeaders.h"
#include "net/HttpReplyHeaders.h"

namespace corvida {

class TransferListener {
public:
    virtual ~TransferListener() = default;

    // A status text for the user ("Connecting to host...", "250 bytes received.").
    virtual void statusText(std::string_view text) = 0;
    // Percentage of the body received, 0 to 100; only when its length is known.
    virtual void percent(int value) = 0;
    // The reply's status line and headers. The records are valid during the call only.
    virtual void headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                         const HttpEntityHeaders& entity) = 0;
    // The transfer is over: success, or the string number of the failure (StringTable) and
    // the system's error code (errno style, 0 when there is none).
    virtual void end(bool success, int stringNumber, int errorCode) = 0;
};

} // namespace corvida
