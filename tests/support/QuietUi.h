// SPDX-License-Identifier: MIT
#pragma once

// QuietUi is a project document's UI that shows nothing and answers every question with OK,
// for tests that drive a document without a front end.

#include <string_view>

#include "doc/DocumentUi.h"

namespace corvida {

class QuietUi : public DocumentUi {
public:
    void setStatusText(std::string_view) override {}
    void setProgress(int) override {}
    void showMessage(std::string_view, Icon) override {}
    bool askOkCancel(std::string_view) override { return true; }
    void askCredentials(std::string_view, std::string_view) override {}
    void playSound(std::string_view) override {}
    void openInBrowser(std::string_view) override {}
    void beginWait() override {}
    void endWait() override {}
    void closeDocument() override {}
    void stateChanged() override {}
};

} // namespace corvida
