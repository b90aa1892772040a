// SPDX-License-Identifier: MIT
#pragma once

// A TransferListener for tests that records every report of one transfer; onText, onHeaders and
// onEnd run inside those reports, so a test can stop the transfer there.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/TransferListener.h"

namespace corvida::test {

struct TransferRecorder : TransferListener {
    std::vector<std::string> texts;
    int percents = 0;
    int headerCalls = 0;
    HttpEntityHeaders entity;
    int ends = 0;
    bool success = false;
    int stringNumber = -1;
    int code = -1;
    std::function<void()> onText;
    std::function<void()> onHeaders;
    std::function<void()> onEnd;

    void statusText(std::string_view text) override {
        texts.emplace_back(text);
        if (onText) {
            onText();
        }
    }
    void percent(int /*value*/) override { ++percents; }
    void headers(int /*statusCode*/, std::string_view /*reasonText*/, const HttpReplyHeaders& /*replyHeaders*/,
                 const HttpEntityHeaders& entityHeaders) override {
        ++headerCalls;
        entity = entityHeaders;
        if (onHeaders) {
            onHeaders();
        }
    }
    void end(bool ok, int number, int errorCode) override {
        ++ends;
        success = ok;
        stringNumber = number;
        code = errorCode;
        if (onEnd) {
            onEnd();
        }
    }
    bool saw(const std::string& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
};

} // namespace corvida::test
