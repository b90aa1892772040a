// SPDX-License-Identifier: MIT
// corvida-cli: Corvida's headless front end.

#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/CliProgram.h"
#include "model/MimeTable.h"
#include "platform/SystemFileAssociations.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvida"));
    corvida::MimeTable::setAssociationSource(corvida::systemFileAssociations);
    // Arguments stay raw bytes: URLs and paths are 8-bit texts, whatever the locale.
    return corvida::runCliProgram(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
