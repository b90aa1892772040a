// SPDX-License-Identifier: MIT
#pragma once

// A ReportContext is the state of one report run that every page shares: the Web being
// described, the report order (every node by group number, URL order within a group), the
// groups that make up one link level, the report directory, and the files that could not
// be written. Pages stream their bytes into a PageFile and hand it to commit(); a failure is
// remembered and the run goes on, so one unwritable page does not cost the others.
//
// The context refers to the Web; the Web must outlive it and keep its nodes unchanged while
// the report runs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/ReportGroups.h"

namespace corvida {

class PageFile;
class Web;
class WebNode;

class ReportContext {
public:
    // A run over web that writes into directory (which ends with a separator). The report
    // order is made here from the nodes' current group numbers; groups tells which of them
    // share a link level (by default each group number is a level of its own).
    ReportContext(Web& web, std::string directory, ReportGroups groups = {});

    Web& web() const { return m_web; }
    // Every node of the Web, by group number ascending, in URL order within one group.
    const std::vector<WebNode*>& order() const { return m_order; }
    // The report directory, ending with '/'.
    const std::string& directory() const { return m_directory; }
    // What a list page rules by: the first group number of node's link level.
    std::int32_t rulerOf(const WebNode& node) const;

    // Commits page (PageFile::commit). Returns false when the page could not be written; the
    // failure is recorded in failures().
    bool commit(PageFile& page);
    // Writes bytes as the whole file fileName (a bare name such as "logo.gif") in the report
    // directory, replacing an earlier one, as commit() does.
    bool writeFile(std::string_view fileName, std::string_view bytes);

    // One "NAME: reason" text per file that could not be written, in the order tried.
    const std::vector<std::string>& failures() const { return m_failures; }

private:
    Web& m_web;
    std::string m_directory;
    ReportGroups m_groups;
    std::vector<WebNode*> m_order;
    std::vector<std::string> m_failures;
};

} // namespace corvida
