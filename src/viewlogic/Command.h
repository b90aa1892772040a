// SPDX-License-Identifier: MIT
#pragma once

// Command names every command of the desktop program: the menus, toolbars and keys of the
// main window and its project windows all act through one of these. commandName() gives the
// stable object name of the command's action (tests and saved toolbar state find actions by
// it), commandPrompt() the status-bar prompt and, after a "\n", the tooltip.

#include <array>
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

// Every command, in declaration order.
inline constexpr std::array kAllCommands = {
    Command::NewProject,
    Command::StartFromBrowser,
    Command::OpenSiteMap,
    Command::Close,
    Command::Save,
    Command::SaveAs,
    Command::DeleteProject,
    Command::Exit,
    Command::Resume,
    Command::Suspend,
    Command::MakeReport,
    Command::MakeLocalSite,
    Command::ViewReport,
    Command::ViewLocalSite,
    Command::ProjectProperties,
    Command::UrlCopy,
    Command::UrlView,
    Command::UrlEdit,
    Command::UrlProperties,
    Command::Find,
    Command::OutputFile,
    Command::EditFilters,
    Command::ShowFilters,
    Command::Customize,
    Command::CustomizeListUrl,
    Command::RunBrowser,
    Command::RunEditor,
    Command::ViewProperties,
    Command::ZoomIn,
    Command::ZoomOut,
    Command::InLinks,
    Command::OutLinks,
    Command::CenterOnNode,
    Command::FilterAll,
    Command::Filter1,
    Command::Filter2,
    Command::Filter3,
    Command::Filter4,
    Command::FilterSelection,
    Command::NewWindow,
    Command::Cascade,
    Command::Tile,
    Command::HelpTopics,
    Command::ContextHelp,
    Command::HomePage,
    Command::About,
    Command::NextPane,
    Command::PreviousPane,
};

// Returns the object name of command's action: the enumerator's name ("NewProject"). The
// text is static.
constexpr std::string_view commandName(Command command) {
    switch (command) {
    case Command::NewProject:
        return "NewProject";
    case Command::StartFromBrowser:
        return "StartFromBrowser";
    case Command::OpenSiteMap:
        return "OpenSiteMap";
    case Command::Close:
        return "Close";
    case Command::Save:
        return "Save";
    case Command::SaveAs:
        return "SaveAs";
    case Command::DeleteProject:
        return "DeleteProject";
    case Command::Exit:
        return "Exit";
    case Command::Resume:
        return "Resume";
    case Command::Suspend:
        return "Suspend";
    case Command::MakeReport:
        return "MakeReport";
    case Command::MakeLocalSite:
        return "MakeLocalSite";
    case Command::ViewReport:
        return "ViewReport";
    case Command::ViewLocalSite:
        return "ViewLocalSite";
    case Command::ProjectProperties:
        return "ProjectProperties";
    case Command::UrlCopy:
        return "UrlCopy";
    case Command::UrlView:
        return "UrlView";
    case Command::UrlEdit:
        return "UrlEdit";
    case Command::UrlProperties:
        return "UrlProperties";
    case Command::Find:
        return "Find";
    case Command::OutputFile:
        return "OutputFile";
    case Command::EditFilters:
        return "EditFilters";
    case Command::ShowFilters:
        return "ShowFilters";
    case Command::Customize:
        return "Customize";
    case Command::CustomizeListUrl:
        return "CustomizeListUrl";
    case Command::RunBrowser:
        return "RunBrowser";
    case Command::RunEditor:
        return "RunEditor";
    case Command::ViewProperties:
        return "ViewProperties";
    case Command::ZoomIn:
        return "ZoomIn";
    case Command::ZoomOut:
        return "ZoomOut";
    case Command::InLinks:
        return "InLinks";
    case Command::OutLinks:
        return "OutLinks";
    case Command::CenterOnNode:
        return "CenterOnNode";
    case Command::FilterAll:
        return "FilterAll";
    case Command::Filter1:
        return "Filter1";
    case Command::Filter2:
        return "Filter2";
    case Command::Filter3:
        return "Filter3";
    case Command::Filter4:
        return "Filter4";
    case Command::FilterSelection:
        return "FilterSelection";
    case Command::NewWindow:
        return "NewWindow";
    case Command::Cascade:
        return "Cascade";
    case Command::Tile:
        return "Tile";
    case Command::HelpTopics:
        return "HelpTopics";
    case Command::ContextHelp:
        return "ContextHelp";
    case Command::HomePage:
        return "HomePage";
    case Command::About:
        return "About";
    case Command::NextPane:
        return "NextPane";
    case Command::PreviousPane:
        return "PreviousPane";
    }
    return {};
}

// Returns command's status-bar prompt, then "\n" and its tooltip where it has one; empty for
// a command without a prompt of its own. The texts are fixed, odd spacing and the "/n" of
// Project Properties included. The text is static.
constexpr std::string_view commandPrompt(Command command) {
    switch (command) {
    case Command::NewProject:
        return "Start a new project with a URL or File\nNew Project";
    case Command::StartFromBrowser:
        return "Start an analysis on the current page in the browser\nStart from Browser";
    case Command::Resume:
        return "Resume or Start Processing\nResume";
    case Command::Suspend:
        return "Suspend Processing\nSuspend";
    case Command::MakeReport:
        return "Generate an HTML report on this analysis (current project)\nMake Report";
    case Command::MakeLocalSite:
        return "Make a local copy of the current web site.\nMake Local Site";
    case Command::ViewLocalSite:
        return "View the web local site.\nView Local Site";
    case Command::ProjectProperties:
        return "Show project properties/nProject Properties";
    case Command::RunBrowser:
        return "Run the application for browsing documents";
    case Command::RunEditor:
        return "Run the application for editing documents";
    case Command::HomePage:
        return "Bring up the Quillmark web page.";
    case Command::Customize:
        return "Customize the Application\nChange options";
    case Command::CustomizeListUrl:
        return "Customize the  URL list\nCustomize list URL";
    case Command::About:
        return "Display program information, version number and copyright\nAbout Corvida";
    default:
        return {};
    }
}

} // namespace corvida
