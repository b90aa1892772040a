// SPDX-License-Identifier: MIT
#include "viewlogic/CommandState.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

using State = CTamsoDoc::State;

// The commands whose flag (enabled or checked) is set in context.
std::set<Command> commandsWith(bool CommandFlags::*flag, const CommandContext& context) {
    std::set<Command> commands;
    for (Command command : kAllCommands) {
        if (CommandState::of(command, context).*flag) {
            commands.insert(command);
        }
    }
    return commands;
}
std::set<Command> enabledIn(const CommandContext& context) {
    return commandsWith(&CommandFlags::enabled, context);
}
std::set<Command> checkedIn(const CommandContext& context) {
    return commandsWith(&CommandFlags::checked, context);
}

// A project window in state, with every other condition that enables commands met.
CommandContext everythingReady(State state) {
    CommandContext context;
    context.hasProject = true;
    context.state = state;
    context.reportMade = true;
    context.localSiteMade = true;
    context.nodeSelected = true;
    context.wavefrontReady = true;
    context.propertiesReady = true;
    context.browserKind = BrowserKind::NetscapeNavigator;
    context.editorSet = true;
    return context;
}

TEST(CommandStateTest, CommandListHoldsEveryCommandOnceWithItsOwnName) {
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < kAllCommands.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kAllCommands[i]), i);
        EXPECT_FALSE(commandName(kAllCommands[i]).empty());
        names.insert(commandName(kAllCommands[i]));
    }
    EXPECT_EQ(names.size(), kAllCommands.size());
    EXPECT_EQ(kAllCommands.back(), Command::PreviousPane);
    EXPECT_EQ(commandName(Command::CustomizeListUrl), "CustomizeListUrl");
    EXPECT_EQ(commandPrompt(Command::CustomizeListUrl), "Customize the  URL list\nCustomize list URL");
    EXPECT_EQ(commandPrompt(Command::ProjectProperties), "Show project properties/nProject Properties");
    EXPECT_TRUE(commandPrompt(Command::ViewReport).empty());
}

TEST(CommandStateTest, EverythingIsEnabledWhenReadyAndWithoutProjectOnlyApplicationCommands) {
    // Suspended is the one state in which every project command applies.
    EXPECT_EQ(enabledIn(everythingReady(State::Suspended)).size(), kAllCommands.size());
    // Leftovers of a closed window must not enable anything that needs one.
    CommandContext context = everythingReady(State::Suspended);
    context.hasProject = false;
    context.browserKind = BrowserKind::None;
    context.editorSet = false;
    const std::set<Command> expected = {
        Command::NewProject,      Command::StartFromBrowser, Command::OpenSiteMap, Command::Exit,
        Command::Customize,       Command::HelpTopics,       Command::ContextHelp, Command::About,
        Command::NextPane,        Command::PreviousPane,     Command::EditFilters, Command::ShowFilters,
        Command::FilterSelection, Command::CustomizeListUrl};
    EXPECT_EQ(enabledIn(context), expected);
    EXPECT_TRUE(checkedIn(context).empty());
}

TEST(CommandStateTest, ProjectCommandsFollowTheDocumentState) {
    struct Row {
        State state;
        CommandFlags resume, suspend;
        bool outputs, save;
    };
    const std::vector<Row> rows = {
        {State::New, {false, false}, {false, false}, false, true},
        {State::Started, {true, true}, {true, false}, false, true},
        {State::Running, {true, true}, {true, false}, false, false},
        {State::Suspended, {true, false}, {true, true}, true, true},
        {State::Complete, {false, false}, {false, false}, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.state));
        CommandContext context = everythingReady(row.state);
        EXPECT_EQ(CommandState::of(Command::Resume, context), row.resume);
        EXPECT_EQ(CommandState::of(Command::Suspend, context), row.suspend);
        EXPECT_EQ(CommandState::of(Command::MakeReport, context).enabled, row.outputs);
        EXPECT_EQ(CommandState::of(Command::MakeLocalSite, context).enabled, row.outputs);
        EXPECT_EQ(CommandState::of(Command::Save, context).enabled, row.save);
        EXPECT_EQ(CommandState::of(Command::SaveAs, context).enabled, row.save);
        for (Command always :
             {Command::Close, Command::DeleteProject, Command::ProjectProperties, Command::NewWindow, Command::Cascade,
              Command::Tile, Command::Find, Command::OutputFile, Command::FilterAll, Command::Filter4}) {
            EXPECT_TRUE(CommandState::of(always, context).enabled) << commandName(always);
        }
    }
}

