// SPDX-License-Identifier: MIT
#pragma once

// A ReportContext is the state of one report run that every page shares: the Web being
// described, the report order (every node by group number, URL order within a group), the
// report directory, and the files that could not be written. Pages build their bytes in
// memory and hand each finished file to writeFile(); a failure is remembered and the run
// goes on, so one unwritable page does not cost the others.
//
// The context refers to the Web; the Web must outlive it and keep its nodes unchanged while
// the report runs.

#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class Web;
class WebNode;

class ReportContext {
public:
    // A run over web that writes into directory (which ends with a separator). The report
    // order is made here from the nodes' current group numbers.
    ReportContext(Web& web, std::string directory);

    Web& web() const { return m_web; }
    // Every node of the Web, by group number ascending, in URL order within one group.
    const std::vector<WebNode*>& order() const { return m_order; }
    // The report directory, ending with '/'.
    const std::string& directory() const { return m_directory; }

    // Writes bytes as the whole file fileName (a bare name such as "p_idocl.htm") in the
    // report directory, replacing an earlier one. Returns false when the file could not be
    // written; the failure is recorded in failures().
    bool writeFile(std::string_view fileName, std::string_view bytes);

    // One "NAME: reason" text per file that could not be written, in the order tried.
    const std::vector<std::string>& failures() const { return m_failures; }

private:
    Web& m_web;
    std::string m_directory;
    std::vector<WebNode*> m_order;
    std::vector<std::string> m_failures;
};

} // namespace corvida
