// SPDX-License-Identifier: MIT
#pragma once

// Command names every command of the desktop program: the menus, toolbars and keys of the
// main window and its project windows all act through one of these. kCommandInfo holds, per
// command, the stable object name of its action and its status-bar prompt and tooltip.

#include <array>
#include <cstddef>
#include <string_view>

namespace corvida {

enum class Command {
    NewProject,
    StartFromBrowser,
    OpenSiteMap,
    Close,
    Save,
    SaveAs,
    DeleteProject,
    Exit,
    Resume,
    Suspend,
    MakeReport,
    MakeLocalSite,
    ViewReport,
    ViewLocalSite,
    ProjectProperties,
    UrlCopy,
    UrlView,
    UrlEdit,
    UrlProperties,
    Find,
    OutputFile,
    EditFilters,
    ShowFilters,
    Customize,
    CustomizeListUrl,
    RunBrowser,
    RunEditor,
    ViewProperties,
    ZoomIn,
    ZoomOut,
    InLinks,
    OutLinks,
    CenterOnNode,
    FilterAll,
    Filter1,
    Filter2,
    Filter3,
    Filter4,
    FilterSelection,
    NewWindow,
    Cascade,
    Tile,
    HelpTopics,
    ContextHelp,
    HomePage,
    About,
    NextPane,
    PreviousPane,
};

// What the program knows of a command apart from how the main window shows it: the object name
// of its action, the enumerator's name ("NewProject"), which tests and saved toolbar state find
// actions by; and its status-bar prompt, then "\n" and its tooltip where it has one (empty for a
// command without a prompt of its own). The prompts are fixed, odd spacing and the "/n" of
// Project Properties included.
struct CommandInfo {
    Command command;
    std::string_view name;
    std::string_view prompt;
};

// Every command, in declaration order.
inline constexpr std::array kCommandInfo = {
    CommandInfo{Command::NewProject, "NewProject", "Start a new project with a URL or File\nNew Project"},
    CommandInfo{Command::StartFromBrowser, "StartFromBrowser",
                "Start an analysis on the current page in the browser\nStart from Browser"},
    CommandInfo{Command::OpenSiteMap, "OpenSiteMap", ""},
    CommandInfo{Command::Close, "Close", ""},
    CommandInfo{Command::Save, "Save", ""},
    CommandInfo{Command::SaveAs, "SaveAs", ""},
    CommandInfo{Command::DeleteProject, "DeleteProject", ""},
    CommandInfo{Command::Exit, "Exit", ""},
    CommandInfo{Command::Resume, "Resume", "Resume or Start Processing\nResume"},
    CommandInfo{Command::Suspend, "Suspend", "Suspend Processing\nSuspend"},
    CommandInfo{Command::MakeReport, "MakeReport",
                "Generate an HTML report on this analysis (current project)\nMake Report"},
    CommandInfo{Command::MakeLocalSite, "MakeLocalSite", "Make a local copy of the current web site.\nMake Local Site"},
    CommandInfo{Command::ViewReport, "ViewReport", ""},
    CommandInfo{Command::ViewLocalSite, "ViewLocalSite", "View the web local site.\nView Local Site"},
    CommandInfo{Command::ProjectProperties, "ProjectProperties", "Show project properties/nProject Properties"},
    CommandInfo{Command::UrlCopy, "UrlCopy", ""},
    CommandInfo{Command::UrlView, "UrlView", ""},
    CommandInfo{Command::UrlEdit, "UrlEdit", ""},
    CommandInfo{Command::UrlProperties, "UrlProperties", ""},
    CommandInfo{Command::Find, "Find", ""},
    CommandInfo{Command::OutputFile, "OutputFile", ""},
    CommandInfo{Command::EditFilters, "EditFilters", ""},
    CommandInfo{Command::ShowFilters, "ShowFilters", ""},
    CommandInfo{Command::Customize, "Customize", "Customize the Application\nChange options"},
    CommandInfo{Command::CustomizeListUrl, "CustomizeListUrl", "Customize the  URL list\nCustomize list URL"},
    CommandInfo{Command::RunBrowser, "RunBrowser", "Run the application for browsing documents"},
    CommandInfo{Command::RunEditor, "RunEditor", "Run the application for editing documents"},
    CommandInfo{Command::ViewProperties, "ViewProperties", ""},
    CommandInfo{Command::ZoomIn, "ZoomIn", ""},
    CommandInfo{Command::ZoomOut, "ZoomOut", ""},
    CommandInfo{Command::InLinks, "InLinks", ""},
    CommandInfo{Command::OutLinks, "OutLinks", ""},
    CommandInfo{Command::CenterOnNode, "CenterOnNode", ""},
    CommandInfo{Command::FilterAll, "FilterAll", ""},
    CommandInfo{Command::Filter1, "Filter1", ""},
    CommandInfo{Command::Filter2, "Filter2", ""},
    CommandInfo{Command::Filter3, "Filter3", ""},
    CommandInfo{Command::Filter4, "Filter4", ""},
    CommandInfo{Command::FilterSelection, "FilterSelection", ""},
    CommandInfo{Command::NewWindow, "NewWindow", ""},
    CommandInfo{Command::Cascade, "Cascade", ""},
    CommandInfo{Command::Tile, "Tile", ""},
    CommandInfo{Command::HelpTopics, "HelpTopics", ""},
    CommandInfo{Command::ContextHelp, "ContextHelp", ""},
    CommandInfo{Command::HomePage, "HomePage", "Bring up the Quillmark web page."},
    CommandInfo{Command::About, "About", "Display program information, version number and copyright\nAbout Corvida"},
    CommandInfo{Command::NextPane, "NextPane", ""},
    CommandInfo{Command::PreviousPane, "PreviousPane", ""},
};

static_assert(
    [] {
        for (std::size_t index = 0; index < kCommandInfo.size(); ++index) {
            if (static_cast<std::size_t>(kCommandInfo[index].command) != index) {
                return false;
            }
        }
        return true;
    }(),
    "kCommandInfo lists the commands in declaration order");

// Every command, in declaration order.
inline constexpr auto kAllCommands = [] {
    std::array<Command, kCommandInfo.size()> commands{};
    for (std::size_t index = 0; index < commands.size(); ++index) {
        commands[index] = kCommandInfo[index].command;
    }
    return commands;
}();

// Returns the object name of command's action. The text is static.
constexpr std::string_view commandName(Command command) {
    return kCommandInfo[static_cast<std::size_t>(command)].name;
}

// Returns command's status-bar prompt and tooltip (see CommandInfo). The text is static.
constexpr std::string_view commandPrompt(Command command) {
    return kCommandInfo[static_cast<std::size_t>(command)].prompt;
}

} // namespace corvida
