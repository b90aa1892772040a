// SPDX-License-Identifier: MIT
#pragma once

// CommandState decides which commands of the desktop program are available and which show a
// check mark, from a snapshot of what the program holds: the active project window and its
// document, the browser and editor settings, and what is shown. The main window fills a
// CommandContext and asks for every action whenever one of these changes.

#include "app/BrowserKind.h"
#include "doc/CTamsoDoc.h"
#include "viewlogic/Command.h"

namespace corvida {

struct CommandContext {
    bool hasProject = false;                        // a project window is active
    CTamsoDoc::State state = CTamsoDoc::State::New; // its document's state
    bool reportMade = false;
    bool localSiteMade = false;
    bool nodeSelected = false;   // its window has a selected node
    int filterSlot = 0;          // its window's filter slot, 0..4
    bool wavefrontReady = false; // the window's Wavefront map exists
    int zoom = 100;              // the map's zoom in percent
    bool inLinksShown = false;   // the map draws the selected node's in-link lines
    bool outLinksShown = false;  // the map draws the selected node's out-link lines
    BrowserKind browserKind = BrowserKind::None;
    bool browserRequestPending = false; // Start from Browser is waiting for an answer
    bool editorSet = false;             // the editor program is set
    bool propertiesReady = false;       // the URL Properties window exists
    bool propertiesVisible = false;     // the URL Properties window is shown
    bool statusBarVisible = true;
};

struct CommandFlags {
    bool enabled = false;
    bool checked = false;

    bool operator==(const CommandFlags&) const = default;
};

class CommandState {
public:
    // Returns whether command is enabled and checked in context. Commands that act on a
    // project are disabled without one; a command that never shows a check mark is never
    // checked.
    static CommandFlags of(Command command, const CommandContext& context);
};

} // namespace corvida
