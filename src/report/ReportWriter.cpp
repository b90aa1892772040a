// SPDX-License-Identifier: MIT
#include "report/ReportWriter.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "model/Web.h"
#include "model/WebNode.h"
#include "report/DuplicatesPage.h"
#include "report/HelpPage.h"
#include "report/OverviewPage.h"
#include "report/ProfilePages.h"
#include "report/ReportContext.h"
#include "report/ReportGroups.h"
#include "report/ReportListPages.h"
#include "report/ReportPictures.h"

namespace corvida {

namespace {

// One step of the run: the pages it writes and the progress shown after it.
struct Step {
    void (*write)(ReportContext&);
    int progress;
};

void writeOverviewAndHelp(ReportContext& context) {
    OverviewPage::write(context);
    HelpPage::write(context);
}

void writeBrokenLinkPages(ReportContext& context) {
    ReportListPages::writeBrokenLinks(context);
    ReportListPages::writeDocumentsWithBrokenLinks(context);
}

constexpr Step kSteps[] = {
    {writeOverviewAndHelp, 5},
    {ReportListPages::writeTestedDocuments, 10},
    {ReportListPages::writeTestedPictures, 15},
    {ReportListPages::writeTestedOtherMedia, 20},
    {writeBrokenLinkPages, 25},
    {ReportListPages::writeUntestedDocuments, 30},
    {ReportListPages::writeUntestedPictures, 35},
    {ReportListPages::writeUntestedOtherMedia, 40},
    {ProfilePages::writeDocumentProfiles, 55},
    {ProfilePages::writePictureProfiles, 70},
    {ProfilePages::writeOtherProfiles, 75},
    {DuplicatesPage::write, 85},
    {ReportListPages::writeFtp, 90},
    {ReportListPages::writeGopher, 95},
    {ReportListPages::writeMail, 100},
};

// The progress shown while the statistics page, the last one, is written.
constexpr int kStatisticsProgress = 95;

std::string workingDirectoryOf(const Web& web) {
    std::string directory = web.workingDirectory();
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

std::string endText(const std::vector<std::string>& failures) {
    if (failures.empty()) {
        return ReportWriter::kFinishedText;
    }
    std::string text = std::string(ReportWriter::kFinishedText) + ", but cannot write " + failures.front();
    if (failures.size() > 1) {
        text += " (and " + std::to_string(failures.size() - 1) + " more)";
    }
    return text;
}

} // namespace

Status ReportWriter::write(Web& web) {
    ReportGroups groups(web);
    groups.apply(web);

    const std::string reportDirectory = directory(web);
    // A project opened from a file may lack the sub-directory; make it, but only inside a
    // working directory that exists, so a stale path never grows new directories.
    std::error_code ignored;
    if (std::filesystem::is_directory(workingDirectoryOf(web), ignored)) {
        std::filesystem::create_directory(reportDirectory, ignored);
    }

    ReportContext context(web, reportDirectory, std::move(groups));
    ReportPictures::write(context);

    WebListener& listener = web.listener();
    listener.showText(kPhaseText);
    listener.progress(0);
    for (const Step& step : kSteps) {
        step.write(context);
        listener.progress(step.progress);
    }
    listener.progress(kStatisticsProgress);
    ReportListPages::writeStatistics(context);
    listener.progress(100);
    listener.endText(endText(context.failures()));

    std::string result;
    for (const std::string& failure : context.failures()) {
        result += "cannot write " + reportDirectory + failure + '\n';
    }
    if (result.empty()) {
        return Status::ok();
    }
    result.pop_back();
    return Status::ioError(result);
}

std::string ReportWriter::location(const Web& web) {
    return directory(web) + "overview.htm";
}

std::string ReportWriter::directory(const Web& web) {
    return workingDirectoryOf(web) + "report/";
}

const std::vector<std::string>& ReportWriter::fixedFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list = {"report/overview.htm", "report/usererpt.htm", "report/local.gif",
                                         "report/global.gif"};
        for (int n = 1; n <= ReportPictures::kSpacerCount; ++n) {
            list.push_back("report/space" + std::to_string(n) + ".gif");
        }
        for (const char* name :
             {"logo.gif", "site.gif", "newimage.gif", "p_oths.htm", "p_ftp.htm", "p_gopher.htm", "p_mail.htm",
              "p_stats.htm", "p_idocl.htm", "p_ipicl.htm", "p_iothl.htm", "p_sim.htm", "p_ulink.htm", "p_udlink.htm",
              "p_edocl.htm", "p_epicl.htm", "p_eothl.htm", "p_eukl.htm", "p_eupl.htm"}) {
            list.push_back(std::string("report/") + name);
        }
        return list;
    }();
    return names;
}

std::string ReportWriter::documentProfilePage(std::int32_t group) {
    return "report/docs" + std::to_string(group) + ".htm";
}

std::string ReportWriter::pictureProfilePage(std::int32_t group) {
    return "report/pics" + std::to_string(group) + ".htm";
}

} // namespace corvida
