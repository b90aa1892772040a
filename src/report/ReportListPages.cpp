// SPDX-License-Identifier: MIT
#include "report/ReportListPages.h"

#include "report/ReportContext.h"

namespace corvida {

void ReportListPages::writeTestedDocuments(ReportContext&) {}
void ReportListPages::writeTestedPictures(ReportContext&) {}
void ReportListPages::writeTestedOtherMedia(ReportContext&) {}
void ReportListPages::writeBrokenLinks(ReportContext&) {}
void ReportListPages::writeDocumentsWithBrokenLinks(ReportContext&) {}
void ReportListPages::writeUntestedDocuments(ReportContext&) {}
void ReportListPages::writeUntestedPictures(ReportContext&) {}
void ReportListPages::writeUntestedOtherMedia(ReportContext&) {}
void ReportListPages::writeFtp(ReportContext&) {}
void ReportListPages::writeGopher(ReportContext&) {}
void ReportListPages::writeMail(ReportContext&) {}
void ReportListPages::writeStatistics(ReportContext&) {}

} // namespace corvida
