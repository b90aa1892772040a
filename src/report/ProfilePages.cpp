// SPDX-License-Identifier: MIT
#include "report/ProfilePages.h"

#include "report/ReportContext.h"

namespace corvida {

void ProfilePages::writeDocumentProfiles(ReportContext&) {}
void ProfilePages::writePictureProfiles(ReportContext&) {}
void ProfilePages::writeOtherProfiles(ReportContext&) {}
void ProfilePages::appendProfileBlock(std::string&, const WebNode&) {}
std::string ProfilePages::formatTime(std::int32_t) {
    return {};
}

} // namespace corvida
