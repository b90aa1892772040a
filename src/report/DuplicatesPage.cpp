// SPDX-License-Identifier: MIT
#include "report/DuplicatesPage.h"

#include "report/ReportContext.h"

namespace corvida {

void DuplicatesPage::write(ReportContext&) {}

} // namespace corvida
