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
    // Qt's own event loop instead of GLib's: a crawl turns socket notifiers on and off
    // several times per request, and GLib wakes its loop through a file descriptor for each
    // of them, which costs the crawl a tenth of its time. Nothing here needs GLib's loop, and
    // programs started from here get the environment as it was.
    const bool userChoseLoop = qEnvironmentVariableIsSet("QT_NO_GLIB");
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    if (!userChoseLoop) {
        qunsetenv("QT_NO_GLIB");
    }
    QCoreApplication::setApplicationName(QStringLiteral("Corvida"));
    corvida::MimeTable::setAssociationSource(corvida::systemFileAssociations);
    // Arguments stay raw bytes: URLs and paths are 8-bit texts, whatever the locale.
    return corvida::runCliProgram(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
