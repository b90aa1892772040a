// SPDX-License-Identifier: MIT
#pragma once

// Shared by the view tests: a project document in a private working directory, with one
// window's master registered, a graph for nodes the document is told of, and nodes a test
// hands to views itself.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "model/CUrl.h"
#include "model/FilterSet.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/NetworkTransferFactory.h"
#include "support/QuietUi.h"
#include "views/MasterView.h"

namespace corvida::test {

struct ViewProject {
    ViewProject() {
        settings.workingDirectory = folder.path().toStdString() + "/";
        document.newDocument();
        document.addView(&master);
    }
    ~ViewProject() { document.removeView(&master); }

    // A numbered node of the test's own, in no graph.
    WebNode* node(const std::string& url, std::uint32_t flags, int level = 0, std::int32_t size = 0) {
        nodes.push_back(std::make_unique<WebNode>(CUrl(url)));
        nodes.back()->setFlags(flags);
        nodes.back()->setLevel(level);
        nodes.back()->setSize(size);
        nodes.back()->setNumber(static_cast<std::int32_t>(nodes.size()));
        return nodes.back().get();
    }

    QTemporaryDir folder;
    Settings settings;
    QuietUi ui;
    NetworkTransferFactory transfers;
    Web graph; // outlives the document, whose link tree refers to its nodes
    CTamsoDoc document{settings, ui, transfers, nullptr};
    FilterSet filters;
    MasterView master{document, filters};
    std::vector<std::unique_ptr<WebNode>> nodes;
};

} // namespace corvida::test
