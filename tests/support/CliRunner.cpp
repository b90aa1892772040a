// SPDX-License-Identifier: MIT
#include "support/CliRunner.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida::test {

CliResult runCli(const QStringList& arguments) {
    // The person's own settings and projects never reach a test: each test program gives
    // corvida-cli a configuration and data home of its own.
    static const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(cliPath()), arguments);
    process.closeWriteChannel(); // no terminal, and nothing to read
    // The event loop runs meanwhile, so that a scripted server of the test's own answers.
    ScriptedServer::waitUntil([&] { return process.state() == QProcess::NotRunning; }, std::chrono::minutes(1));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace corvida::test
