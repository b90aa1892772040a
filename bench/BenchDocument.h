// SPDX-License-Identifier: MIT
#pragma once

// A project document's surroundings for benchmarks: a UI that shows nothing and answers OK,
// and transfers that never start.

#include <memory>
#include <string_view>

#include "doc/DocumentUi.h"
#include "net/TransferFactory.h"

namespace corvida::bench {

class SilentUi : public DocumentUi {
public:
    void setStatusText(std::string_view /*text*/) override {}
    void setProgress(int /*position*/) override {}
    void showMessage(std::string_view /*text*/, Icon /*icon*/) override {}
    bool askOkCancel(std::string_view /*question*/) override { return true; }
    void askCredentials(std::string_view, std::string_view) override {}
    void playSound(std::string_view /*name*/) override {}
    void openInBrowser(std::string_view /*url*/) override {}
    void beginWait() override {}
    void endWait() override {}
    void closeDocument() override {}
    void stateChanged() override {}
};

class NoTransfers : public TransferFactory {
public:
    std::unique_ptr<Transfer> create(int /*bufferSize*/) override { return nullptr; }
};

} // namespace corvida::bench