// Each condition of a ready project window, taken away alone, disables exactly its commands.
TEST(CommandStateTest, EachConditionEnablesItsOwnCommands) {
    struct Row {
        const char* condition;
        std::function<void(CommandContext&)> takeAway;
        std::set<Command> disabled;
    };
    const Row rows[] = {
        {"selected node",
         [](CommandContext& c) { c.nodeSelected = false; },
         {Command::UrlCopy, Command::UrlView, Command::UrlEdit, Command::UrlProperties}},
        {"editor", [](CommandContext& c) { c.editorSet = false; }, {Command::UrlEdit, Command::RunEditor}},
        // Without its window, Properties has nothing to show.
        {"properties window", [](CommandContext& c) { c.propertiesReady = false; }, {Command::UrlProperties}},
        {"wavefront",
         [](CommandContext& c) { c.wavefrontReady = false; },
         {Command::ViewProperties, Command::ZoomIn, Command::ZoomOut, Command::InLinks, Command::OutLinks,
          Command::CenterOnNode}},
        {"report", [](CommandContext& c) { c.reportMade = false; }, {Command::ViewReport}},
        {"local site", [](CommandContext& c) { c.localSiteMade = false; }, {Command::ViewLocalSite}},
        {"browser",
         [](CommandContext& c) { c.browserKind = BrowserKind::None; },
         {Command::RunBrowser, Command::HomePage}},
        {"another browser", [](CommandContext& c) { c.browserKind = BrowserKind::QuarterdeckMosaic; }, {}},
        // The clipboard stands in for a browser that cannot be read, unless a request waits.
        {"no pending request", [](CommandContext& c) { c.browserRequestPending = true; }, {Command::StartFromBrowser}},
        {"zoom above the least", [](CommandContext& c) { c.zoom = 25; }, {Command::ZoomOut}},
        {"zoom below the most", [](CommandContext& c) { c.zoom = 1000; }, {Command::ZoomIn}},
        {"zoom a step from the limits", [](CommandContext& c) { c.zoom = 26; }, {}},
        {"zoom a step from the limits", [](CommandContext& c) { c.zoom = 975; }, {}},
    };
    const std::set<Command> all = enabledIn(everythingReady(State::Suspended));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.condition);
        CommandContext context = everythingReady(State::Suspended);
        row.takeAway(context);
        const std::set<Command> enabled = enabledIn(context);
        std::set<Command> lost;
        std::ranges::set_difference(all, enabled, std::inserter(lost, lost.end()));
        EXPECT_EQ(lost, row.disabled);
    }
}

TEST(CommandStateTest, CheckMarksShowTheFilterSlotTheMapsLinesAndTheShownProperties) {
    const std::vector<Command> filters = {Command::FilterAll, Command::Filter1, Command::Filter2, Command::Filter3,
                                          Command::Filter4};
    CommandContext context = everythingReady(State::New);
    context.wavefrontReady = false;
    for (int slot = 0; slot < 5; ++slot) {
        context.filterSlot = slot;
        EXPECT_EQ(checkedIn(context), std::set<Command>{filters[static_cast<std::size_t>(slot)]}) << slot;
    }
    context.filterSlot = 0;
    context.propertiesVisible = true;
    EXPECT_TRUE(CommandState::of(Command::UrlProperties, context).checked);
    context.inLinksShown = context.outLinksShown = true;
    EXPECT_FALSE(CommandState::of(Command::InLinks, context).checked); // no map, no lines
    context.wavefrontReady = true;
    context.outLinksShown = false;
    EXPECT_TRUE(CommandState::of(Command::InLinks, context).checked);
    EXPECT_FALSE(CommandState::of(Command::OutLinks, context).checked);
    context.outLinksShown = true;
    EXPECT_TRUE(CommandState::of(Command::OutLinks, context).checked);
}

} // namespace
} // namespace corvida
