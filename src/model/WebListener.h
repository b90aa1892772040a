// SPDX-License-Identifier: MIT
#pragma once

// WebListener is how a Web reports what it does: phases, progress, nodes added, fetched,
// tested or failed, links that changed, and the state of each fetch slot. Every operation
// does nothing by default, so a listener overrides only what it shows. The project document
// implements it for the desktop program and for corvida-cli.
//
// Node references passed in stay owned by the Web and are valid for the Web's lifetime.

#include <string_view>

namespace corvida {

class WebNode;

class WebListener {
public:
    virtual ~WebListener() = default;

    // The owning Web is being destroyed.
    virtual void destroy() {}
    // A general status text; the crawl itself does not send these.
    virtual void showStatusText(std::string_view /*text*/) {}
    // The start of a phase ("Getting robots.txt file...", "Storing...", "Loading...").
    virtual void showText(std::string_view /*text*/) {}
    // The end of a phase ("Got robots.txt file", " FINISHED").
    virtual void endText(std::string_view /*text*/) {}
    // Progress of saving or loading, 0 to 100.
    virtual void progress(int /*percent*/) {}
    // A node got its level (isNew is true during a crawl) or was loaded (isNew false).
    // source is the page whose link reached it, or nullptr.
    virtual void nodeAdded(WebNode* /*node*/, bool /*isNew*/, WebNode* /*source*/) {}
    // A full fetch of node is about to start.
    virtual void fetchStarting(WebNode* /*node*/) {}
    // A fetched file was processed (mark true) or a node was loaded (mark false).
    virtual void nodeProcessed(WebNode* /*node*/, bool /*mark*/) {}
    // A test of node succeeded.
    virtual void nodeTested(WebNode* /*node*/, bool /*mark*/) {}
    // node holds the same bytes as the start page.
    virtual void aliasFound(WebNode* /*node*/) {}
    // A transfer for node begins in a fetch slot.
    virtual void slotStarted(WebNode* /*node*/, int /*slot*/) {}
    // The slot that worked on node is free again.
    virtual void slotFreed(WebNode* /*node*/, int /*slot*/) {}
    // The slot's connection shows a text.
    virtual void slotText(std::string_view /*text*/, int /*slot*/) {}
    // The slot's connection reports progress.
    virtual void slotProgress(int /*value*/, int /*slot*/) {}
    // The answer headers for the slot's node were handled.
    virtual void answerArrived(int /*status*/, std::string_view /*detail*/, int /*slot*/) {}
    // The slot's transfer is over.
    virtual void transferEnded(bool /*success*/, std::string_view /*text*/, int /*slot*/) {}
    // node's in-neighbour count changed.
    virtual void linksChanged(WebNode* /*node*/) {}
    // A node whose type was pending got its real kind.
    virtual void nodeReclassified(WebNode* /*node*/) {}
    // A request for node failed; the status was recorded.
    virtual void nodeFailed(WebNode* /*node*/, int /*status*/, std::string_view /*detail*/) {}
    // A Basic challenge for url names realm, for which nobody was asked yet. The nodes of
    // the realm wait until the crawl is given the credentials or told to skip the realm; this
    // call may give the answer at once. Without an answer the crawl does not complete.
    virtual void credentialsNeeded(std::string_view /*url*/, std::string_view /*realm*/) {}
};

} // namespace corvida
