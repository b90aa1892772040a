// SPDX-License-Identifier: MIT
// corvida: the desktop program. A second start hands its command line to the first and exits.

#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "gui/MainWindow.h"
#include "model/ImagingLibrary.h"
#include "model/MimeTable.h"
#include "platform/IniProfile.h"
#include "platform/QtImagingLibrary.h"
#include "platform/SystemFileAssociations.h"

namespace {

// With CORVIDA_TEST_EVENTS set, the program appends a line per opened project to that file,
// so that a test in another process can see what a second start handed over.
void logOpenedProjects(corvida::MainWindow& window) {
    const QString path = qEnvironmentVariable("CORVIDA_TEST_EVENTS");
    if (path.isEmpty()) {
        return;
    }
    QObject::connect(&window, &corvida::MainWindow::projectOpened, &window, [path](const QString& opened) {
        QFile log(path);
        if (log.open(QIODevice::Append | QIODevice::Text)) {
            log.write(QStringLiteral("opened %1\n").arg(opened).toUtf8());
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvida"));
    QApplication::setDesktopFileName(QStringLiteral("corvida"));

    const QStringList arguments = QApplication::arguments().mid(1);
    std::vector<std::string> texts;
    for (const QString& argument : arguments) {
        texts.push_back(argument.toStdString());
    }
    const std::string workingDirectory = QDir::currentPath().toStdString();

    corvida::SingleInstance instance;
    const corvida::Status handedOver =
        instance.sendToRunning(corvida::CommandLine::withAbsoluteFiles(texts, workingDirectory), workingDirectory);
    if (handedOver.isOk()) {
        return 0;
    }
    if (handedOver.code() == corvida::Status::Code::InvalidArgument) {
        std::fprintf(stderr, "corvida: %s\n", handedOver.message().c_str());
        return 2;
    }
    const bool listening = instance.listen();

    corvida::MimeTable::setAssociationSource(corvida::systemFileAssociations);
    corvida::QtImagingLibrary imaging;
    corvida::ImagingLibrary::install(&imaging);
    corvida::IniProfile profile(corvida::IniProfile::defaultConfigPath());
    corvida::MainWindow window(profile, corvida::IniProfile::defaultWorkingDirectory());
    logOpenedProjects(window);
    if (listening) {
        QObject::connect(&instance, &corvida::SingleInstance::messageReceived, &window,
                         [&window](const QStringList& handed, const QString& directory) {
                             window.runCommandLine(handed, directory, false);
                             window.bringToFront();
                         });
    }
    window.runCommandLine(arguments, QString::fromStdString(workingDirectory), true);
    window.showMaximized();
    const int status = QApplication::exec();
    corvida::ImagingLibrary::install(nullptr);
    return status;
}
