// SPDX-License-Identifier: MIT
#include "viewlogic/CommandState.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

using State = CTamsoDoc::State;

std::set<Command> enabledIn(const CommandContext& context) {
    std::set<Command> enabled;
    for (Command command : kAllCommands) {
        if (CommandState::of(command, context).enabled) {
            enabled.insert(command);
        }
    }
    return enabled;
}

std::set<Command> checkedIn(const CommandContext& context) {
    std::set<Command> checked;
    for (Command command : kAllCommands) {
        if (CommandState::of(command, context).checked) {
            checked.insert(command);
        }
    }
    return checked;
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

TEST(CommandStateTest, WithoutProjectOnlyApplicationCommandsAreEnabled) {
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

TEST(CommandStateTest, EveryCommandIsEnabledWhenItsConditionsHold) {
    // Suspended is the one state in which every project command applies.
    EXPECT_EQ(enabledIn(everythingReady(State::Suspended)).size(), kAllCommands.size());
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
        for (Command always : {Command::Close, Command::DeleteProject, Command::ProjectProperties, Command::NewWindow,
                               Command::Cascade, Command::Tile}) {
            EXPECT_TRUE(CommandState::of(always, context).enabled) << commandName(always);
        }
    }
}

TEST(CommandStateTest, OutputsAreViewedOnlyOnceMade) {
    CommandContext context = everythingReady(State::Complete);
    context.reportMade = false;
    EXPECT_FALSE(CommandState::of(Command::ViewReport, context).enabled);
    EXPECT_TRUE(CommandState::of(Command::ViewLocalSite, context).enabled);
    context.reportMade = true;
    context.localSiteMade = false;
    EXPECT_TRUE(CommandState::of(Command::ViewReport, context).enabled);
    EXPECT_FALSE(CommandState::of(Command::ViewLocalSite, context).enabled);
}

TEST(CommandStateTest, NodeCommandsNeedASelectedNodeAndEditNeedsTheEditor) {
    CommandContext context = everythingReady(State::Running);
    context.editorSet = false;
    context.propertiesVisible = true;
    EXPECT_EQ(CommandState::of(Command::UrlCopy, context), (CommandFlags{true, false}));
    EXPECT_EQ(CommandState::of(Command::UrlView, context), (CommandFlags{true, false}));
    EXPECT_EQ(CommandState::of(Command::UrlEdit, context), (CommandFlags{false, false}));
    EXPECT_EQ(CommandState::of(Command::UrlProperties, context), (CommandFlags{true, true}));
    // Without its window, Properties has nothing to show.
    context.propertiesReady = false;
    EXPECT_FALSE(CommandState::of(Command::UrlProperties, context).enabled);
    context.propertiesReady = true;
    EXPECT_FALSE(CommandState::of(Command::RunEditor, context).enabled);
    context.editorSet = true;
    EXPECT_TRUE(CommandState::of(Command::UrlEdit, context).enabled);
    EXPECT_TRUE(CommandState::of(Command::RunEditor, context).enabled);

    context.nodeSelected = false;
    for (Command command : {Command::UrlCopy, Command::UrlView, Command::UrlEdit, Command::UrlProperties}) {
        EXPECT_FALSE(CommandState::of(command, context).enabled) << commandName(command);
    }
}

TEST(CommandStateTest, BrowserCommandsFollowTheBrowserKindAndPendingRequest) {
    CommandContext context;
    for (BrowserKind kind : {BrowserKind::None, BrowserKind::NcsaMosaic, BrowserKind::NetscapeNavigator,
                             BrowserKind::InternetExplorer, BrowserKind::QuarterdeckMosaic}) {
        context.browserKind = kind;
        const bool expected = kind != BrowserKind::None;
        EXPECT_EQ(CommandState::of(Command::RunBrowser, context).enabled, expected);
        EXPECT_EQ(CommandState::of(Command::HomePage, context).enabled, expected);
        // The clipboard stands in for a browser that cannot be read.
        EXPECT_TRUE(CommandState::of(Command::StartFromBrowser, context).enabled);
    }
    context.browserRequestPending = true;
    EXPECT_FALSE(CommandState::of(Command::StartFromBrowser, context).enabled);
}

TEST(CommandStateTest, TheWindowsFilterSlotChecksOneFilterCommand) {
    const std::vector<Command> filters = {Command::FilterAll, Command::Filter1, Command::Filter2, Command::Filter3,
                                          Command::Filter4};
    CommandContext context = everythingReady(State::New);
    context.wavefrontReady = false;
    for (int slot = 0; slot < 5; ++slot) {
        context.filterSlot = slot;
        const std::set<Command> checked = checkedIn(context);
        EXPECT_EQ(checked, std::set<Command>{filters[static_cast<std::size_t>(slot)]}) << slot;
        for (Command filter : filters) {
            EXPECT_TRUE(CommandState::of(filter, context).enabled);
        }
    }
}

TEST(CommandStateTest, WavefrontCommandsWaitForTheWavefront) {
    const std::set<Command> viewCommands = {Command::ViewProperties, Command::ZoomIn,   Command::ZoomOut,
                                            Command::InLinks,        Command::OutLinks, Command::CenterOnNode};
    CommandContext context = everythingReady(State::Running);
    const std::set<Command> ready = enabledIn(context);
    context.wavefrontReady = false;
    const std::set<Command> building = enabledIn(context);
    std::set<Command> lost;
    for (Command command : ready) {
        if (!building.contains(command)) {
            lost.insert(command);
        }
    }
    EXPECT_EQ(lost, viewCommands);
}

TEST(CommandStateTest, ZoomStopsAtItsLimitsAndLinkCommandsShowTheMapsLines) {
    CommandContext context = everythingReady(State::Complete);
    const struct {
        int zoom;
        bool zoomIn;
        bool zoomOut;
    } cases[] = {{25, true, false}, {26, true, true}, {100, true, true}, {975, true, true}, {1000, false, true}};
    for (const auto& item : cases) {
        context.zoom = item.zoom;
        EXPECT_EQ(CommandState::of(Command::ZoomIn, context).enabled, item.zoomIn) << item.zoom;
        EXPECT_EQ(CommandState::of(Command::ZoomOut, context).enabled, item.zoomOut) << item.zoom;
    }
    context.inLinksShown = true;
    EXPECT_TRUE(CommandState::of(Command::InLinks, context).checked);
    EXPECT_FALSE(CommandState::of(Command::OutLinks, context).checked);
    context.outLinksShown = true;
    EXPECT_TRUE(CommandState::of(Command::OutLinks, context).checked);
    context.wavefrontReady = false;
    EXPECT_FALSE(CommandState::of(Command::InLinks, context).checked);
}

} // namespace
} // namespace corvida
