// SPDX-License-Identifier: MIT
#include "viewlogic/CommandState.h"

#include "viewlogic/WavefrontLayout.h"

namespace corvida {

namespace {

using State = CTamsoDoc::State;

// Filter commands in slot order: Show Everything is slot 0.
constexpr std::array kFilterCommands = {Command::FilterAll, Command::Filter1, Command::Filter2, Command::Filter3,
                                        Command::Filter4};

bool crawlStarted(State state) {
    return state == State::Started || state == State::Running || state == State::Suspended;
}

int filterSlotOf(Command command) {
    for (std::size_t slot = 0; slot < kFilterCommands.size(); ++slot) {
        if (kFilterCommands[slot] == command) {
            return static_cast<int>(slot);
        }
    }
    return -1;
}

} // namespace

CommandFlags CommandState::of(Command command, const CommandContext& context) {
    const bool project = context.hasProject;
    const State state = context.state;
    const bool node = project && context.nodeSelected;
    const bool wavefront = project && context.wavefrontReady;
    const bool browser = context.browserKind != BrowserKind::None;

    switch (command) {
    case Command::Resume:
        return {project && crawlStarted(state), project && (state == State::Started || state == State::Running)};
    case Command::Suspend:
        return {project && crawlStarted(state), project && state == State::Suspended};
    case Command::MakeReport:
    case Command::MakeLocalSite:
        return {project && (state == State::Suspended || state == State::Complete), false};
    case Command::ViewReport:
        return {project && context.reportMade, false};
    case Command::ViewLocalSite:
        return {project && context.localSiteMade, false};
    case Command::Save:
    case Command::SaveAs:
        // A running crawl changes the graph under the writer.
        return {project && state != State::Running, false};
    case Command::Close:
    case Command::DeleteProject:
    case Command::ProjectProperties:
    case Command::NewWindow:
    case Command::Cascade:
    case Command::Tile:
        return {project, false};
    case Command::UrlCopy:
    case Command::UrlView:
        return {node, false};
    case Command::UrlEdit:
        return {node && context.editorSet, false};
    case Command::UrlProperties:
        return {node && context.propertiesReady, context.propertiesVisible};
    case Command::RunEditor:
        return {context.editorSet, false};
    case Command::RunBrowser:
    case Command::HomePage:
        return {browser, false};
    case Command::StartFromBrowser:
        // Without a browser that can be read, the URL comes from the clipboard.
        return {!context.browserRequestPending, false};
    case Command::FilterAll:
    case Command::Filter1:
    case Command::Filter2:
    case Command::Filter3:
    case Command::Filter4:
        return {project, project && filterSlotOf(command) == context.filterSlot};
    case Command::Find:
    case Command::OutputFile:
        return {project, false};
    case Command::ZoomIn:
        return {wavefront && context.zoom < WavefrontLayout::kMaxZoom, false};
    case Command::ZoomOut:
        return {wavefront && context.zoom > WavefrontLayout::kMinZoom, false};
    case Command::InLinks:
        return {wavefront, wavefront && context.inLinksShown};
    case Command::OutLinks:
        return {wavefront, wavefront && context.outLinksShown};
    case Command::ViewProperties:
    case Command::CenterOnNode:
        return {wavefront, false};
    case Command::EditFilters:
    case Command::ShowFilters:
    case Command::FilterSelection:
    case Command::CustomizeListUrl:
    case Command::NewProject:
    case Command::OpenSiteMap:
    case Command::Exit:
    case Command::Customize:
    case Command::HelpTopics:
    case Command::ContextHelp:
    case Command::About:
    case Command::NextPane:
    case Command::PreviousPane:
        return {true, false};
    }
    return {};
}

} // namespace corvida
